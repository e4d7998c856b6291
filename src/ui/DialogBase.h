#pragma once
// A dialog from a template in the program's language (ResourceText), with
// this object as its LPARAM, forwarding the messages it handles to virtual
// members. No exception leaves the dialog procedure.

#include <windows.h>

class DialogBase {
 public:
  explicit DialogBase(int templateId) : templateId_(templateId) {}
  virtual ~DialogBase();
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  INT_PTR RunModal(HWND parent);
  // A modeless instance, for tests that drive the window from outside.
  HWND Create(HWND parent);
  HWND Handle() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // True when the command was handled. Unhandled OK and Cancel close the
  // dialog, as the platform's dialogs do.
  virtual bool OnCommand(int id, int code, HWND control);
  virtual bool OnNotify(NMHDR* header, LRESULT* result);
  virtual void OnSize(int width, int height);
  // True when the message was handled; *result is what the procedure returns.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);
  void Close(int result);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};
