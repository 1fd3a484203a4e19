#pragma once
// What the command needs to know about its own process: where its executable lies, whether
// stderr is a terminal, and whether the user asked it to stop (Ctrl-C).
#include <string>

namespace brel::cmd {

std::string ExecutableDirectory();  // empty when unknown
bool StderrIsTerminal();
double MonotonicSeconds();

// After this, SIGINT, SIGTERM, SIGHUP and SIGQUIT only raise a flag that `interruptRequested` reports, so a
// render can stop cleanly and remove its temporary files.
void InstallInterruptHandler();
bool InterruptRequested();

}  // namespace brel::cmd
