// What the Windows editor asks of the system around it: folders, file and colour dialogs,
// message boxes, the clipboard, the cursor, addresses, and the tooltips over its controls.
#include "editor/win/IGraphicsWinMessages.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

// The folder part of a path, up to and including its last backslash.
bool FolderOf(const char* path, DWORD length, std::string& out) {
  out.clear();
  if (length == 0 || length >= MAX_PATH) return false;
  const char* slash = std::strrchr(path, '\\');
  if (!slash) return false;
  out.assign(path, slash + 1);
  return true;
}

bool FolderText(bool ok, const char* path, std::string& out) {
  out = ok ? path : "";
  return ok;
}

// "wav aif" gives "*.wav;*.aif" as both the description and the pattern.
std::string FileFilter(const char* extensions, std::string& firstExtension) {
  std::string patterns;
  const char* at = extensions ? extensions : "";
  while (*at) {
    const std::size_t length = std::strcspn(at, " ");
    if (length > 0) {
      if (firstExtension.empty()) firstExtension.assign(at, length);
      if (!patterns.empty()) patterns += ';';
      patterns += "*.";
      patterns.append(at, length);
    }
    at += length;
    while (*at == ' ') ++at;
  }
  if (patterns.empty()) return patterns;
  std::string filter = patterns;
  filter += '\0';
  filter += patterns;
  filter += '\0';
  filter += '\0';
  return filter;
}

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    const auto* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    if (choose && choose->lCustData) SetWindowTextA(dialog, reinterpret_cast<const char*>(choose->lCustData));
  }
  return 0;
}

TOOLINFOA WholeWindowTool(HWND window, const char* text) {
  TOOLINFOA info = {};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = window;
  info.uId = reinterpret_cast<UINT_PTR>(window);
  info.lpszText = const_cast<char*>(text);
  return info;
}

}  // namespace

// ---- Folders.

bool IGraphicsWin::HostDirectory(std::string& out) {
  char path[MAX_PATH] = {};
  return FolderOf(path, GetModuleFileNameA(nullptr, path, MAX_PATH), out);
}

bool IGraphicsWin::ModuleDirectory(std::string& out) {
  char path[MAX_PATH] = {};
  return FolderOf(path, GetModuleFileNameA(mInstance, path, MAX_PATH), out);
}

bool IGraphicsWin::DesktopDirectory(std::string& out) {
  char path[MAX_PATH] = {};
  return FolderText(SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE) != FALSE, path, out);
}

bool IGraphicsWin::AppDataDirectory(std::string& out, bool systemWide) {
  char path[MAX_PATH] = {};
  const int folder = systemWide ? CSIDL_COMMON_APPDATA : CSIDL_LOCAL_APPDATA;
  return FolderText(SHGetFolderPathA(nullptr, folder, nullptr, 0, path) == S_OK, path, out);
}

bool IGraphicsWin::UserDataDirectory(std::string& out) { return AppDataDirectory(out, false); }

// ---- Dialogs.

bool IGraphicsWin::ChooseFileDialog(std::string& path, int action, std::string& directory,
                                    const char* extensions) {
  if (!mWindow) {
    path.clear();
    return false;
  }
  std::string firstExtension;
  const std::string filter = FileFilter(extensions, firstExtension);
  std::string initialFolder = directory;
  if (initialFolder.empty()) DesktopDirectory(initialFolder);
  char file[MAX_PATH] = {};
  std::strncpy(file, path.c_str(), MAX_PATH - 1);

  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof(choice);
  choice.hwndOwner = mWindow;
  choice.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  choice.lpstrFile = file;
  choice.nMaxFile = MAX_PATH;
  choice.lpstrInitialDir = initialFolder.c_str();
  choice.lpstrDefExt = firstExtension.empty() ? nullptr : firstExtension.c_str();
  const bool save = action == 1;
  choice.Flags = save ? (OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT) : (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameA(&choice) : GetOpenFileNameA(&choice))) {
    path.clear();
    return false;
  }
  path = file;
  char drive[_MAX_DRIVE] = {};
  char folder[_MAX_DIR] = {};
  _splitpath(file, drive, folder, nullptr, nullptr);
  directory = std::string(drive) + folder;
  return true;
}

bool IGraphicsWin::ChooseColorDialog(Color& colour, const char* title) {
  if (!mWindow) return false;
  if (!mCustomColours) mCustomColours = std::make_unique<unsigned long[]>(16);
  CHOOSECOLORA choose = {};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = mWindow;
  choose.rgbResult = RGB(colour.red, colour.green, colour.blue);
  choose.lpCustColors = mCustomColours.get();
  choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  choose.lCustData = reinterpret_cast<LPARAM>(title);
  choose.lpfnHook = &ColourDialogHook;
  if (!ChooseColorA(&choose)) return false;
  colour.red = GetRValue(choose.rgbResult);
  colour.green = GetGValue(choose.rgbResult);
  colour.blue = GetBValue(choose.rgbResult);
  return true;
}

// ---- Message boxes: owned by the host's main window.

int IGraphicsWin::ShowMessageBox(const char* text, const char* caption, int type) {
  FindMainWindow();
  return MessageBoxA(mMainWindow, text, caption, static_cast<UINT>(type));
}

void IGraphicsWin::FindMainWindow() {
  if (mMainWindow) return;
  if (mParentWindow) {
    HWND top = mParentWindow;
    while (HWND up = GetParent(top)) top = up;
    mMainWindow = top;
    char name[129] = {};
    GetClassNameA(top, name, sizeof(name));
    mMainWindowClass = name;
    return;
  }
  if (mMainWindowClass.empty()) return;
  mProcessId = GetCurrentProcessId();
  EnumWindows(&Win::FindProcessWindow, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK IGraphicsWin::Win::FindProcessWindow(HWND window, LPARAM editorPointer) {
  auto* editor = reinterpret_cast<IGraphicsWin*>(editorPointer);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != editor->mProcessId) return TRUE;
  char name[129] = {};
  GetClassNameA(window, name, sizeof(name));
  if (editor->mMainWindowClass != name) return TRUE;
  editor->mMainWindow = window;
  return FALSE;
}

// ---- Clipboard, cursor, addresses.

bool IGraphicsWin::ClipboardText(std::string& out) {
  out.clear();
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(mWindow)) return false;
  bool ok = false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (wide) {
    // Another program wrote the data: read no further than its block, terminated or not.
    const int length = static_cast<int>(wcsnlen(wide, GlobalSize(data) / sizeof(wchar_t)));
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    out.resize(bytes > 0 ? bytes : 0);
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide, length, &out[0], bytes, nullptr, nullptr);
    ok = true;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return ok;
}

void IGraphicsWin::HideCursor() {
  if (mCursorHidden) return;
  POINT at;
  if (GetCursorPos(&at)) {
    mSavedCursorX = at.x;
    mSavedCursorY = at.y;
  }
  ::ShowCursor(FALSE);
  mCursorHidden = true;
}

void IGraphicsWin::ShowCursor() {
  if (!mCursorHidden) return;
  SetCursorPos(mSavedCursorX, mSavedCursorY);
  ::ShowCursor(TRUE);
  mCursorHidden = false;
}

bool IGraphicsWin::OpenUrl(const char* url, const char* title, const char* confirmation, const char* error) {
  if (!url) return false;
  HINSTANCE result = ShellExecuteA(mWindow, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

// ---- Tooltips: one tool over the whole window, whose text follows the control under the pointer.

void IGraphicsWin::CreateTooltip() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
  if (InitCommonControlsEx(&controls)) {
    mTooltipWindow =
        CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mWindow, nullptr, mInstance, nullptr);
  }
  if (!mTooltipWindow) {
    mTooltipsEnabled = false;
    return;
  }
  SetWindowPos(mTooltipWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TOOLINFOA tool = WholeWindowTool(mWindow, "");
  SendMessageA(mTooltipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void IGraphicsWin::ShowTooltip(const char* text) {
  if (!mTooltipWindow) return;
  TOOLINFOA tool = WholeWindowTool(mWindow, text);
  SendMessageA(mTooltipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  mTooltipShown = true;
}

void IGraphicsWin::HideTooltip() {
  if (!mTooltipShown || !mTooltipWindow) return;
  TOOLINFOA tool = WholeWindowTool(mWindow, "");
  SendMessageA(mTooltipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  mTooltipShown = false;
}
