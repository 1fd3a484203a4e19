// The brelvane command: renders audio files through the plug-in, lists its parameters and draws
// its editor.
#include <cstdlib>
#include <exception>
#include <iostream>

#include "tools/brelvane/BrelvaneCommand.h"
#include "tools/brelvane/ProcessInfo.h"
#include "tools/brelvane/PluginLoader.h"
#include "tools/brelvane/Snapshot.h"

int main(int argc, char** argv) {
  using namespace brel::cmd;
  std::vector<std::string> args(argv + 1, argv + argc);
  InstallInterruptHandler();
  CommandEnv env;
  env.loadPlugin = LoadPlugin;
  env.runSnapshot = RunSnapshot;
  env.executableDir = ExecutableDirectory();
  if (const char* home = std::getenv("HOME")) env.homeDir = home;
  env.terminal = StderrIsTerminal();
  env.clock = MonotonicSeconds;
  env.interrupted = InterruptRequested;
  // Whatever goes wrong underneath (a library refusing memory, a file that cannot be read as
  // expected) ends in one line and the error status, never in an abort with a core dump.
  try {
    return RunBrelvane(args, env, std::cout, std::cerr);
  } catch (const std::exception& e) {
    return ReportError(std::cerr, e.what());
  } catch (...) {
    return ReportError(std::cerr, "unexpected failure");
  }
}
