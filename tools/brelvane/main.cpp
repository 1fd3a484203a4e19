// The brelvane command: renders audio files through the plug-in and lists its parameters.
#include <iostream>

#include "tools/brelvane/BrelvaneCommand.h"
#include "tools/brelvane/ProcessInfo.h"
#include "tools/brelvane/VstPluginPort.h"

int main(int argc, char** argv) {
  using namespace brel::cmd;
  std::vector<std::string> args(argv + 1, argv + argc);
  installInterruptHandler();
  CommandEnv env;
  env.loadPlugin = loadVstPlugin;
  env.executableDir = executableDirectory();
  env.terminal = stderrIsTerminal();
  env.clock = monotonicSeconds;
  env.interrupted = interruptRequested;
  return runBrelvane(args, env, std::cout, std::cerr);
}
