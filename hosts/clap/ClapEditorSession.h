#pragma once
// A CLAP plug-in's editor opened the way a CLAP host embeds one, on either platform: the host
// checks that the plug-in's gui takes the platform's window api embedded, creates the gui, gives
// it the scale of the host's window (1 unless told otherwise; sizes are physical pixels), asks its
// size, sizes its window to it,
// hands the window to set_parent and shows the gui; it hides it and destroys it when the editor
// closes. The editor's own window is the child that appears in the host's window. The platform's
// test host supplies the window, the api's name and one step of its loop; a gui the plug-in says
// it destroyed (closed with was_destroyed) is destroyed by the host at its next step, as CLAP asks.

#include <clap/clap.h>

#include <string>
#include <utility>

#include "hosts/clap/ClapHost.h"
#include "hosts/editor/EditorParent.h"

namespace brel {

class ClapEditorSession {
public:
  // `api` is the platform's window api (CLAP_WINDOW_API_X11, CLAP_WINDOW_API_WIN32); `settle`
  // one step of its loop (a short wait for the plug-in's events).
  ClapEditorSession(ClapHost& plugin, const char* api, LoopStep settle)
      : mPlugin(plugin), mApi(api), mSettle(std::move(settle)) {}
  ~ClapEditorSession() { Close(); }
  ClapEditorSession(const ClapEditorSession&) = delete;
  ClapEditorSession& operator=(const ClapEditorSession&) = delete;

  // The plug-in's gui extension, or null.
  const clap_plugin_gui_t* Gui() const { return mPlugin.ExtensionAs<clap_plugin_gui_t>(CLAP_EXT_GUI); }
  // is_api_supported(api, embedded): the platform's api unless given.
  bool SupportsApi() const { return SupportsApi(mApi); }
  bool SupportsApi(const char* api) const;

  // The editor made and shown in `parent` with the platform's api (or `api`): the editor's
  // window (the one child that appeared, looked for over a few steps), or 0 with the call that
  // failed in Problem(). An open editor is closed first.
  WindowId Open(EditorParent& parent) { return Open(parent, mApi); }
  WindowId Open(EditorParent& parent, const char* api);
  const std::string& Problem() const { return mProblem; }
  // The factor each Open gives set_scale (1 unless told), and what set_scale last answered.
  void UseScale(double factor) { mScale = factor; }
  bool ScaleAnswer() const { return mScaleAnswer; }
  // show and hide of the open editor; the plug-in's answers (false when nothing is open).
  bool Show();
  bool Hide();
  // hide when shown, destroy when made. Afterwards the host's window has seen what destroying
  // did (EditorParent::Sync).
  void Close();

  // One step of the host's loop, then the destroy the plug-in may have asked for.
  void Step();
  LoopStep Stepper() {
    return [this] { Step(); };
  }

  bool IsOpen() const { return mCreated; }
  bool IsShown() const { return mShown; }
  WindowId EditorWindow() const { return mEditorWindow; }

private:
  bool Fail(const std::string& call);
  bool Embed(EditorParent& parent, const char* api);

  ClapHost& mPlugin;
  const char* mApi;
  LoopStep mSettle;
  EditorParent* mParent = nullptr;  // the window the editor was given
  bool mCreated = false;
  bool mShown = false;
  int mClosedSeen = 0;  // the plug-in's closed calls the session has answered
  WindowId mEditorWindow = 0;
  double mScale = 1.0;
  bool mScaleAnswer = false;
  std::string mProblem;
};

}  // namespace brel
