// On Linux the editor's X11 window is driven by the host: a timer at the editor's frame period
// and, where the host watches descriptors, the editor's X connection both call its Idle. Without
// descriptor support the timer alone drains the connection, since Idle does both.
#include "adapters/clap/ClapEditorPump.h"

#include <cstdint>

#include "core/IEditor.h"

namespace {

// A window with events but no frame period still needs its events drained.
constexpr int kDrainPeriodMs = 40;

template <class Extension>
const Extension* HostExtension(const clap_host_t* host, const char* id) {
  if (!host || !host->get_extension) return nullptr;
  return static_cast<const Extension*>(host->get_extension(host, id));
}

}  // namespace

const char* ClapEditorPump::WindowApi() { return CLAP_WINDOW_API_X11; }

// The window id travels in the pointer, as the editor takes it from every format.
void* ClapEditorPump::ParentOf(const clap_window_t& window) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.x11));
}

void ClapEditorPump::BindHost(const clap_host_t* host) {
  mHost = host;
  const auto* timers = HostExtension<clap_host_timer_support_t>(host, CLAP_EXT_TIMER_SUPPORT);
  mTimers = timers && timers->register_timer && timers->unregister_timer ? timers : nullptr;
  const auto* fds = HostExtension<clap_host_posix_fd_support_t>(host, CLAP_EXT_POSIX_FD_SUPPORT);
  mFds = fds && fds->register_fd && fds->unregister_fd ? fds : nullptr;
}

bool ClapEditorPump::CanRun(const IEditor& editor) const {
  if (editor.IdlePeriodMs() <= 0 && editor.EventFd() < 0) return true;  // nothing to drive
  return mTimers != nullptr;
}

bool ClapEditorPump::Start(IEditor& editor) {
  Stop();
  const int fd = editor.EventFd();
  const int period = editor.IdlePeriodMs();
  if (fd < 0 && period <= 0) return true;
  if (!mTimers) return false;
  clap_id timer = CLAP_INVALID_ID;
  const auto ms = static_cast<std::uint32_t>(period > 0 ? period : kDrainPeriodMs);
  if (!mTimers->register_timer(mHost, ms, &timer) || timer == CLAP_INVALID_ID) return false;
  mEditor = &editor;
  mTimer = timer;
  // A host that will not watch the descriptor leaves the timer to drain it.
  if (fd >= 0 && mFds && mFds->register_fd(mHost, fd, CLAP_POSIX_FD_READ)) mFd = fd;
  return true;
}

void ClapEditorPump::Stop() {
  if (!mEditor) return;
  if (mFd >= 0) mFds->unregister_fd(mHost, mFd);
  if (mTimer != CLAP_INVALID_ID) mTimers->unregister_timer(mHost, mTimer);
  mFd = -1;
  mTimer = CLAP_INVALID_ID;
  mEditor = nullptr;
}

void ClapEditorPump::OnTimer(clap_id timerId) {
  if (mEditor && timerId == mTimer) mEditor->Idle();
}

void ClapEditorPump::OnFd(int fd) {
  if (mEditor && fd >= 0 && fd == mFd) mEditor->Idle();
}
