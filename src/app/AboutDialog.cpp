#include "app/AboutDialog.h"

#include <string>

#include "ui/ResourceText.h"
#include "res/resource.h"

AboutDialog::AboutDialog() : DialogBase(IDD_ABOUT) {}

BOOL AboutDialog::OnInitDialog() {
  // The credits continue the title's line; they begin with their own separator.
  std::string text = std::string("Hushgate V3.61") + LoadText(IDS_ABOUT_TEXT);
  SetDlgItemTextA(Handle(), IDC_ABOUT_TEXT, text.c_str());
  return TRUE;
}
