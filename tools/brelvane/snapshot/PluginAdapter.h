#pragma once
// The plug-in without a host, for pictures of its editor: the core with nothing to tell.

#include "core/IPlugBase.h"

struct SnapshotInstanceInfo {};

class SnapshotAdapter : public IPlugBase {
public:
  SnapshotAdapter(const SnapshotInstanceInfo&, int nParams, const char* channelIOStr, int nPresets,
                  const char* effectName, const char* productName, const char* makerName,
                  std::int32_t versionWord, std::int32_t uniqueId, std::int32_t makerId)
      : IPlugBase(nParams, nPresets, channelIOStr, effectName, productName, makerName, versionWord, uniqueId,
                  makerId, ApiId::Vst2) {
    SetInputConnections(NInChannels());
    SetOutputConnections(NOutChannels());
    SetMaxBlockSize(kBlock);
  }
  static constexpr int kBlock = 64;
};

using PluginAdapter = SnapshotAdapter;
using PluginInstanceInfo = SnapshotInstanceInfo;

PluginAdapter* MakePlug(const PluginInstanceInfo& instanceInfo);
