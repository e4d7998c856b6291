// The windows in the language chosen for them: the main window's buttons,
// menus and tree, the dialogs, and the engine's messages through the text
// source, all in English once English is chosen, whatever the system's
// language.

#include "app/AboutDialog.h"
#include "app/StatusInfoDialog.h"
#include "timeserver/TimeServerDialog.h"
#include "timeserver/TimeServerRegistry.h"
#include "wine/MainDialogFixture.h"
#include "wine/ModalDriver.h"

namespace {

class EnglishWindows : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    before_ = CurrentLanguage();
    UseLanguage(Language::kEnglish);
  }
  void TearDown() override {
    MainDialogTest::TearDown();
    UseLanguage(before_);
  }
  std::string MenuText(HMENU menu, UINT item, UINT flag) {
    char text[128] = {};
    GetMenuStringA(menu, item, text, sizeof text, flag);
    return text;
  }
  std::string Caption(HWND hwnd) {
    char text[128] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  Language before_ = Language::kGerman;
};

TEST_F(EnglishWindows, MainWindowButtonsMenusAndTreeAreEnglish) {
  MakeFullFakeSystem();
  Open();
  EXPECT_EQ("&Apply settings", ControlText(dialog_->Handle(), IDC_APPLY));
  EXPECT_EQ("&Exit", ControlText(dialog_->Handle(), IDCANCEL));
  HMENU menu = GetMenu(dialog_->Handle());
  EXPECT_EQ("Special", MenuText(menu, 0, MF_BYPOSITION));
  EXPECT_EQ("Check system &status", MenuText(menu, ID_STATUS_CHECK, MF_BYCOMMAND));
  EXPECT_EQ("&Mail to the author", MenuText(menu, ID_MAIL, MF_BYCOMMAND));
  EXPECT_EQ("No check for updates", TextOf(tree_, ItemOf(7)));
  EXPECT_EQ("Miscellaneous settings", TextOf(tree_, dialog_->Settings().CategoryItem(2)));
}

TEST_F(EnglishWindows, DialogsAndEngineMessagesAreEnglish) {
  StatusInfoDialog info(false);
  HWND dialog = info.Create(nullptr);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ("Special", Caption(dialog));
  EXPECT_EQ("Means: this function is already switched off.",
            ControlText(dialog, IDC_STATUS_OFF_TEXT));
  DestroyWindow(dialog);
  AboutDialog about;
  dialog = about.Create(nullptr);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(0u, ControlText(dialog, IDC_ABOUT_TEXT).find("Hushgate V3.61 \x96 privacy tool"));
  DestroyWindow(dialog);
  TimeServerDialog timeServer;
  dialog = timeServer.Create(nullptr);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ("Set time server", Caption(dialog));
  DestroyWindow(dialog);
  fake::Machine().messageBoxAnswers = {IDNO};
  ConfirmAndApplyTimeServer(nullptr, {1, "ntp.example.org"});
  ASSERT_EQ(1u, fake::Machine().messageBoxes.size());
  EXPECT_EQ(0u, fake::Machine().messageBoxes[0].text.find("Setting the time server means"))
      << fake::Machine().messageBoxes[0].text;
}

}  // namespace
