#pragma once
// One `brelvane render`: checks everything it can before touching the plug-in, drives the
// plug-in through the host sequence, and puts the output (and state) in place only on success.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tools/brelvane/AudioFileReader.h"
#include "tools/brelvane/BrelvaneCommand.h"
#include "tools/brelvane/ChangeSchedule.h"
#include "tools/brelvane/CommandLine.h"
#include "tools/brelvane/ParamTable.h"
#include "tools/brelvane/PendingFile.h"
#include "tools/brelvane/RenderSummary.h"

namespace brel::cmd {

class RenderJob {
public:
  RenderJob(const CommandLine& commandLine, const CommandEnv& env, std::ostream& out, std::ostream& err);
  int Run();

private:
  bool PrepareFiles();
  bool PreparePlugin();
  bool CheckDistinctFiles();
  bool ResolveSettings();
  bool CheckStateShape();
  bool ConfigurePlugin();
  void FindDelay();
  bool Render();
  bool SaveState();
  bool Finish();
  bool Fail(const std::string& message);

  const CommandLine& mCl;
  const CommandEnv& mEnv;
  std::ostream& mOut;
  std::ostream& mErr;

  AudioFileReader mReader;
  int mOutputFormat = 0;
  std::vector<std::uint8_t> mLoadedState;
  PendingFile mOutput;
  PendingFile mState;
  std::unique_ptr<PluginPort> mPort;
  bool mOpened = false;
  ParamTable mTable;
  std::vector<ParamSetting> mSettings;
  int mDelay = -1;  // the processed signal's delay in frames; -1 when the plug-in does not tell
  bool mPowerOn = true;
  std::vector<ScheduledChange> mChanges;
  RenderSummary mSummary;
  std::uint64_t mClipped = 0;
  std::string mError;
  bool mInterrupted = false;
};

}  // namespace brel::cmd
