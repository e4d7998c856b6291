#include "app/StatusInfoDialog.h"

#include "ui/ResourceText.h"
#include "res/resource.h"

StatusInfoDialog::StatusInfoDialog(bool domainMember, bool x64)
    : DialogBase(IDD_STATUS_INFO), domainMember_(domainMember), x64_(x64) {}

BOOL StatusInfoDialog::OnInitDialog() {
  SetDlgItemTextA(Handle(), IDC_STATUS_NOTICE, LoadText(IDS_STATUS_NOTICE).c_str());
  SetDlgItemTextA(Handle(), IDC_STATUS_OFF_TEXT, LoadText(IDS_STATUS_OFF).c_str());
  SetDlgItemTextA(Handle(), IDC_STATUS_CHOSEN_TEXT, LoadText(IDS_STATUS_CHOSEN).c_str());
  SetDlgItemTextA(Handle(), IDC_STATUS_MACHINE,
                  LoadText(domainMember_ ? IDS_STATUS_DOMAIN : IDS_STATUS_WORKGROUP).c_str());
  if (x64_) AddX64Line();
  return TRUE;
}

// The template stays as 32-bit Windows shows it; on a 64-bit one the dialog
// grows by a line below the machine's, in the dialog's font.
void StatusInfoDialog::AddX64Line() {
  // Place and size in dialog units, converted apart as the dialog manager
  // does: as wide as the machine's line above it, 12 units lower.
  RECT place = {7, 89, 254, 10};
  RECT grown = {0, 0, 0, 12};
  MapDialogRect(Handle(), &place);
  MapDialogRect(Handle(), &grown);
  HWND text = CreateWindowExA(WS_EX_TRANSPARENT, "STATIC", LoadText(IDS_STATUS_X64).c_str(),
                              WS_CHILD | WS_VISIBLE | SS_LEFT, place.left, place.top, place.right,
                              place.bottom, Handle(), reinterpret_cast<HMENU>(IDC_STATUS_X64),
                              nullptr, nullptr);
  SendMessageA(text, WM_SETFONT, SendMessageA(Handle(), WM_GETFONT, 0, 0), FALSE);
  RECT frame;
  GetWindowRect(Handle(), &frame);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top + grown.bottom, SWP_NOMOVE | SWP_NOZORDER);
}
