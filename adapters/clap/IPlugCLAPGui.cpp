// IPlugCLAP: the editor embedded in the host's window, of the editor's fixed size at the host's
// scale (CLAP's X11 and Win32 sizes are the platform's pixels), and the
// host's timer and descriptor calls that keep it going where the window system needs them
// (ClapEditorPump). One editor window per instance; everything here runs on the main thread.

#include <cmath>
#include <cstring>

#include "adapters/clap/ClapAbi.h"

namespace {

bool IsEditorsApi(const char* api) { return api && std::strcmp(api, ClapEditorPump::WindowApi()) == 0; }

}  // namespace

struct ClapGuiAbi {
  static bool CLAP_ABI IsApiSupported(const clap_plugin_t* plugin, const char* api,
                                      bool isFloating) noexcept {
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.GuiApiSupported(api, isFloating); });
  }
  static bool CLAP_ABI PreferredApi(const clap_plugin_t* plugin, const char** api,
                                    bool* isFloating) noexcept {
    if (!api || !isFloating) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) {
      if (!plug.GuiApiSupported(ClapEditorPump::WindowApi(), false)) return false;
      *api = ClapEditorPump::WindowApi();
      *isFloating = false;
      return true;
    });
  }
  static bool CLAP_ABI Create(const clap_plugin_t* plugin, const char* api, bool isFloating) noexcept {
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.GuiCreate(api, isFloating); });
  }
  static void CLAP_ABI Destroy(const clap_plugin_t* plugin) noexcept {
    GuardedCall(plugin, [](IPlugCLAP& plug) { plug.GuiDestroy(); });
  }
  static bool CLAP_ABI SetScale(const clap_plugin_t* plugin, double scale) noexcept {
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.GuiSetScale(scale); });
  }
  static bool CLAP_ABI GetSize(const clap_plugin_t* plugin, std::uint32_t* width,
                               std::uint32_t* height) noexcept {
    if (!width || !height) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.GuiSize(*width, *height); });
  }
  static bool CLAP_ABI CanResize(const clap_plugin_t*) noexcept { return false; }
  static bool CLAP_ABI ResizeHints(const clap_plugin_t*, clap_gui_resize_hints_t*) noexcept { return false; }
  static bool CLAP_ABI AdjustSize(const clap_plugin_t* plugin, std::uint32_t* width,
                                  std::uint32_t* height) noexcept {
    return GetSize(plugin, width, height);
  }
  // Only the size the editor has.
  static bool CLAP_ABI SetSize(const clap_plugin_t* plugin, std::uint32_t width,
                               std::uint32_t height) noexcept {
    std::uint32_t w = 0, h = 0;
    return GetSize(plugin, &w, &h) && w == width && h == height;
  }
  static bool CLAP_ABI SetParent(const clap_plugin_t* plugin, const clap_window_t* window) noexcept {
    if (!window) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.GuiSetParent(*window); });
  }
  static bool CLAP_ABI SetTransient(const clap_plugin_t*, const clap_window_t*) noexcept { return false; }
  static void CLAP_ABI SuggestTitle(const clap_plugin_t*, const char*) noexcept {}
  static bool CLAP_ABI Show(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, false, [](IPlugCLAP& plug) { return plug.GuiShow(); });
  }
  static bool CLAP_ABI Hide(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, false, [](IPlugCLAP& plug) { return plug.GuiHide(); });
  }

  static void CLAP_ABI OnTimer(const clap_plugin_t* plugin, clap_id timerId) noexcept {
    GuardedCall(plugin, [&](IPlugCLAP& plug) {
      plug.ExpectThread(ClapThread::Main, "timer-support.on_timer");
      plug.mPump.OnTimer(timerId);
    });
  }
  static void CLAP_ABI OnFd(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t) noexcept {
    GuardedCall(plugin, [&](IPlugCLAP& plug) {
      plug.ExpectThread(ClapThread::Main, "posix-fd-support.on_fd");
      plug.mPump.OnFd(fd);
    });
  }
};

const clap_plugin_gui_t kClapGui = {
    ClapGuiAbi::IsApiSupported, ClapGuiAbi::PreferredApi, ClapGuiAbi::Create,    ClapGuiAbi::Destroy,
    ClapGuiAbi::SetScale,       ClapGuiAbi::GetSize,      ClapGuiAbi::CanResize, ClapGuiAbi::ResizeHints,
    ClapGuiAbi::AdjustSize,     ClapGuiAbi::SetSize,      ClapGuiAbi::SetParent, ClapGuiAbi::SetTransient,
    ClapGuiAbi::SuggestTitle,   ClapGuiAbi::Show,         ClapGuiAbi::Hide,
};
const clap_plugin_timer_support_t kClapTimerSupport = {ClapGuiAbi::OnTimer};
const clap_plugin_posix_fd_support_t kClapPosixFdSupport = {ClapGuiAbi::OnFd};

// An editor that cannot open a window here is not offered: the host shows its own controls.
bool IPlugCLAP::GuiApiSupported(const char* api, bool isFloating) const {
  ExpectThread(ClapThread::Main, "gui.is_api_supported");
  const IEditor* editor = GetEditor();
  return !isFloating && IsEditorsApi(api) && editor && editor->HasWindowHost();
}

// A host that cannot keep the window going (no timers where X11 needs them) gets no editor.
bool IPlugCLAP::GuiCreate(const char* api, bool isFloating) {
  ExpectThread(ClapThread::Main, "gui.create");
  if (mGuiCreated || !GuiApiSupported(api, isFloating) || !mPump.CanRun(*GetEditor())) return false;
  mGuiCreated = true;
  return true;
}

void IPlugCLAP::GuiDestroy() {
  ExpectThread(ClapThread::Main, "gui.destroy");
  CloseGuiWindow();
  mGuiCreated = false;
}

// A factor that is no scale at all (zero, negative, not a number) is refused; the editor holds
// any other within its range.
bool IPlugCLAP::GuiSetScale(double scale) {
  ExpectThread(ClapThread::Main, "gui.set_scale");
  IEditor* editor = GetEditor();
  if (!mGuiCreated || !editor || !std::isfinite(scale) || scale <= 0.0) return false;
  return editor->SetHostScale(scale);
}

bool IPlugCLAP::GuiSize(std::uint32_t& width, std::uint32_t& height) {
  ExpectThread(ClapThread::Main, "gui.get_size");
  IEditor* editor = GetEditor();
  if (!mGuiCreated || !editor) return false;
  int w = 0, h = 0;
  editor->WindowSize(w, h);
  width = static_cast<std::uint32_t>(w);
  height = static_cast<std::uint32_t>(h);
  return true;
}

// A second parent moves the window there; a window that cannot open is reported as such, so
// the host does not think it shows an editor.
bool IPlugCLAP::GuiSetParent(const clap_window_t& window) {
  ExpectThread(ClapThread::Main, "gui.set_parent");
  IEditor* editor = GetEditor();
  if (!mGuiCreated || !editor || !IsEditorsApi(window.api)) return false;
  mPump.Stop();
  if (!editor->OpenEditorWindow(ClapEditorPump::ParentOf(window)) || !mPump.Start(*editor)) {
    CloseGuiWindow();
    editor->CloseEditorWindow();
    return false;
  }
  if (!mGuiOpen) OnEditorOpened();
  mGuiOpen = true;
  return true;
}

bool IPlugCLAP::GuiShow() {
  ExpectThread(ClapThread::Main, "gui.show");
  IEditor* editor = GetEditor();
  if (!mGuiOpen || !editor) return false;
  return mPump.IsRunning() || mPump.Start(*editor);
}

// The window stays; only its calls stop until it is shown again.
bool IPlugCLAP::GuiHide() {
  ExpectThread(ClapThread::Main, "gui.hide");
  if (!mGuiCreated) return false;
  mPump.Stop();
  return true;
}

void IPlugCLAP::CloseGuiWindow() {
  mPump.Stop();
  if (!mGuiOpen) return;
  mGuiOpen = false;
  if (IEditor* editor = GetEditor()) {
    OnEditorClosed();
    editor->CloseEditorWindow();
  }
}
