#include "wine/ModalDriver.h"

#include <deque>

namespace {

std::deque<std::function<void()>>& Pending() {
  static std::deque<std::function<void()>> pending;
  return pending;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (Pending().empty()) return;
  std::function<void()> action = Pending().front();
  Pending().pop_front();
  action();
}

struct Search {
  const char* className;
  const char* caption;  // nullptr: any
  HWND found;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  char className[32] = {};
  GetClassNameA(hwnd, className, sizeof className);
  char caption[256] = {};
  GetWindowTextA(hwnd, caption, sizeof caption);
  if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) &&
      std::string(className) == search->className &&
      (!search->caption || std::string(caption) == search->caption)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void RunSoon(std::function<void()> action) {
  Pending().push_back(std::move(action));
  SetTimer(nullptr, 0, 30, OnTimer);
}

HWND FindDialog(const char* caption) {
  Search search{"#32770", caption, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ControlText(HWND dialog, int id) {
  char text[2048] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void CloseMenuWhenShown() {
  RunSoon([] {
    // On a busy machine the timer can fire before the menu is up; closing
    // then would leave the menu waiting for a user.
    Search search{"#32768", nullptr, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (search.found)
      EndMenu();
    else
      CloseMenuWhenShown();
  });
}

void CloseDialogWhenShown(const char* caption, int command, std::vector<int> controls,
                          std::vector<std::string>* texts) {
  RunSoon([=] {
    HWND dialog = FindDialog(caption);
    if (!dialog) {
      CloseDialogWhenShown(caption, command, controls, texts);  // not shown yet: look again
      return;
    }
    for (int id : controls)
      if (texts) texts->push_back(ControlText(dialog, id));
    if (command)
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    else
      PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  });
}
