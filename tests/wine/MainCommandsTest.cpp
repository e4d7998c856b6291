// The menu commands of the main window over the in-memory system: reset all,
// the single revert from the context menu, the status information, the
// About and time-server dialogs, the web page and the mail.

#include "engine/Apply.h"
#include "wine/MainDialogFixture.h"
#include "wine/ModalDriver.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kCannotRevert[] = "Diese Funktion kann nicht zurückgesetzt werden.";
const char kMessengerMissing[] =
    "Der MS Messenger ist auf diesem System nicht installiert, somit kann diese Funktion nicht "
    "rückgängig gemacht werden.";

class MainCommands : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    MakeFullFakeSystem();
  }
  void ApplyInFake(SettingId id) {
    SystemAccess system;
    Apply(system, id);
  }
  size_t ChangeCount() { return fake::Machine().registry.Changes().size(); }
  std::string DoReport() {
    auto value = fake::Machine().registry.GetValue(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport");
    return value ? std::to_string(value->bytes[0]) : "missing";
  }
  // A right click on the item opens the context menu; it is closed again,
  // leaving the item as the revert target.
  void OpenContextMenuOn(SettingId id) {
    CloseMenuWhenShown();
    RightClickItem(tree_, ItemOf(id));
    ASSERT_EQ(ItemOf(id), dialog_->RevertTarget());
  }
  const std::vector<fake::MessageBoxCall>& Boxes() { return fake::Machine().messageBoxes; }
};

TEST_F(MainCommands, ResetAllAnsweredWithCancelChangesNothing) {
  Open();
  size_t before = ChangeCount();
  fake::Machine().messageBoxAnswers = {IDCANCEL};
  Command(ID_RESET_ALL);
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(LoadText(IDS_RESET_CONFIRM), Boxes()[0].text);
  EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONEXCLAMATION), Boxes()[0].type);
  EXPECT_EQ(dialog_->Handle(), Boxes()[0].owner);
  EXPECT_EQ(before, ChangeCount());
  EXPECT_TRUE(fake::Machine().launches.empty());
}

TEST_F(MainCommands, ResetAllRevertsEverythingReportsAndEnablesApply) {
  ApplyInFake(4);
  fake::Machine().registry.DeleteKey(HKEY_CLASSES_ROOT, kMessengerClass);
  Open();
  EXPECT_EQ(ImageCheckedDisabled, Image(4));
  Command(ID_RESET_ALL);
  std::vector<std::string> texts;
  for (const fake::MessageBoxCall& box : Boxes()) texts.push_back(box.text);
  // The Messenger revert fails with its own message; the completion follows all the same.
  EXPECT_EQ((std::vector<std::string>{LoadText(IDS_RESET_CONFIRM), kMessengerMissing,
                                      LoadText(IDS_RESET_DONE)}),
            texts);
  EXPECT_EQ("1", DoReport());
  EXPECT_EQ(ImageCheckedAttention, Image(4));
  EXPECT_TRUE(ApplyEnabled());
}

TEST_F(MainCommands, SettingsThatCannotBeRevertedShowTheMessageAndRevertNothing) {
  fake::Machine().registry.DeleteKey(HKEY_CLASSES_ROOT, kMessengerClass);
  HKEY key;
  fake::Machine().registry.OpenKey(HKEY_LOCAL_MACHINE,
                                   (std::string(kExtensions) + "\\" + kAlexaExtension).c_str(),
                                   KEY_ALL_ACCESS, &key);
  fake::Machine().registry.DeleteValue(key, "Script");
  fake::Machine().registry.CloseKey(key);
  Open();
  // The support account's item stays once the account is gone.
  fake::Machine().accounts.clear();
  dialog_->Settings().RefreshSettingsTree();
  for (SettingId id : {0u, 15u, 16u}) {
    SCOPED_TRACE(id);
    ASSERT_EQ(ImageCheckedDisabled, Image(id));
    size_t before = ChangeCount();
    fake::Machine().messageBoxes.clear();
    OpenContextMenuOn(id);
    Command(ID_REVERT);
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ(kCannotRevert, Boxes()[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), Boxes()[0].type);
    EXPECT_EQ(before, ChangeCount());
  }
  EXPECT_TRUE(fake::Machine().launches.empty());
}

TEST_F(MainCommands, RevertFromTheContextMenuWaitsASecondThenRefreshes) {
  ApplyInFake(4);
  Open();
  OpenContextMenuOn(4);
  Command(ID_REVERT);
  EXPECT_EQ("1", DoReport());
  EXPECT_EQ(std::vector<DWORD>{1000}, fake::Machine().pauses);
  EXPECT_EQ(ImageCheckedAttention, Image(4));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(MainCommands, StatusInformationClosedWithEscapeStillRefreshesTheTree) {
  Open();
  EXPECT_EQ(ImageUnchecked, Image(23));
  ApplyInFake(23);
  std::vector<std::string> texts;
  CloseDialogWhenShown("Spezial", 0,
                       {IDC_STATUS_NOTICE, IDC_STATUS_OFF_TEXT, IDC_STATUS_CHOSEN_TEXT}, &texts);
  Command(ID_STATUS_CHECK);
  EXPECT_EQ((std::vector<std::string>{LoadText(IDS_STATUS_NOTICE), LoadText(IDS_STATUS_OFF),
                                      LoadText(IDS_STATUS_CHOSEN)}),
            texts);
  EXPECT_EQ(ImageCheckedDisabled, Image(23));
}

TEST_F(MainCommands, AboutAndTimeServerDialogsLeaveTheTreeAsItWas) {
  Open();
  ApplyInFake(23);
  std::vector<std::string> about;
  CloseDialogWhenShown("", IDOK, {IDC_ABOUT_TEXT}, &about);
  Command(ID_ABOUT);
  ASSERT_EQ(1u, about.size());
  EXPECT_EQ("Hushgate V3.61" + LoadText(IDS_ABOUT_TEXT), about[0]);
  CloseDialogWhenShown("TimeServer festlegen", IDCANCEL);
  Command(ID_TIME_SERVER);
  EXPECT_EQ(ImageUnchecked, Image(23));
  EXPECT_FALSE(FindDialog("TimeServer festlegen"));
}

TEST_F(MainCommands, HomepageAndMailOpenThroughTheShell) {
  Open();
  Command(ID_HOMEPAGE);
  Command(ID_MAIL);
  EXPECT_EQ((std::vector<std::string>{"http://www.hushgate.example/",
                                      "mailto:autor@hushgate.example?Subject=Hushgate3"}),
            fake::Machine().shellOpens);
}

TEST_F(MainCommands, WithoutAdministratorRightsApplyAndRevertsRunToTheirEnd) {
  ApplyInFake(23);
  auto& reg = fake::Machine().registry;
  for (HKEY machineWide : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_USERS})
    reg.SetTreeAccess(machineWide, true, false);
  fake::Machine().services.refuseManager = true;
  Open();
  size_t before = ChangeCount();
  Command(IDC_APPLY);
  Command(ID_RESET_ALL);
  OpenContextMenuOn(23);
  Command(ID_REVERT);
  const auto& changes = reg.Changes();
  for (size_t i = before; i < changes.size(); ++i)
    EXPECT_NE(std::string::npos, changes[i].find(" HKEY_CURRENT_USER\\")) << changes[i];
  EXPECT_EQ("missing", DoReport());
  EXPECT_EQ(ImageCheckedDisabled, Image(23));
  EXPECT_EQ(ImageCheckedAttention, Image(4));
}

}  // namespace
