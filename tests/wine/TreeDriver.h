#pragma once
// Drives a real tree-view the way a user would (clicks, keys, mouse moves
// sent to its window) and reads its items back.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// Dispatches whatever the window has queued, so a test sees the settled state.
void PumpMessages();

void ClickItem(HWND tree, HTREEITEM item);
void RightClickItem(HWND tree, HTREEITEM item);
void RightClickAt(HWND tree, POINT point);
void MoveMouseOver(HWND tree, HTREEITEM item);
void MoveMouseTo(HWND tree, POINT point);
void PressSpace(HWND tree);
// Real key strokes, as the keyboard sends them, to the window with the focus.
// SendKey only queues them, for a modal loop (a menu's) to read; TypeKey
// dispatches them too.
void SendKey(WORD key, bool shift = false);
void TypeKey(WORD key, bool shift = false);
// Moves the tree's caret with the arrow keys until it reaches the item;
// false when it never does.
bool ArrowTo(HWND tree, HTREEITEM item);
POINT PointOnItem(HWND tree, HTREEITEM item);
// A point below the last item, where no item is.
POINT EmptySpace(HWND tree);

std::vector<HTREEITEM> ChildrenOf(HWND tree, HTREEITEM parent);  // parent nullptr: the roots
std::string TextOf(HWND tree, HTREEITEM item);
int ImageOf(HWND tree, HTREEITEM item);
int SelectedImageOf(HWND tree, HTREEITEM item);
LPARAM DataOf(HWND tree, HTREEITEM item);
HTREEITEM CaretOf(HWND tree);
