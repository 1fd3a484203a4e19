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
#include "tools/brelvane/PendingFile.h"
#include "tools/brelvane/RenderSummary.h"

namespace brel::cmd {

class RenderJob {
public:
  RenderJob(const CommandLine& commandLine, const CommandEnv& env, std::ostream& out, std::ostream& err);
  int run();

private:
  bool prepareFiles();
  bool preparePlugin();
  bool resolveSettings();
  bool configurePlugin();
  bool render();
  bool saveState();
  bool finish();
  bool fail(const std::string& message);

  const CommandLine& cl_;
  const CommandEnv& env_;
  std::ostream& out_;
  std::ostream& err_;

  AudioFileReader reader_;
  int outputFormat_ = 0;
  std::vector<std::uint8_t> loadedState_;
  PendingFile output_;
  PendingFile state_;
  std::unique_ptr<PluginPort> port_;
  bool opened_ = false;
  std::vector<ParamSetting> settings_;
  std::vector<ScheduledChange> changes_;
  RenderSummary summary_;
  std::uint64_t clipped_ = 0;
  std::string error_;
  bool interrupted_ = false;
};

}  // namespace brel::cmd
