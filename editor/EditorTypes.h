#pragma once
// The plain records the editor and its controls share: rectangles, how bitmaps are combined,
// the mouse buttons and keys held, an image used as a strip of frames, and pop-up menus.

#include <memory>
#include <string>
#include <vector>

#include "raster/Color.h"

class LICE_IBitmap;

// Editor pixels; right and bottom exclusive. All four 0 is the empty rectangle, which takes part
// in no drawing and no union; anything else counts, even with zero width.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  int W() const { return right - left; }
  int H() const { return bottom - top; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const Rect& other) const { return !(*this == other); }
  // The smallest rectangle holding both; an empty side leaves the other as it is.
  Rect Union(const Rect& other) const;
  // The common part (may be inverted, i.e. nothing to draw, when they do not meet).
  Rect Intersect(const Rect& other) const;
};

// How a control's bitmaps are combined into the backing bitmap: method 0 with the source's alpha,
// 1 a plain copy, 2 added, 3 dodged (both with alpha); the weight drops to 0.25 when grayed out.
struct BlendSpec {
  int method = 0;
  float weight = 1.0f;
};

enum class PointerButton { Left, Middle, Right };

// The keys a control may be offered, with the codes IControl::OnKeyDown receives: space, the
// arrows, the ten digits from Digit0 on and the 26 letters from LetterA on. A window host maps its
// native keys to these in one table; every other key is NoKey, and goes on to the host.
enum class EditorKey : int {
  NoKey = -1,
  Space = 0,
  Up = 1,
  Down = 2,
  Left = 3,
  Right = 4,
  Digit0 = 5,
  LetterA = 15
};

// The key of digit 0 to 9, and of letter 0 (A) to 25 (Z).
inline EditorKey DigitKey(int digit) {
  return static_cast<EditorKey>(static_cast<int>(EditorKey::Digit0) + digit);
}
inline EditorKey LetterKey(int letter) {
  return static_cast<EditorKey>(static_cast<int>(EditorKey::LetterA) + letter);
}

struct MouseModifiers {
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

// A cached image used as equal frames stacked top to bottom (or side by side when horizontal).
// The bitmap belongs to the process-wide cache; null when the image could not be loaded.
struct BitmapStrip {
  LICE_IBitmap* bitmap = nullptr;
  // The image it was loaded as; an editor drawing at twice the resolution finds the image's
  // twice-as-large twin through it.
  int resourceId = 0;
  int width = 0;
  int height = 0;
  int frames = 1;
  bool framesAreHorizontal = false;

  int FrameWidth() const { return framesAreHorizontal ? width / frames : width; }
  int FrameHeight() const { return framesAreHorizontal ? height : height / frames; }
};

struct PopupMenu;

struct PopupMenuItem {
  enum Flags : int { kGrayed = 1, kDisabled = 2, kChecked = 4, kSeparator = 8 };
  std::string text;
  std::unique_ptr<PopupMenu> subMenu;
  int flags = 0;
};

struct PopupMenu {
  int numbering = 0;
  int chosenIndex = -1;
  std::vector<std::unique_ptr<PopupMenuItem>> items;
};

// Whether an image's file name has the extension "png" (any case) after its last '.'.
bool HasPngExtension(const char* fileName);
