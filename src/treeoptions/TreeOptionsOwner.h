#pragma once
// What the tree options control reports to the window that owns it.

#include <windows.h>
#include <commctrl.h>

class TreeOptionsOwner {
 public:
  // The item under the mouse changed (nullptr: empty space).
  virtual void ShowHover(HTREEITEM item) = 0;
  // A check item was toggled with the mouse.
  virtual void EnableApplyButton(bool enable) = 0;
  // A right click on a setting that is already off; the point is in the
  // tree's client coordinates.
  virtual void ShowRevertMenu(POINT point, HTREEITEM item) = 0;

 protected:
  ~TreeOptionsOwner() = default;
};
