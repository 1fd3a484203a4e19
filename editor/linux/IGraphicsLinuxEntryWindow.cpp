// The Linux editor's value box: a child window of the editor's over the control, drawn with the
// editor's own fonts, taking the keyboard while it is open. Its focus, keys and characters go to
// the core's value box, which applies or drops what was typed.
#include "raster/Bitmap.h"
#include "raster/Font.h"
#include "raster/FontCache.h"
#include "raster/Raster.h"

#include "editor/linux/IGraphicsLinuxEvents.h"
#include "editor/linux/XErrorTrap.h"
#include "editor/linux/XImageSurface.h"

#include <algorithm>

namespace {

constexpr long kEntryEvents = ExposureMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;
constexpr int kMargin = 1;

LicePixel Opaque(const Color& c) { return LicePixelFromChannels(c.red, c.green, c.blue, 255); }

int TextWidth(LICE_IFont& font, const std::string& text, int length) {
  if (length <= 0) return 0;
  LiceRect measured{};
  font.DrawString(nullptr, text.c_str(), length, &measured, kTextMeasure | kTextSingleLine);
  return measured.right - measured.left;
}

}  // namespace

void IGraphicsLinux::OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect,
                                   const char* text, int paramIndex) {
  if (!control || Entry().IsOpen() || !mDisplay || !mWindow) return;
  XErrorTrap trap(mDisplay);
  const int w = std::max(rect.W() + 1, 1);
  const int h = std::max(rect.H() + 1, 1);
  XWindowAttributes editor;
  if (!XGetWindowAttributes(mDisplay, mWindow, &editor)) return;
  XSetWindowAttributes attributes = {};
  attributes.event_mask = kEntryEvents;
  attributes.background_pixmap = None;
  const ::Window box = XCreateWindow(mDisplay, mWindow, rect.left, rect.top, static_cast<unsigned>(w),
                                     static_cast<unsigned>(h), 0, CopyFromParent, InputOutput, CopyFromParent,
                                     CWEventMask | CWBackPixmap, &attributes);
  if (trap.Failed()) return;
  mEntrySurface = std::make_unique<XImageSurface>();
  mEntryPicture = std::make_unique<LICE_MemBitmap>(w, h);
  if (!mEntrySurface->Create(mDisplay, editor.visual, editor.depth, w, h, mAllowSharedMemory)) {
    XDestroyWindow(mDisplay, box);
    mEntrySurface.reset();
    mEntryPicture.reset();
    return;
  }
  mEntryWindow = box;
  BeginTextEntry(*this, *control, paramIndex);
  mEntryStyle = style;
  mEntryStyle.cachedFont = nullptr;  // the box's own size and face
  mEntryLine.Reset(text, control->TextEntryLimit());
  XMapRaised(mDisplay, box);
  // Focus arrives as an event: the state machine hears it as the box's focus.
  XSetInputFocus(mDisplay, box, RevertToParent, CurrentTime);
  DrawEntry();
}

std::string IGraphicsLinux::EntryBoxText() { return mEntryLine.Text(); }

// The box goes from the core's frame, or when the window closes or the controls are rebuilt.
void IGraphicsLinux::DestroyEntryBox() {
  if (mEntryWindow && mDisplay) {
    XErrorTrap trap(mDisplay);
    const ::Window box = mEntryWindow;
    mEntryWindow = 0;
    XDestroyWindow(mDisplay, box);
    // The keyboard goes back to the editor, as it does on Windows when the box goes.
    if (mWindow) XSetInputFocus(mDisplay, mWindow, RevertToParent, CurrentTime);
  }
  mEntrySurface.reset();
  mEntryPicture.reset();
  mEntryWindow = 0;
}

// The box's background and text in the control's entry colours; the selected text inverted, or a
// caret where the next character goes. Text wider than the box scrolls to keep the caret in view.
void IGraphicsLinux::DrawEntry() {
  if (!mEntryWindow || !mEntryPicture || !mEntrySurface) return;
  LICE_MemBitmap& picture = *mEntryPicture;
  const int w = picture.Width();
  const int h = picture.Height();
  const LicePixel back = Opaque(mEntryStyle.entryBackground);
  const LicePixel fore = Opaque(mEntryStyle.entryForeground);
  FillRectangle(&picture, 0, 0, w, h, back, 1.0f, BlitCopy);
  LICE_IFont* font = FontCache::FontFor(mEntryStyle);
  if (font) {
    const std::string& text = mEntryLine.Text();
    const int textWidth = TextWidth(*font, text, static_cast<int>(text.size()));
    const int caretAt = TextWidth(*font, text, mEntryLine.Caret());
    const int room = w - 2 * kMargin;
    int x = kMargin;
    if (textWidth <= room) {
      if (mEntryStyle.alignment == kAlignCentre) x = (w - textWidth) / 2;
      if (mEntryStyle.alignment == kAlignRight) x = w - kMargin - textWidth;
    } else {
      x = kMargin - std::max(0, caretAt - (room - 1));
    }
    const int lineHeight = std::max(font->LineHeight(), 1);
    const bool selected = mEntryLine.AllSelected();
    if (selected) FillRectangle(&picture, x, kMargin, textWidth, lineHeight, fore, 1.0f, BlitCopy);
    font->SetTextColour(selected ? back : fore);
    LiceRect area{x, kMargin, x + textWidth + 1, h};
    font->DrawString(&picture, text.c_str(), -1, &area, kTextSingleLine | kTextNoPrefix);
    if (!selected) FillRectangle(&picture, x + caretAt, kMargin, 1, lineHeight, fore, 1.0f, BlitCopy);
  }
  mEntrySurface->Put(mEntryWindow, mGC, picture.Pixels(), picture.RowSpan(), 0, 0, w, h);
}

void IGraphicsLinux::X::OnEntryFocus(IGraphicsLinux& editor, const XFocusChangeEvent& event) {
  // Focus that follows the pointer, and the host grabbing the keyboard for a moment, say nothing
  // about the box.
  if (event.detail == NotifyPointer || event.mode == NotifyGrab || event.mode == NotifyUngrab) return;
  editor.Entry().FocusChanged(event.type == FocusIn);
}

void IGraphicsLinux::X::OnEntryKey(IGraphicsLinux& editor, XKeyEvent& event) {
  char chars[8] = {};
  KeySym key = 0;
  const int count = XLookupString(&event, chars, sizeof(chars), &key, nullptr);
  EntryLine& line = editor.mEntryLine;
  switch (key) {
    case XK_Return:
    case XK_KP_Enter: editor.Entry().RequestCommit(); return;
    case XK_Escape: editor.Entry().RequestCancel(); return;
    case XK_BackSpace: line.Backspace(); break;
    case XK_Delete:
    case XK_KP_Delete: line.Delete(); break;
    case XK_Left:
    case XK_KP_Left: line.Left(); break;
    case XK_Right:
    case XK_KP_Right: line.Right(); break;
    case XK_Home:
    case XK_KP_Home: line.Home(); break;
    case XK_End:
    case XK_KP_End: line.End(); break;
    default: {
      bool changed = false;
      for (int i = 0; i < count; ++i) {
        const char ch = chars[i];
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) continue;  // control characters
        if (!editor.Entry().CharPasses(static_cast<unsigned char>(ch))) continue;
        changed = line.Insert(ch) || changed;
      }
      if (!changed) return;
    }
  }
  editor.DrawEntry();
}
