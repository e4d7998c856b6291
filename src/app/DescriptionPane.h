#pragma once
// The pale yellow rich-edit pane under the tree that shows the description
// of the item under the mouse.

#include <windows.h>

class DescriptionPane {
 public:
  bool Create(HWND parent, const RECT& rect);
  HWND Handle() const { return hwnd_; }
  void SetText(const char* text);

 private:
  HWND hwnd_ = nullptr;
};
