#include "app/StatusInfoDialog.h"

#include "ui/ResourceText.h"
#include "res/resource.h"

StatusInfoDialog::StatusInfoDialog(bool domainMember)
    : DialogBase(IDD_STATUS_INFO), domainMember_(domainMember) {}

BOOL StatusInfoDialog::OnInitDialog() {
  SetDlgItemTextA(Handle(), IDC_STATUS_NOTICE, LoadText(IDS_STATUS_NOTICE).c_str());
  SetDlgItemTextA(Handle(), IDC_STATUS_OFF_TEXT, LoadText(IDS_STATUS_OFF).c_str());
  SetDlgItemTextA(Handle(), IDC_STATUS_CHOSEN_TEXT, LoadText(IDS_STATUS_CHOSEN).c_str());
  SetDlgItemTextA(Handle(), IDC_STATUS_MACHINE,
                  LoadText(domainMember_ ? IDS_STATUS_DOMAIN : IDS_STATUS_WORKGROUP).c_str());
  return TRUE;
}
