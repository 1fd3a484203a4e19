#pragma once
// Inside the Linux editor: the handlers its X events are dispatched to, shared by the editor's
// source files. Only these files see the X headers; they come after our own, whose names (Bool,
// None) the X headers would otherwise take over.
#include "editor/linux/IGraphicsLinux.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

struct IGraphicsLinux::X {
  static void OnExpose(IGraphicsLinux& editor, const XExposeEvent& event);
  static void OnButtonPress(IGraphicsLinux& editor, const XButtonEvent& event);
  static void OnButtonRelease(IGraphicsLinux& editor, const XButtonEvent& event);
  static void OnMotion(IGraphicsLinux& editor, const XMotionEvent& event);
  static void OnKey(IGraphicsLinux& editor, XKeyEvent& event);
  static void OnLeave(IGraphicsLinux& editor, const XCrossingEvent& event);
  static void OnEntryKey(IGraphicsLinux& editor, XKeyEvent& event);
  static void OnEntryFocus(IGraphicsLinux& editor, const XFocusChangeEvent& event);
  static void OnWheel(IGraphicsLinux& editor, const XButtonEvent& event);
  // Sends a key the editor does not take to the host's top-level window.
  static void ForwardKey(IGraphicsLinux& editor, XKeyEvent& event);
  static bool IsDoubleClick(IGraphicsLinux& editor, const XButtonEvent& event);
};
