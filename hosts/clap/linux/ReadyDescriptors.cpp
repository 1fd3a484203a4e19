// On Linux the host's loop polls the descriptors a plug-in registered.
#include <poll.h>

#include "hosts/clap/ClapHostServices.h"

namespace brel {

std::vector<ClapHost::FdWatch> ReadyDescriptors(const std::vector<ClapHost::FdWatch>& watches, int waitMs) {
  std::vector<pollfd> polled;
  for (const ClapHost::FdWatch& watch : watches) {
    short events = 0;
    if (watch.flags & CLAP_POSIX_FD_READ) events |= POLLIN;
    if (watch.flags & CLAP_POSIX_FD_WRITE) events |= POLLOUT;
    polled.push_back({watch.fd, events, 0});
  }
  std::vector<ClapHost::FdWatch> ready;
  // With nothing watched the step still lasts waitMs: a plug-in driven by its timers alone is
  // given the time its X events need to arrive, not a loop that spins through its steps.
  if (::poll(polled.data(), polled.size(), waitMs) <= 0) return ready;
  for (const pollfd& p : polled) {
    clap_posix_fd_flags_t flags = 0;
    if (p.revents & POLLIN) flags |= CLAP_POSIX_FD_READ;
    if (p.revents & POLLOUT) flags |= CLAP_POSIX_FD_WRITE;
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) flags |= CLAP_POSIX_FD_ERROR;
    if (flags) ready.push_back({p.fd, flags});
  }
  return ready;
}

}  // namespace brel
