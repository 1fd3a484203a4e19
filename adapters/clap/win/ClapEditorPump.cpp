// On Windows the editor's window timer runs on the window's own thread: the host's timers and
// descriptors are not needed.
#include "adapters/clap/ClapEditorPump.h"

#include "core/IEditor.h"

const char* ClapEditorPump::WindowApi() { return CLAP_WINDOW_API_WIN32; }

void* ClapEditorPump::ParentOf(const clap_window_t& window) { return window.win32; }

void ClapEditorPump::BindHost(const clap_host_t* host) { mHost = host; }

bool ClapEditorPump::CanRun(const IEditor& editor) const {
  return editor.IdlePeriodMs() <= 0 && editor.EventFd() < 0;
}

bool ClapEditorPump::Start(IEditor& editor) { return CanRun(editor); }

void ClapEditorPump::Stop() {}

void ClapEditorPump::OnTimer(clap_id) {}

void ClapEditorPump::OnFd(int) {}
