#include "app/DescriptionPane.h"

#include <richedit.h>

#include <string>

namespace {

// The rich-edit library comes from the system directory by its full path,
// never from wherever the search path would find one first.
bool LoadRichEdit() {
  static bool loaded = false;
  if (loaded) return true;
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  loaded = LoadLibraryA((std::string(folder, length) + "\\riched20.dll").c_str()) != nullptr;
  return loaded;
}

}  // namespace

bool DescriptionPane::Create(HWND parent, const RECT& rect) {
  if (!LoadRichEdit()) return false;
  hwnd_ = CreateWindowExA(0, RICHEDIT_CLASSA, "",
                          WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE,
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return false;
  SendMessageA(hwnd_, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 206));
  CHARFORMATA format = {};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_SIZE | CFM_COLOR | CFM_FACE;
  format.yHeight = 180;
  format.crTextColor = RGB(0, 0, 0);
  lstrcpynA(format.szFaceName, "Arial", LF_FACESIZE);
  SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  return true;
}

void DescriptionPane::SetText(const char* text) {
  if (hwnd_) SetWindowTextA(hwnd_, text);
}
