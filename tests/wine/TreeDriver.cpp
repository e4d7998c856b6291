#include "wine/TreeDriver.h"

#include <cstring>

namespace {

LPARAM Coordinates(POINT point) { return MAKELPARAM(point.x, point.y); }

TVITEMA ReadItem(HWND tree, HTREEITEM item, UINT mask, char* text = nullptr, int size = 0) {
  TVITEMA tv = {};
  tv.mask = mask | TVIF_HANDLE;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = size;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return tv;
}

}  // namespace

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

POINT PointOnItem(HWND tree, HTREEITEM item) {
  // A user scrolls to an item before pointing at it.
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  // Wine updates the item rectangles once the scroll has been processed.
  PumpMessages();
  // TVM_GETITEMRECT takes the item in the rectangle it fills.
  RECT rect = {};
  std::memcpy(&rect, &item, sizeof item);
  SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
  return POINT{rect.left + 3, (rect.top + rect.bottom) / 2};
}

POINT EmptySpace(HWND tree) {
  RECT client;
  GetClientRect(tree, &client);
  return POINT{client.right / 2, client.bottom - 3};
}

void ClickItem(HWND tree, HTREEITEM item) {
  // The release is queued first: the tree-view watches for it after the
  // press, to tell a click from the start of a drag.
  POINT point = PointOnItem(tree, item);
  PostMessageA(tree, WM_LBUTTONUP, 0, Coordinates(point));
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, Coordinates(point));
  PumpMessages();
}

void RightClickAt(HWND tree, POINT point) {
  SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, Coordinates(point));
  PumpMessages();
}

void RightClickItem(HWND tree, HTREEITEM item) { RightClickAt(tree, PointOnItem(tree, item)); }

void MoveMouseTo(HWND tree, POINT point) {
  SendMessageA(tree, WM_MOUSEMOVE, 0, Coordinates(point));
  PumpMessages();
}

void MoveMouseOver(HWND tree, HTREEITEM item) { MoveMouseTo(tree, PointOnItem(tree, item)); }

void PressSpace(HWND tree) {
  SendMessageA(tree, WM_CHAR, ' ', 0x00390001);
  PumpMessages();
}

void SendKey(WORD key, bool shift) {
  if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
  keybd_event(static_cast<BYTE>(key), 0, 0, 0);
  keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
  if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
}

void TypeKey(WORD key, bool shift) {
  SendKey(key, shift);
  PumpMessages();
}

bool ArrowTo(HWND tree, HTREEITEM item) {
  SetForegroundWindow(GetAncestor(tree, GA_ROOT));
  SetFocus(tree);
  TypeKey(VK_HOME);
  for (int step = 0; step < 80 && CaretOf(tree) != item; ++step) TypeKey(VK_DOWN);
  return CaretOf(tree) == item;
}

std::vector<HTREEITEM> ChildrenOf(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> children;
  HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageA(
      tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
  while (child) {
    children.push_back(child);
    child = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
  }
  return children;
}

std::string TextOf(HWND tree, HTREEITEM item) {
  char text[512] = {};
  ReadItem(tree, item, TVIF_TEXT, text, sizeof text);
  return text;
}

int ImageOf(HWND tree, HTREEITEM item) { return ReadItem(tree, item, TVIF_IMAGE).iImage; }

int SelectedImageOf(HWND tree, HTREEITEM item) {
  return ReadItem(tree, item, TVIF_SELECTEDIMAGE).iSelectedImage;
}

LPARAM DataOf(HWND tree, HTREEITEM item) { return ReadItem(tree, item, TVIF_PARAM).lParam; }

HTREEITEM CaretOf(HWND tree) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}
