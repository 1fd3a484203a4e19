#include "hosts/clap/ClapEditorSession.h"

#include <cstdint>
#include <cstring>

namespace brel {
namespace {

clap_window_t WindowFor(const char* api, void* handle) {
  clap_window_t window{};
  window.api = api;
  // An X window is an id, which the parent carries in its handle; the other apis take pointers.
  if (std::strcmp(api, CLAP_WINDOW_API_X11) == 0)
    window.x11 = static_cast<clap_xwnd>(reinterpret_cast<std::uintptr_t>(handle));
  else
    window.ptr = handle;
  return window;
}

}  // namespace

bool ClapEditorSession::SupportsApi(const char* api) const {
  const clap_plugin_gui_t* gui = Gui();
  return gui && api && gui->is_api_supported(mPlugin.Plugin(), api, false);
}

WindowId ClapEditorSession::Open(EditorParent& parent, const char* api) {
  Close();
  mEditorWindow = 0;
  mProblem.clear();
  const std::vector<WindowId> before = parent.ChildWindows();
  if (!Embed(parent, api)) return 0;
  mEditorWindow = AwaitNewWindow(parent, before, Stepper());
  if (!mEditorWindow) mProblem = "no editor window appeared in the host's window";
  return mEditorWindow;
}

bool ClapEditorSession::Embed(EditorParent& parent, const char* api) {
  const clap_plugin_gui_t* gui = Gui();
  if (!gui) {
    mProblem = "the plug-in has no gui extension";
    return false;
  }
  if (!SupportsApi(api)) return Fail("is_api_supported");
  const clap_plugin_t* plugin = mPlugin.Plugin();
  mClosedSeen = mPlugin.Requests().guiClosed;
  if (!gui->create(plugin, api, false)) return Fail("create");
  mCreated = true;
  // A plug-in that takes the system's scale itself may refuse.
  mScaleAnswer = gui->set_scale(plugin, mScale);
  std::uint32_t width = 0, height = 0;
  if (!gui->get_size(plugin, &width, &height)) return Fail("get_size");
  parent.Resize(static_cast<int>(width), static_cast<int>(height));
  const clap_window_t window = WindowFor(api, parent.ParentHandle());
  if (!gui->set_parent(plugin, &window)) return Fail("set_parent");
  mParent = &parent;
  if (!gui->show(plugin)) return Fail("show");
  mShown = true;
  return true;
}

bool ClapEditorSession::Fail(const std::string& call) {
  Close();  // a gui once made is destroyed whatever step refused
  mProblem = std::string(call) + " refused";
  return false;
}

bool ClapEditorSession::Show() {
  if (!mCreated) return false;
  mShown = Gui()->show(mPlugin.Plugin());
  return mShown;
}

bool ClapEditorSession::Hide() {
  if (!mCreated) return false;
  const bool hidden = Gui()->hide(mPlugin.Plugin());
  if (hidden) mShown = false;
  return hidden;
}

void ClapEditorSession::Close() {
  if (!mCreated) return;
  if (mShown) Gui()->hide(mPlugin.Plugin());
  mShown = false;
  Gui()->destroy(mPlugin.Plugin());
  mCreated = false;
  mEditorWindow = 0;
  if (mParent) mParent->Sync();
  mParent = nullptr;
}

void ClapEditorSession::Step() {
  mSettle();
  if (!mCreated) return;
  const ClapHostRequests asked = mPlugin.Requests();
  if (asked.guiClosed == mClosedSeen) return;
  mClosedSeen = asked.guiClosed;
  if (!asked.guiDestroyedByPlugin) return;
  mShown = false;  // a destroyed gui is only destroyed, not hidden first
  Close();
}

}  // namespace brel
