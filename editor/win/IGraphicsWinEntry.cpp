// The Windows editor's value box: an EDIT child window over the control, whose focus, keys and
// characters it reports to the core's value box, which applies or drops what was typed.
#include "editor/win/IGraphicsWinMessages.h"

namespace {

constexpr int kEntryControlId = 99;
constexpr LONG_PTR kEntryMark = 0xDEADF00B;

}  // namespace

void IGraphicsWin::OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect,
                                 const char* text, int paramIndex) {
  if (!control || Entry().IsOpen() || !mWindow) return;
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
  BeginTextEntry(*this, *control, paramIndex);
  // Subclassed before it takes the focus, so that the state machine sees the focus arrive.
  mEntryPreviousProc = SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win::EntryProc));
  SetWindowLongPtrA(box, GWLP_USERDATA, kEntryMark);
  SetFocus(box);
}

std::string IGraphicsWin::EntryBoxText() {
  char text[ValueEntry::kMaxText + 1] = {};
  SendMessageA(mEntryWindow, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

void IGraphicsWin::DestroyEntryBox() {
  if (mEntryWindow) {
    // Its own procedure back first: the box hears nothing of ours while it goes.
    SetWindowLongPtrA(mEntryWindow, GWLP_WNDPROC, mEntryPreviousProc);
    DestroyWindow(mEntryWindow);
  }
  if (mEntryFont) DeleteObject(mEntryFont);
  mEntryWindow = nullptr;
  mEntryFont = nullptr;
  mEntryPreviousProc = 0;
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
    case WM_SETFOCUS: editor.Entry().FocusChanged(true); break;
    case WM_KILLFOCUS: editor.Entry().FocusChanged(false); break;
    case WM_GETDLGCODE: return EntryDialogCode(editor, box, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        editor.Entry().RequestCommit();
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        editor.Entry().RequestCancel();
        return 0;
      }
      break;
    case WM_CHAR:
      if (!editor.Entry().CharPasses(wParam)) return 0;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) != 1) break;
      editor.Entry().RequestCommit();
      return 0;
  }
  return CallWindowProcA(reinterpret_cast<WNDPROC>(editor.mEntryPreviousProc), box, msg, wParam, lParam);
}

// A free-text box asks for Enter even inside a dialog; a value box answers as any EDIT does.
LRESULT IGraphicsWin::Win::EntryDialogCode(IGraphicsWin& editor, HWND box, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(editor.mEntryPreviousProc);
  LRESULT code = CallWindowProcA(previous, box, WM_GETDLGCODE, wParam, lParam);
  const auto* queried = reinterpret_cast<const MSG*>(lParam);
  if (!editor.Entry().Param() && queried && queried->message == WM_KEYDOWN && queried->wParam == VK_RETURN)
    code |= DLGC_WANTALLKEYS;
  return code;
}

LRESULT IGraphicsWin::Win::OnEntryColours(IGraphicsWin& editor, WPARAM dc) {
  const TextStyle& style = editor.Entry().Control()->Style();
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
