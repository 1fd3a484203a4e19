#pragma once
// Inside the Windows editor: its window procedures and the handlers they dispatch to, shared by
// the editor's source files. The handlers are short and take the editor they serve.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "editor/win/IGraphicsWin.h"

struct IGraphicsWin::Win {
  // The editor window's procedure: the editor is the window's user data.
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  // The value-entry box's procedure, in front of the EDIT control's own.
  static LRESULT CALLBACK EntryProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam);

  static void OnCreate(HWND window, LPARAM lParam);
  static LRESULT Dispatch(IGraphicsWin& editor, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT WhileEntryFocused(IGraphicsWin& editor, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT OnPaint(IGraphicsWin& editor, HWND window);
  static LRESULT OnKeyDown(IGraphicsWin& editor, HWND window, WPARAM wParam, LPARAM lParam);
  static LRESULT OnMouseMove(IGraphicsWin& editor, HWND window, WPARAM wParam, LPARAM lParam);
  static LRESULT OnButtonDown(IGraphicsWin& editor, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT OnButtonUp(IGraphicsWin& editor, WPARAM wParam, LPARAM lParam);
  static LRESULT OnDoubleClick(IGraphicsWin& editor, HWND window, WPARAM wParam, LPARAM lParam);
  static LRESULT OnWheel(IGraphicsWin& editor, HWND window, WPARAM wParam, LPARAM lParam);
  static LRESULT OnEntryColours(IGraphicsWin& editor, WPARAM dc);

  static LRESULT EntryMessage(IGraphicsWin& editor, HWND box, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT EntryDialogCode(IGraphicsWin& editor, HWND box, WPARAM wParam, LPARAM lParam);

  static BOOL CALLBACK FindProcessWindow(HWND window, LPARAM editor);
};
