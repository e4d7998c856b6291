#pragma once
// Chooses or adds the Internet time server and switches time synchronisation
// back on. The registry work lives in TimeServerRegistry.

#include "ui/DialogBase.h"

class TimeServerDialog : public DialogBase {
 public:
  TimeServerDialog();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void FillServerList();
  void AddServer();
  void ApplyServer();

  HWND addButton_ = nullptr;
  HWND address_ = nullptr;
  HWND applyButton_ = nullptr;
  HWND list_ = nullptr;
};
