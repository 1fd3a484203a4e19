// The Windows editor's value-entry box: an EDIT child window over the control, whose keys and
// focus drive a small state machine; the next timer step applies or drops what was typed.
#include "editor/win/IGraphicsWinMessages.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/IPlugBase.h"

namespace {

constexpr int kEntryControlId = 99;
constexpr LONG_PTR kEntryMark = 0xDEADF00B;

}  // namespace

void IGraphicsWin::OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect,
                                 const char* text, int paramIndex) {
  if (!control || mEntryWindow || !mWindow) return;
  DWORD flags = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL;
  if (style.alignment == kAlignCentre) flags |= ES_CENTER;
  if (style.alignment == kAlignRight) flags |= ES_RIGHT;
  HWND box =
      CreateWindowExA(0, "EDIT", text ? text : "", flags, rect.left, rect.top, rect.W() + 1, rect.H() + 1,
                      mWindow, reinterpret_cast<HMENU>(kEntryControlId), mInstance, nullptr);
  if (!box) return;
  mEntryFont =
      CreateFontA(style.size, 0, 0, 0, (style.style & kTextBold) ? FW_BOLD : 0,
                  (style.style & kTextItalic) ? TRUE : FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, style.face);
  SendMessageA(box, EM_LIMITTEXT, control->TextEntryLimit(), 0);
  SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(mEntryFont), 0);
  SendMessageA(box, EM_SETSEL, 0, -1);
  mEntryWindow = box;
  mEntryControl = control;
  mEntryParam = Plug() && Plug()->GetParam(paramIndex) ? paramIndex : -1;
  // Subclassed before it takes the focus, so that the state machine sees the focus arrive.
  mEntryPreviousProc = SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win::EntryProc));
  SetWindowLongPtrA(box, GWLP_USERDATA, kEntryMark);
  SetFocus(box);
}

void IGraphicsWin::CancelTextEntry() {
  if (mEntryWindow) mEntryState = kEntryCancel;
}

void IGraphicsWin::EntryStep() {
  if (mEntryState != kEntryCancel && mEntryState != kEntryCommit) {
    mEntryState = kEntryIdle;  // a frame was drawn while the box is open
    return;
  }
  if (mEntryState == kEntryCommit) CommitEntry();
  CloseEntry();
}

void IGraphicsWin::CommitEntry() {
  char text[kMaxEntryText + 1] = {};
  SendMessageA(mEntryWindow, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  CommitEntryText(mEntryControl, mEntryParam, text);
}

// Also used when the window closes or the controls are rebuilt: no later step sees the old box.
void IGraphicsWin::CloseEntry() {
  if (mEntryWindow) {
    SetWindowLongPtrA(mEntryWindow, GWLP_WNDPROC, mEntryPreviousProc);
    DestroyWindow(mEntryWindow);
  }
  if (mEntryFont) DeleteObject(mEntryFont);
  mEntryWindow = nullptr;
  mEntryFont = nullptr;
  mEntryControl = nullptr;
  mEntryParam = -1;
  mEntryPreviousProc = 0;
  mEntryState = kEntryIdle;
}

LRESULT CALLBACK IGraphicsWin::Win::EntryProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* editor = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(GetParent(box), GWLP_USERDATA));
  if (!editor || editor->mEntryWindow != box) return DefWindowProcA(box, msg, wParam, lParam);
  return EntryMessage(*editor, box, msg, wParam, lParam);
}

LRESULT IGraphicsWin::Win::EntryMessage(IGraphicsWin& editor, HWND box, UINT msg, WPARAM wParam,
                                        LPARAM lParam) {
  editor.HideTooltip();
  switch (msg) {
    case WM_SETFOCUS: editor.mEntryState = kEntryFocused; break;
    case WM_KILLFOCUS: editor.mEntryState = kEntryCommit; break;
    case WM_GETDLGCODE: return EntryDialogCode(editor, box, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        editor.mEntryState = kEntryCommit;
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        editor.mEntryState = kEntryCancel;
        return 0;
      }
      break;
    case WM_CHAR:
      if (editor.mEntryParam >= 0 && !CharPasses(editor, wParam)) return 0;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) != 1) break;
      editor.mEntryState = kEntryCommit;
      return 0;
  }
  return CallWindowProcA(reinterpret_cast<WNDPROC>(editor.mEntryPreviousProc), box, msg, wParam, lParam);
}

// A free-text box asks for Enter even inside a dialog; a value box answers as any EDIT does.
LRESULT IGraphicsWin::Win::EntryDialogCode(IGraphicsWin& editor, HWND box, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(editor.mEntryPreviousProc);
  LRESULT code = CallWindowProcA(previous, box, WM_GETDLGCODE, wParam, lParam);
  const auto* queried = reinterpret_cast<const MSG*>(lParam);
  if (editor.mEntryParam < 0 && queried && queried->message == WM_KEYDOWN && queried->wParam == VK_RETURN)
    code |= DLGC_WANTALLKEYS;
  return code;
}

// Digits and signs for every parameter, the decimal point only for a real-valued one.
bool IGraphicsWin::Win::CharPasses(const IGraphicsWin& editor, WPARAM ch) {
  if (ch == VK_BACK || ch == '+' || ch == '-' || (ch >= '0' && ch <= '9')) return true;
  const IParamDef* param = editor.Plug()->GetParam(editor.mEntryParam);
  return ch == '.' && param && param->GetType() == ParamType::Double;
}

LRESULT IGraphicsWin::Win::OnEntryColours(IGraphicsWin& editor, WPARAM dc) {
  const TextStyle& style = editor.mEntryControl->Style();
  const COLORREF back =
      RGB(style.entryBackground.red, style.entryBackground.green, style.entryBackground.blue);
  const COLORREF text =
      RGB(style.entryForeground.red, style.entryForeground.green, style.entryForeground.blue);
  HDC context = reinterpret_cast<HDC>(dc);
  SetBkColor(context, back);
  SetTextColor(context, text);
  SetBkMode(context, OPAQUE);
  // The box's empty area is filled with the DC brush: the same colour as behind the text.
  SetDCBrushColor(context, back);
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}
