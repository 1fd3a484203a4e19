#include "tests/support/linux/PrivateXServer.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace brel::testing {
namespace {

constexpr int kStartTimeoutMs = 10000;

// Reads Xvfb's display number, written to the pipe once the server accepts connections.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  for (;;) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, kStartTimeoutMs) <= 0) return {};
    char c = 0;
    const ssize_t got = read(fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') return number;
    number += c;
  }
}

}  // namespace

PrivateXServer& PrivateXServer::Shared() {
  static PrivateXServer server;
  return server;
}

PrivateXServer::PrivateXServer() { Start(); }

void PrivateXServer::Start() {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    mProblem = std::string("pipe: ") + std::strerror(errno);
    return;
  }
  const std::string fdText = std::to_string(pipeFds[1]);
  mPid = fork();
  if (mPid < 0) {
    mProblem = std::string("fork: ") + std::strerror(errno);
    close(pipeFds[0]);
    close(pipeFds[1]);
    return;
  }
  if (mPid == 0) {
    close(pipeFds[0]);
    // Xvfb's own chatter (font paths, extensions) is noise in a test log. Without -noreset it
    // resets whenever its last client leaves, and drops a connection made meanwhile: a test that
    // opens its first window just after the last one closed would find no server.
    if (FILE* devNull = std::freopen("/dev/null", "w", stderr)) (void)devNull;
    // The screen holds an editor at three times its size (2712 x 1248).
    execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-noreset", "-screen", "0", "2800x1600x24",
           "-nolisten", "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  const std::string number = ReadDisplayNumber(pipeFds[0]);
  close(pipeFds[0]);
  if (number.empty()) {
    int status = 0;
    const bool ended = waitpid(mPid, &status, WNOHANG) == mPid;
    mProblem = ended && WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "Xvfb is not installed"
                                                                        : "Xvfb gave no display";
    if (!ended) kill(mPid, SIGKILL), waitpid(mPid, &status, 0);
    mPid = -1;
    return;
  }
  mDisplay = ":" + number;
  setenv("DISPLAY", mDisplay.c_str(), 1);
}

PrivateXServer::~PrivateXServer() {
  if (mPid <= 0) return;
  kill(mPid, SIGTERM);
  int status = 0;
  waitpid(mPid, &status, 0);
}

}  // namespace brel::testing
