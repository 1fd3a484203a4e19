#pragma once
// `brelvane snapshot OUT.png [--param NAME=VALUE]... [--meters PRES,FINAL]`: a picture of the
// editor as the plug-in builds it, with the given parameter values and meter levels.
#include <ostream>
#include <string>
#include <vector>

namespace brel::cmd {

// args start after "snapshot". Returns the process exit code.
int RunSnapshot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace brel::cmd
