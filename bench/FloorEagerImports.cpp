// A program that does nothing but imports, all at start, the DLLs that
// hushgate.exe imported before it delay-loaded the window DLLs: kernel32,
// advapi32, user32, comctl32 and shell32 (and the C runtime).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // Never true; the calls only keep the imports.
  if (!commandLine) {
    RegCloseKey(HKEY_CURRENT_USER);
    InitCommonControls();
    ShellExecuteA(nullptr, nullptr, nullptr, nullptr, nullptr, SW_SHOW);
    MessageBoxA(nullptr, nullptr, nullptr, MB_OK);
  }
  return 0;
}
