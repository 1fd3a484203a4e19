#pragma once
// A host-less adapter for testing the plug-in class on its own: the plug-in core with the
// module-specific parts left neutral, and a record of what the plug-in tells its host.

#include <vector>

#include "core/IPlugBase.h"

struct TestInstanceInfo {};

class TestAdapter : public IPlugBase {
public:
  TestAdapter(const TestInstanceInfo&, int nParams, const char* channelIOStr, int nPresets,
              const char* effectName, const char* productName, const char* makerName,
              std::int32_t versionWord, std::int32_t uniqueId, std::int32_t makerId)
      : IPlugBase(nParams, nPresets, channelIOStr, effectName, productName, makerName, versionWord, uniqueId,
                  makerId, ApiId::Vst2) {
    SetInputConnections(NInChannels());
    SetOutputConnections(NOutChannels());
    SetMaxBlockSize(1024);
  }

  void NotifyHostParamChange(int paramIndex, double normalized) override {
    hostChanges.push_back({paramIndex, normalized});
  }

  struct HostChange {
    int index;
    double normalized;
  };
  std::vector<HostChange> hostChanges;
};

using PluginAdapter = TestAdapter;
using PluginInstanceInfo = TestInstanceInfo;

PluginAdapter* MakePlug(const PluginInstanceInfo& instanceInfo);
