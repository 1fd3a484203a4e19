#pragma once
// `brelvane snapshot OUT.png [--param NAME=VALUE]... [--meters PRES,FINAL]`: a picture of the
// editor as the plug-in builds it, with the given parameter values and meter levels.
#include <ostream>

#include "tools/brelvane/CommandLine.h"

namespace brel::cmd {

// A parsed `snapshot` command line. Returns the process exit code.
int RunSnapshot(const CommandLine& request, std::ostream& out, std::ostream& err);

}  // namespace brel::cmd
