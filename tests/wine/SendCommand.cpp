// Sends a command to a dialog of the program under test from outside, the
// way a menu choice or a button would: send_command.exe CAPTION ID. An
// empty caption names the dialog without one (About). Used to open and close
// the dialogs for the screenshots.

#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (HWND dialog = FindWindowA("#32770", argv[1])) {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), BN_CLICKED), 0);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}
