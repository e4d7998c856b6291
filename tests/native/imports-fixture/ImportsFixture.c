/* An exe for the XP import check to read: two kernel32 imports that Windows
   XP lacks (one by name, one by ordinal) and a delay-loaded user32 one. It is
   only read, never run. */
#define DECLSPEC_IMPORT __attribute__((visibility("hidden")))
#include <windows.h>

ULONGLONG WINAPI GetTickCount64(void);
void WINAPI Ordinal17(void);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  if (show == 12345) {
    Ordinal17();
    return MessageBoxW(NULL, L"", L"", MB_OK);
  }
  return (int)GetTickCount64();
}
