#include "ui/DialogBase.h"

#include "ui/ResourceText.h"

DialogBase::~DialogBase() {
  if (hwnd_ && !modal_) DestroyWindow(hwnd_);
}

INT_PTR DialogBase::RunModal(HWND parent) {
  modal_ = true;
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), DialogTemplate(templateId_), parent,
                                 Procedure, reinterpret_cast<LPARAM>(this));
}

HWND DialogBase::Create(HWND parent) {
  modal_ = false;
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), DialogTemplate(templateId_), parent,
                                    Procedure, reinterpret_cast<LPARAM>(this));
}

void DialogBase::Close(int result) {
  if (modal_)
    EndDialog(hwnd_, result);
  else
    DestroyWindow(hwnd_);
}

bool DialogBase::OnCommand(int id, int, HWND) {
  if (id != IDOK && id != IDCANCEL) return false;
  Close(id);
  return true;
}

bool DialogBase::OnNotify(NMHDR*, LRESULT*) { return false; }

void DialogBase::OnSize(int, int) {}

bool DialogBase::OnMessage(UINT, WPARAM, LPARAM, INT_PTR*) { return false; }

INT_PTR CALLBACK DialogBase::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    reinterpret_cast<DialogBase*>(lParam)->hwnd_ = hwnd;
  }
  auto* dialog = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!dialog) return FALSE;
  if (message == WM_NCDESTROY) {
    dialog->hwnd_ = nullptr;
    return FALSE;
  }
  try {
    return dialog->Dispatch(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the system's dialog code.
    return FALSE;
  }
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
      LRESULT notifyResult = 0;
      if (!OnNotify(reinterpret_cast<NMHDR*>(lParam), &notifyResult)) return FALSE;
      SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, notifyResult);
      return TRUE;
    }
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return FALSE;
  }
  return OnMessage(message, wParam, lParam, &result) ? result : FALSE;
}
