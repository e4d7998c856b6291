#include "app/AboutDialog.h"

#include <string>

#include "res/resource.h"
#include "system/ProductName.h"
#include "ui/ResourceText.h"

AboutDialog::AboutDialog() : DialogBase(IDD_ABOUT) {}

BOOL AboutDialog::OnInitDialog() {
  // The credits continue the title's line; they begin with their own separator.
  std::string text = ProductTitle() + LoadText(IDS_ABOUT_TEXT);
  SetDlgItemTextA(Handle(), IDC_ABOUT_TEXT, text.c_str());
  return TRUE;
}
