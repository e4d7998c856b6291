#include "treeoptions/CTreeOptionsEditors.h"

namespace {

HWND CreateChild(DWORD extendedStyle, const char* windowClass, const char* text, DWORD style,
                 HWND parent, const RECT& rect, int id) {
  return CreateWindowExA(extendedStyle, windowClass, text, style, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

CTreeOptionsEditor::~CTreeOptionsEditor() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool CTreeOptionsCombo::Create(HWND tree, const RECT& rect, int id) {
  hwnd_ = CreateChild(0, "COMBOBOX", "", WindowStyle(), tree, rect, id);
  return hwnd_ != nullptr;
}

bool CTreeOptionsEdit::Create(HWND tree, const RECT& rect, int id, const std::string& text) {
  hwnd_ = CreateChild(WS_EX_CLIENTEDGE, "Edit", text.c_str(), WindowStyle(), tree, rect, id);
  return hwnd_ != nullptr;
}
