// The Windows editor's pop-up menus: a native menu built from a PopupMenu tree, whose command
// identifiers number the items of the whole tree, each menu's items as one block before those of
// its sub-menus.
#include <cstdio>

#include "editor/win/IGraphicsWinMessages.h"

namespace {

bool IsSeparator(const PopupMenuItem& item) { return (item.flags & PopupMenuItem::kSeparator) != 0; }

std::string ItemText(const PopupMenu& menu, int position, const std::string& text) {
  const char* format = nullptr;
  switch (menu.numbering) {
    case 1: format = "%1d: %s"; break;
    case 2: format = "%02d: %s"; break;
    case 3: format = "%03d: %s"; break;
    default: return text;
  }
  const int length = std::snprintf(nullptr, 0, format, position, text.c_str());
  std::string numbered(length > 0 ? length : 0, '\0');
  std::snprintf(&numbered[0], numbered.size() + 1, format, position, text.c_str());
  return numbered;
}

UINT CommandFlags(int flags) {
  UINT native = MF_STRING;
  if (flags & PopupMenuItem::kGrayed) native |= MF_GRAYED;
  if (flags & PopupMenuItem::kDisabled) native |= MF_DISABLED;
  if (flags & PopupMenuItem::kChecked) native |= MF_CHECKED;
  return native;
}

HMENU BuildMenu(const PopupMenu& menu, int& nextId) {
  HMENU native = CreatePopupMenu();
  const int first = nextId;
  nextId += static_cast<int>(menu.items.size());
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    const PopupMenuItem& item = *menu.items[i];
    if (IsSeparator(item)) {
      AppendMenuA(native, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::string text = ItemText(menu, static_cast<int>(i) + 1, item.text);
    if (item.subMenu) {
      HMENU sub = BuildMenu(*item.subMenu, nextId);
      AppendMenuA(native, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
    } else {
      AppendMenuA(native, CommandFlags(item.flags), static_cast<UINT_PTR>(first + i), text.c_str());
    }
  }
  return native;
}

// The (sub-)menu that owns identifier `id`, numbered as BuildMenu numbers; its chosen index is set.
PopupMenu* OwnerOf(PopupMenu& menu, int& nextId, int id) {
  const int first = nextId;
  nextId += static_cast<int>(menu.items.size());
  if (id >= first && id < nextId) {
    menu.chosenIndex = id - first;
    return &menu;
  }
  for (const auto& item : menu.items) {
    if (IsSeparator(*item) || !item->subMenu) continue;
    if (PopupMenu* owner = OwnerOf(*item->subMenu, nextId, id)) return owner;
  }
  return nullptr;
}

}  // namespace

PopupMenu* IGraphicsWin::RunPopupMenu(PopupMenu& menu, const Rect& rect) {
  ReleaseMouseCapture();
  if (!mWindow) return nullptr;
  int nextId = 0;
  HMENU native = BuildMenu(menu, nextId);
  POINT at{rect.left, rect.bottom};
  ClientToScreen(mWindow, &at);
  TrackPopupMenu(native, TPM_LEFTBUTTON, at.x, at.y, 0, mWindow, nullptr);
  // The choice arrives as a command posted to the window.
  PopupMenu* chosen = nullptr;
  MSG command;
  if (PeekMessageA(&command, mWindow, WM_COMMAND, WM_COMMAND, PM_REMOVE) && HIWORD(command.wParam) == 0) {
    int first = 0;
    chosen = OwnerOf(menu, first, LOWORD(command.wParam));
  }
  DestroyMenu(native);
  InvalidateRect(mWindow, nullptr, FALSE);
  return chosen;
}
