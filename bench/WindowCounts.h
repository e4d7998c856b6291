#pragma once
// What the windows of this thread were sent and painted since the last
// reset: tree-view messages, item changes, redraw switches, repaints. A
// hook counts them, so the measured code stays as it ships.

#include <windows.h>

struct WindowCounts {
  int treeMessages = 0;   // TVM_* sent to a tree-view
  int itemSets = 0;       // TVM_SETITEM: an image or data changed
  int redrawSwitches = 0;  // WM_SETREDRAW, to any window
  int repaints = 0;       // WM_PAINT and WM_NCPAINT handled, any window
  int scrollUpdates = 0;  // SBM_SETSCROLLINFO and WM_NCCALCSIZE, any window
};

WindowCounts& Windows();
// Counts from now on, for this thread, until StopCounting. The hooks slow
// every message down: nothing timed runs while they count.
void StartCounting();
void StopCounting();
