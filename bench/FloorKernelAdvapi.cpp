// The floor of a command-line start: a program that does nothing but
// imports what hushgate.exe loads at start, kernel32 and advapi32 (and the C
// runtime that every program of this compiler has).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // Never true; the call only keeps the import.
  if (!commandLine) RegCloseKey(HKEY_CURRENT_USER);
  return 0;
}
