// The menu commands of the main window over the in-memory system: reset all,
// the single revert from the context menu, the status information, the
// About and time-server dialogs, the web page and the mail.

#include <iterator>

#include "engine/Apply.h"
#include "engine/RecordedChanges.h"
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

TEST_F(MainCommands, UndoSaysWhenThereIsNoBackupAndElseRestoresAfterYes) {
  Open();
  Command(ID_UNDO);
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(LoadText(IDS_NO_BACKUP), Boxes()[0].text);
  SystemAccess system;
  CaptureBeforeApply(system, 4);
  ApplyAndReport(system, 4);
  dialog_->Settings().RefreshSettingsTree();
  EXPECT_EQ(ImageCheckedDisabled, Image(4));
  fake::Machine().messageBoxes.clear();
  Command(ID_UNDO);
  ASSERT_EQ(2u, Boxes().size());
  EXPECT_NE(std::string::npos, Boxes()[0].text.find(LoadText(FindSetting(4)->labelId)));
  EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), Boxes()[0].type);
  EXPECT_EQ(LoadText(IDS_UNDO_DONE), Boxes()[1].text);
  EXPECT_EQ("missing", DoReport());
  EXPECT_EQ(ImageCheckedAttention, Image(4));
}

// No silent failure: without rights the backup question comes first (No is
// the default button), and after apply every chosen setting still on is named.
TEST_F(MainCommands, ApplyThatCannotSucceedAsksAboutTheBackupAndNamesWhatFailed) {
  for (HKEY machineWide : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_USERS})
    fake::Machine().registry.SetTreeAccess(machineWide, true, false);
  Open();
  fake::Machine().messageBoxAnswers = {IDNO};
  Command(IDC_APPLY);
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(LoadText(IDS_NO_BACKUP_ASK), Boxes()[0].text);
  EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), Boxes()[0].type);
  EXPECT_EQ("missing", DoReport());
  fake::Machine().messageBoxAnswers = {IDYES};
  Command(IDC_APPLY);
  ASSERT_EQ(3u, Boxes().size());
  const std::string& failed = Boxes()[2].text;
  EXPECT_EQ(0u, failed.find("Folgende Einstellungen wurden nicht übernommen:")) << failed;
  EXPECT_NE(std::string::npos, failed.find(LoadText(FindSetting(4)->labelId))) << failed;
  EXPECT_EQ(std::string::npos, failed.find(LoadText(FindSetting(1)->labelId))) << failed;
}

// Asked for in the menu, the restore point frames apply; one that cannot be
// made is a question, No by default, and No changes nothing. What takes
// effect later is named after apply.
TEST_F(MainCommands, RestorePointFromTheMenuFramesApplyOrAsksFirst) {
  Open();
  Command(ID_RESTORE_POINT);
  fake::Machine().restoreLibraryPresent = false;
  fake::Machine().messageBoxAnswers = {IDNO};
  size_t before = ChangeCount();
  Command(IDC_APPLY);
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(LoadText(IDS_RESTORE_POINT_ASK), Boxes()[0].text);
  EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), Boxes()[0].type);
  EXPECT_EQ(before, ChangeCount());
  fake::Machine().restoreLibraryPresent = true;
  Command(IDC_APPLY);
  const auto& points = fake::Machine().restorePoints;
  ASSERT_EQ(2u, points.size());
  EXPECT_EQ(before, points[0].registryChangesBefore);
  EXPECT_EQ(ChangeCount(), points[1].registryChangesBefore);
  EXPECT_EQ(DWORD(MODIFY_SETTINGS), points[1].pointType);
  EXPECT_EQ("0", DoReport());
  ASSERT_EQ(2u, Boxes().size());
  EXPECT_EQ(0u, Boxes()[1].text.find("Erst nach der nächsten Anmeldung oder einem Neustart"))
      << Boxes()[1].text;
  EXPECT_NE(std::string::npos, Boxes()[1].text.find(LoadText(FindSetting(21)->labelId)));
  EXPECT_EQ(std::string::npos, Boxes()[1].text.find(LoadText(FindSetting(4)->labelId)));
}

// The common Save dialog of this thread: the one with a file-name field,
// control 1148.
BOOL CALLBACK FindSaveDialog(HWND hwnd, LPARAM found) {
  char name[32] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string(name) != "#32770" || !GetDlgItem(hwnd, 1148)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

void FillSaveDialog(const std::string& file) {
  RunSoon([file] {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSaveDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return FillSaveDialog(file);  // not shown yet: look again
    SetDlgItemTextA(dialog, 1148, file.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
}

std::string Lowered(std::string path) {
  for (char& c : path) c = char(tolower(static_cast<unsigned char>(c)));
  return path;
}

std::string FakeFile(const std::string& path) { return fake::Machine().fileContents[Lowered(path)]; }

TEST_F(MainCommands, StatusReportIsSavedWhereTheUserPicks) {
  Open();
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string file = std::string(folder) + "hushgate-report-test.txt";
  DeleteFileA(file.c_str());
  FillSaveDialog(file);
  Command(ID_SAVE_REPORT);
  // The window writes its files through the system's seam: here the fake's.
  const std::string report = FakeFile(file);
  EXPECT_EQ(0u, report.find("Hushgate 3.61\tPC-HALLE3\tVerwalter\t")) << report;
  EXPECT_NE(std::string::npos, report.find("\r\n4\ton\tno\t" + LoadText(FindSetting(4)->labelId)))
      << report;
  DeleteFileA(file.c_str());
}

// The profile functions read the fake, the Open dialog the disk, which must
// have the file too.
std::string ProfileOnDisk() {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + "hushgate-profile-window.ini";
  CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return path;
}

// Saved through the Save dialog, changed, loaded through the Open dialog:
// the choice comes back as it was saved.
TEST_F(MainCommands, ProfileSavedFromTheChoiceLoadsItBack) {
  Open();
  const std::vector<SettingId> saved = dialog_->Settings().ChosenSettings();
  ASSERT_FALSE(saved.empty());
  const std::string file = ProfileOnDisk();
  DeleteFileA(file.c_str());
  FillSaveDialog(file);
  Command(ID_SAVE_PROFILE);
  const std::string text = FakeFile(file);
  EXPECT_NE(std::string::npos, text.find("\r\n4=off\r\n")) << text;
  EXPECT_NE(std::string::npos, text.find("\r\n22=leave\r\n")) << text;
  dialog_->Tree().SetChecked(ItemOf(4), false);
  dialog_->Tree().SetChecked(ItemOf(22), true);
  ProfileOnDisk();
  FillSaveDialog(file);
  Command(ID_LOAD_PROFILE);
  EXPECT_EQ(saved, dialog_->Settings().ChosenSettings());
  EXPECT_TRUE(Boxes().empty());
  DeleteFileA(file.c_str());
}

// An on entry for a setting that is off is asked for, No by default, and
// done only on Yes; a locked expert setting and an unknown entry are named
// in one message, after which the choice waits for the apply button.
TEST_F(MainCommands, LoadedProfileAsksBeforeSwitchingOnAndNamesWhatItSkips) {
  ApplyInFake(4);
  const std::string file = ProfileOnDisk();
  fake::Machine().fileContents[Lowered(file)] = "[Settings]\r\n4=on\r\n0=off\r\n13=off\r\n22=off\r\n";
  Open();
  size_t before = ChangeCount();
  fake::Machine().messageBoxAnswers = {IDNO, IDOK};
  FillSaveDialog(file);
  Command(ID_LOAD_PROFILE);
  ASSERT_EQ(2u, Boxes().size());
  EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), Boxes()[0].type);
  EXPECT_NE(std::string::npos, Boxes()[0].text.find(LoadText(FindSetting(4)->labelId)));
  EXPECT_NE(std::string::npos, Boxes()[1].text.find("13=off")) << Boxes()[1].text;
  EXPECT_NE(std::string::npos, Boxes()[1].text.find(LoadText(FindSetting(0)->labelId)));
  EXPECT_EQ(before, ChangeCount());
  EXPECT_EQ("0", DoReport());
  EXPECT_EQ(ImageChecked, Image(22));
  EXPECT_EQ(ImageUnchecked, Image(5));
  EXPECT_EQ(ImageUncheckedDisabled, Image(0));
  EXPECT_TRUE(ApplyEnabled());

  fake::Machine().messageBoxes.clear();
  fake::Machine().messageBoxAnswers = {IDYES, IDOK};
  FillSaveDialog(file);
  Command(ID_LOAD_PROFILE);
  DeleteFileA(file.c_str());
  EXPECT_EQ("1", DoReport());
  EXPECT_EQ(ImageChecked, Image(22));
  EXPECT_TRUE(ApplyEnabled());
}

// Everything a mouse user does, by keys alone: the description follows the
// caret, Shift+F10 and the context-menu key open the revert menu of a
// setting that is off, and every change of choice enables apply.
TEST_F(MainCommands, EverythingFromTheKeyboard) {
  ApplyInFake(23);
  ApplyInFake(22);
  Open();
  ASSERT_TRUE(ArrowTo(tree_, ItemOf(23)));
  EXPECT_EQ(PaneOf(23), PaneText());
  // The menu's own loop reads the keys.
  WhenMenuShown([] { SendKey(VK_DOWN); SendKey(VK_RETURN); });
  TypeKey(VK_F10, true);
  EXPECT_EQ(ItemOf(23), dialog_->RevertTarget());
  EXPECT_EQ(ImageUnchecked, Image(23));
  ASSERT_TRUE(ArrowTo(tree_, ItemOf(22)));
  CloseMenuWhenShown();
  TypeKey(VK_APPS);
  EXPECT_EQ(ItemOf(22), dialog_->RevertTarget());

  CloseDialogWhenShown("Spezial", IDOK);
  Command(ID_STATUS_CHECK);
  ASSERT_FALSE(ApplyEnabled());
  ASSERT_TRUE(ArrowTo(tree_, ItemOf(23)));
  TypeKey(VK_SPACE);
  EXPECT_EQ(ImageChecked, Image(23));
  EXPECT_TRUE(ApplyEnabled());

  CloseDialogWhenShown("Spezial", IDOK);
  Command(ID_STATUS_CHECK);
  ASSERT_FALSE(ApplyEnabled());
  ASSERT_TRUE(ArrowTo(tree_, ItemOf(14)));
  TypeKey(VK_SPACE);
  EXPECT_EQ(ImageRadioOn, Image(14));
  EXPECT_TRUE(ApplyEnabled());
}

}  // namespace
