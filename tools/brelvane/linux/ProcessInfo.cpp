#include "tools/brelvane/ProcessInfo.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <climits>

namespace brel::cmd {
namespace {

volatile sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

}  // namespace

std::string ExecutableDirectory() {
  char path[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return std::string();
  std::string exe(path, static_cast<std::size_t>(n));
  std::string::size_type slash = exe.find_last_of('/');
  return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

double MonotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // A closed terminal or ssh session (SIGHUP) and Ctrl-\ (SIGQUIT) stop a render as Ctrl-C does,
  // so its temporary files are removed rather than left behind.
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) ::sigaction(sig, &action, nullptr);
}

bool InterruptRequested() { return g_interrupted != 0; }

}  // namespace brel::cmd
