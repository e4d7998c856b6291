#include "WindowCounts.h"

#include <commctrl.h>

namespace {

void Count(HWND window, UINT message) {
  WindowCounts& counts = Windows();
  if (message >= TV_FIRST && message < TV_FIRST + 0x100) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, WC_TREEVIEWA) == 0) {
      ++counts.treeMessages;
      if (message == TVM_SETITEMA || message == TVM_SETITEMW) ++counts.itemSets;
    }
  }
  if (message == WM_SETREDRAW) ++counts.redrawSwitches;
  if (message == WM_PAINT || message == WM_NCPAINT) ++counts.repaints;
  if (message == SBM_SETSCROLLINFO || message == WM_NCCALCSIZE) ++counts.scrollUpdates;
}

LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    Count(sent->hwnd, sent->message);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// WM_PAINT comes through the queue, not as a sent message.
LRESULT CALLBACK QueueHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* taken = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && taken->message == WM_PAINT) ++Windows().repaints;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

WindowCounts& Windows() {
  static WindowCounts counts;
  return counts;
}

namespace {
HHOOK sentHook = nullptr;
HHOOK queueHook = nullptr;
}  // namespace

void StartCounting() {
  Windows() = WindowCounts();
  sentHook = SetWindowsHookExA(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
  queueHook = SetWindowsHookExA(WH_GETMESSAGE, QueueHook, nullptr, GetCurrentThreadId());
}

void StopCounting() {
  UnhookWindowsHookEx(sentHook);
  UnhookWindowsHookEx(queueHook);
}
