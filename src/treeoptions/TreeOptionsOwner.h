#pragma once
// What the tree options control reports to the window that owns it.

#include <windows.h>
#include <commctrl.h>

class TreeOptionsOwner {
 public:
  // The item under the mouse changed (nullptr: empty space).
  virtual void ShowHover(HTREEITEM item) = 0;
  // The user changed a choice: toggled a check item or chose a radio item,
  // with the mouse or the keyboard.
  virtual void EnableApplyButton(bool enable) = 0;
  // A right click, the context-menu key or Shift+F10 on a setting that is
  // already off; the point is in the tree's client coordinates.
  virtual void ShowRevertMenu(POINT point, HTREEITEM item) = 0;
  // The selected item changed (nullptr: none).
  virtual void ShowSelected(HTREEITEM) {}

 protected:
  ~TreeOptionsOwner() = default;
};
