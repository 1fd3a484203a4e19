// The brelvane command: renders audio files through the plug-in and lists its parameters.
#include <iostream>

#include "tools/brelvane/BrelvaneCommand.h"
#include "tools/brelvane/ProcessInfo.h"
#include "tools/brelvane/PluginLoader.h"
#include "tools/brelvane/Snapshot.h"

int main(int argc, char** argv) {
  using namespace brel::cmd;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "snapshot")
    return RunSnapshot({args.begin() + 1, args.end()}, std::cout, std::cerr);
  InstallInterruptHandler();
  CommandEnv env;
  env.loadPlugin = LoadPlugin;
  env.executableDir = ExecutableDirectory();
  env.terminal = StderrIsTerminal();
  env.clock = MonotonicSeconds;
  env.interrupted = InterruptRequested;
  return RunBrelvane(args, env, std::cout, std::cerr);
}
