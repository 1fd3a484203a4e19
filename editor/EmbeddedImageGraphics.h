#pragma once
// An editor that opens no native window: everything of the editor core (controls, drawing into
// the backing bitmap, mouse dispatch, the parameter exchange) with images decoded from the PNG
// files compiled into the module. The Linux editor builds its X11 window on it; on its own it
// serves tests that need no window.

#include "editor/IGraphics.h"

class EmbeddedImageGraphics : public IGraphics {
public:
  using IGraphics::IGraphics;
  ~EmbeddedImageGraphics() override = default;

  bool HasWindowHost() const override { return false; }
  // No window to open: the host's request fails and nothing changes.
  bool OpenEditorWindow(void* parentWindow) override { return false; }
  void CloseEditorWindow() override {}

  bool PaintScreen(const Rect& rect) override { return true; }  // nothing on screen to update
  int ShowMessageBox(const char* text, const char* caption, int type) override { return 0; }
  PopupMenu* RunPopupMenu(PopupMenu& menu, const Rect& rect) override { return nullptr; }
  void OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect, const char* text,
                     int paramIndex) override {}
  bool HostDirectory(std::string& out) override { return false; }
  bool ModuleDirectory(std::string& out) override { return false; }
  bool DesktopDirectory(std::string& out) override { return false; }
  bool AppDataDirectory(std::string& out, bool systemWide) override { return false; }
  bool UserDataDirectory(std::string& out) override { return false; }
  bool ChooseFileDialog(std::string& path, int action, std::string& directory,
                        const char* extensions) override {
    return false;
  }
  bool ChooseColorDialog(Color& colour, const char* title) override { return false; }
  bool OpenUrl(const char* url, const char* title, const char* confirmation, const char* error) override {
    return false;
  }
  void* WindowHandle() override { return nullptr; }
  bool ClipboardText(std::string& out) override { return false; }
  void Hook3() override {}
  // The embedded PNG with this id, decoded; null for an unknown id or a name that is no PNG.
  LICE_IBitmap* LoadImageResource(int resourceId, const char* fileName) override;
};
