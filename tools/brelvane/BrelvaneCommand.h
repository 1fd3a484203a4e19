#pragma once
// The brelvane command as a function of its arguments and its surroundings, so that everything
// but the process itself can be exercised in tests (with a fake plug-in and a fake clock).
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tools/brelvane/PluginPort.h"

namespace brel::cmd {

constexpr int kExitOk = 0;
constexpr int kExitError = 2;
constexpr int kExitInterrupted = 130;

struct CommandLine;

struct CommandEnv {
  std::function<std::unique_ptr<PluginPort>(const std::string& path, std::string& error)> loadPlugin;
  // `snapshot` builds the plug-in in-process, which only the program itself links.
  std::function<int(const CommandLine& commandLine, std::ostream& out, std::ostream& err)> runSnapshot;
  std::string executableDir;  // where the default plug-in is looked for
  std::string homeDir;        // and the user's own plug-in folders
  bool terminal = false;      // stderr is a terminal: show progress
  std::function<double()> clock;
  std::function<bool()> interrupted;
};

// Prints `message` as the command's error: "brelvane: " and one line, whatever text a library
// handed up (its lines joined with "; "). Every error of every command is printed here.
// Returns kExitError.
int ReportError(std::ostream& err, const std::string& message);

// Runs `brelvane ARGS...` (ARGS without the program name). Results go to `out`; errors, one
// line each, and progress to `err`. Returns the exit status.
int RunBrelvane(const std::vector<std::string>& args, const CommandEnv& env, std::ostream& out,
                std::ostream& err);

}  // namespace brel::cmd
