#pragma once
// What the command says about itself: `brelvane help`, a command's own help, `--version`, and
// the manual page, all read from the one table of commands and options (CommandTable.h).
#include <string>

#include "tools/brelvane/CommandLine.h"

namespace brel::cmd {

// `brelvane help`: every command, then every command's options.
std::string UsageText();
// `brelvane help COMMAND`, `brelvane COMMAND --help`.
std::string CommandHelp(Command command);
// `brelvane --version`: the release, its maker and the plug-in interfaces it hosts.
std::string VersionText();
// brelvane.1, in the man macros.
std::string ManPage();

}  // namespace brel::cmd
