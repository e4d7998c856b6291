// The main window on Wine's real controls over the in-memory system: which
// categories and settings it shows with which pictures, the apply button,
// the expert unlock, the description pane and the layout.

#include <gtest/gtest.h>

#include "common/DescribeValue.h"
#include "engine/Apply.h"
#include "engine/TextSource.h"
#include "wine/MainDialogFixture.h"

namespace {

TEST_F(MainDialogTest, FullSystemShowsEveryCategoryAndSettingInOrder) {
  MakeFullFakeSystem();
  Open();
  const int A = ImageCheckedAttention, L = ImageUncheckedDisabled, U = ImageUnchecked;
  std::vector<std::vector<std::string>> expected = {
      {CategoryLook(0), Look(1, A), Look(2, A), Look(3, A), Look(50, A), Look(51, A), Look(52, A),
       Look(53, A), Look(54, L)},
      {CategoryLook(1), Look(4, A), Look(5, A)},
      {CategoryLook(2), Look(19, A), Look(21, A), Look(16, U), Look(0, L), Look(22, U), Look(23, U),
       Look(24, U), Look(26, U), Look(27, U), Look(28, U)},
      {CategoryLook(3), Look(7, A), Look(6, A), Look(8, A), Look(29, U)},
      {CategoryLook(4), Look(9, A), Look(10, A), Look(11, A), Look(12, L), Look(25, A)},
      {CategoryLook(5), Look(13, ImageRadioOn), Look(14, ImageRadioOff), Look(15, ImageRadioOff)},
      {CategoryLook(6), Look(30, U)},
      {CategoryLook(7), Look(31, L), Look(32, A), Look(33, A), Look(34, A), Look(35, A), Look(36, A),
       Look(37, A), Look(38, A), Look(39, A), Look(40, U), Look(41, U), Look(42, A), Look(43, A),
       Look(44, A), Look(45, A), Look(46, L), Look(47, A), Look(48, A), Look(49, A)},
  };
  EXPECT_EQ(expected, Looks());
  EXPECT_EQ("Keine Überprüfung auf Updates", TextOf(tree_, ItemOf(7)));
  EXPECT_EQ(dialog_->Settings().CategoryItem(0), CaretOf(tree_));
  EXPECT_TRUE(ApplyEnabled());
}

TEST_F(MainDialogTest, BareOlderSystemShowsFourCategoriesAndAnEmptyOne) {
  fake::Machine().minorVersion = 0;
  Open();
  std::vector<std::string> categories;
  for (HTREEITEM category : ChildrenOf(tree_, nullptr)) categories.push_back(TextOf(tree_, category));
  EXPECT_EQ((std::vector<std::string>{"Diverse Einstellungen", "Dienste",
                                      "Microsoft Messenger (MSN)", "Regsvr32.dll's deregistrieren"}),
            categories);
  EXPECT_TRUE(ChildrenOf(tree_, dialog_->Settings().CategoryItem(6)).empty());
  EXPECT_TRUE(ChildrenOf(tree_, dialog_->Settings().CategoryItem(4)).empty());
}

TEST_F(MainDialogTest, EverythingRecommendedAlreadyOffShowsGreenTicksAndApplyStaysEnabled) {
  MakeFullFakeSystem();
  SystemAccess system;
  for (const SettingEntry& setting : AllSettings())
    if (setting.recommended) Apply(system, setting.id);
  Open();
  for (const SettingEntry& setting : AllSettings()) {
    // Internet Explorer 7's and 8's are not offered beside 6.
    if (setting.recommended && ItemOf(setting.id)) {
      EXPECT_EQ(ImageCheckedDisabled, Image(setting.id)) << setting.id;
    }
  }
  EXPECT_TRUE(ApplyEnabled());
}

TEST_F(MainDialogTest, ApplyRunsExactlyTheChosenSettingsInAscendingOrder) {
  MakeFullFakeSystem();
  Open();
  for (const SettingEntry& setting : AllSettings())
    if (Image(setting.id) == ImageCheckedAttention) ClickItem(tree_, ItemOf(setting.id));
  for (SettingId id : {23u, 8u, 2u}) ClickItem(tree_, ItemOf(id));
  size_t before = fake::Machine().registry.Changes().size();
  Command(IDC_APPLY);
  // The settings' own changes: the backup is the program's bookkeeping beside them.
  std::vector<std::string> changes;
  for (size_t i = before; i < fake::Machine().registry.Changes().size(); ++i)
    if (fake::Machine().registry.Changes()[i].find("\\Hushgate") == std::string::npos)
      changes.push_back(fake::Machine().registry.Changes()[i]);
  EXPECT_EQ((std::vector<std::string>{
                "set HKEY_CURRENT_USER\\Software\\Microsoft\\MediaPlayer\\Preferences\\SendUserGUID",
                "set HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
                "Settings\\EnableNegotiate",
                "set HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session "
                "Manager\\Memory Management\\ClearPageFileAtShutdown"}),
            changes);
  for (SettingId id : {2u, 8u, 23u}) EXPECT_EQ(ImageCheckedDisabled, Image(id)) << id;
  // The deselected recommended settings were not applied and are chosen again.
  EXPECT_EQ(ImageCheckedAttention, Image(1));
  EXPECT_EQ(ImageCheckedAttention, Image(9));
  EXPECT_FALSE(ApplyEnabled());
}

TEST_F(MainDialogTest, MessengerChoicesShowAsDoneAfterApply) {
  MakeFullFakeSystem();
  fake::Machine().onLaunch = [](const fake::LaunchRecord& launch) {
    if (launch.parameters.find("BLC.Remove") != std::string::npos)
      fake::Machine().registry.DeleteKey(HKEY_CLASSES_ROOT, kMessengerClass);
  };
  Open();
  ClickItem(tree_, ItemOf(14));
  EXPECT_EQ(ImageRadioOn, Image(14));
  EXPECT_EQ(ImageRadioOff, Image(13));
  Command(IDC_APPLY);
  EXPECT_EQ(ImageRadioOn, Image(13));
  EXPECT_EQ(ImageCheckedDisabled, Image(14));
  ClickItem(tree_, ItemOf(15));
  Command(IDC_APPLY);
  EXPECT_EQ(ImageRadioOn, Image(13));
  EXPECT_EQ(ImageCheckedDisabled, Image(15));
  EXPECT_EQ(ImageCheckedDisabled, Image(14));
}

TEST_F(MainDialogTest, ExpertSettingsAreUnlockedByTheMenuAndLockedAgainByRecommended) {
  MakeFullFakeSystem();
  fake::Machine().services.Find("Schedule")->startType = SERVICE_DISABLED;
  Open();
  EXPECT_EQ(ImageUncheckedDisabled, Image(0));
  EXPECT_EQ(ImageCheckedDisabled, Image(12));
  fake::Machine().services.Find("Schedule")->startType = SERVICE_AUTO_START;
  Command(ID_UNLOCK_EXPERT);
  EXPECT_EQ(ImageCheckedAttention, Image(0));
  EXPECT_EQ(ImageCheckedAttention, Image(12));
  Command(ID_RECOMMENDED);
  EXPECT_EQ(ImageUncheckedDisabled, Image(0));
  EXPECT_EQ(ImageUncheckedDisabled, Image(12));
  EXPECT_FALSE(ApplyEnabled());
}

TEST_F(MainDialogTest, ExpertSettingThatIsOnAgainShowsLocked) {
  MakeFullFakeSystem();
  fake::Machine().services.Find("Schedule")->startType = SERVICE_DISABLED;
  Open();
  EXPECT_EQ(ImageCheckedDisabled, Image(12));
  fake::Machine().services.Find("Schedule")->startType = SERVICE_AUTO_START;
  dialog_->Settings().RefreshSettingsTree();
  EXPECT_EQ(ImageUncheckedDisabled, Image(12));
}

TEST_F(MainDialogTest, SupportAccountItemShowsDoneOnceTheAccountIsGone) {
  MakeFullFakeSystem();
  Open();
  EXPECT_EQ(ImageUnchecked, Image(16));
  fake::Machine().accounts.clear();
  dialog_->Settings().RefreshSettingsTree();
  EXPECT_EQ(ImageCheckedDisabled, Image(16));
}

TEST_F(MainDialogTest, DescriptionPaneShowsTheHoveredItemsText) {
  MakeFullFakeSystem();
  Open();
  MoveMouseOver(tree_, ItemOf(1));
  EXPECT_EQ(PaneOf(1), PaneText());
  MoveMouseOver(tree_, dialog_->Settings().CategoryItem(4));
  EXPECT_EQ(LoadText(604), PaneText());
  MoveMouseOver(tree_, ItemOf(25));
  EXPECT_EQ(PaneOf(25), PaneText());
  EXPECT_FALSE(PaneText().empty());
}

// A setting a Group Policy decides shows the policy's picture, cannot be
// chosen, is never applied, and its pane names the deciding value.
TEST_F(MainDialogTest, SettingsDecidedByPolicyShowTheirPictureAndStayUnchosen) {
  MakeFullFakeSystem();
  fake::Machine().registry.PutNumber(
      HKEY_LOCAL_MACHINE, "Software\\Policies\\Microsoft\\PCHealth\\ErrorReporting", "DoReport", 1);
  fake::Machine().registry.PutNumber(
      HKEY_CURRENT_USER, "Software\\Policies\\Microsoft\\Messenger\\Client", "PreventAutoRun", 1);
  std::string inf = "\xFF\xFE";
  for (char c : std::string("[Service General Setting]\r\n\"wuauserv\",2,\"\"\r\n")) inf += {c, '\0'};
  fake::Machine().fileContents["c:\\windows\\security\\templates\\policies\\gpt00000.inf"] = inf;
  Open();
  EXPECT_EQ(ImagePolicy, Image(4));
  EXPECT_EQ(ImagePolicy, Image(10));
  EXPECT_EQ(ImagePolicy, Image(14));
  EXPECT_EQ(ImageCheckedAttention, Image(5));
  for (SettingId id : {4u, 10u, 14u}) {
    ClickItem(tree_, ItemOf(id));
    EXPECT_EQ(ImagePolicy, Image(id)) << id;
  }
  Command(ID_RECOMMENDED);
  EXPECT_EQ(ImagePolicy, Image(4));
  MoveMouseOver(tree_, ItemOf(4));
  const SettingEntry& setting = *FindSetting(4);
  EXPECT_EQ(LoadText(setting.descriptionId) + "\r\n\r\n" +
                FormatWith(LoadText(IDS_POLICY_PANE),
                           {"HKLM\\Software\\Policies\\Microsoft\\PCHealth\\ErrorReporting\\DoReport = 1"}) +
                "\r\n" + LoadText(setting.consequenceId) + "\r\n" + LoadText(setting.effectId),
            PaneText());
  Command(IDC_APPLY);
  EXPECT_EQ("type 4: 01 00 00 00",
            DescribeValue(REG_DWORD, fake::Machine().registry.GetValue(
                                         HKEY_LOCAL_MACHINE,
                                         "Software\\Policies\\Microsoft\\PCHealth\\ErrorReporting",
                                         "DoReport")->bytes));
  EXPECT_FALSE(fake::Machine().registry.GetValue(
      HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting", "DoReport"));
  EXPECT_EQ(SERVICE_AUTO_START, fake::Machine().services.Find("wuauserv")->startType);
  EXPECT_EQ(ImagePolicy, Image(4));
}

TEST_F(MainDialogTest, WithoutAdministratorTheStartSaysOnlyOwnSettingsChange) {
  fake::Machine().administrator = false;
  Open();
  ASSERT_EQ(1u, fake::Machine().messageBoxes.size());
  EXPECT_EQ(LoadText(IDS_USER_SETTINGS_ONLY), fake::Machine().messageBoxes[0].text);
  EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), fake::Machine().messageBoxes[0].type);
}

TEST_F(MainDialogTest, MovingFromAnItemToEmptySpaceEmptiesThePane) {
  fake::Machine().minorVersion = 0;  // a short tree, with room below it
  Open();
  MoveMouseOver(tree_, ItemOf(23));
  EXPECT_EQ(PaneOf(23), PaneText());
  MoveMouseTo(tree_, EmptySpace(tree_));
  EXPECT_EQ("", PaneText());
}

RECT ChildRect(HWND parent, HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(MainDialogTest, LayoutFollowsTheClientArea) {
  Open();
  SetWindowPos(dialog_->Handle(), nullptr, 0, 0, 640, 520, SWP_NOZORDER | SWP_NOMOVE);
  PumpMessages();
  RECT client;
  GetClientRect(dialog_->Handle(), &client);
  const int W = client.right, H = client.bottom;
  auto expectRect = [&](HWND child, int x, int y, int w, int h) {
    RECT r = ChildRect(dialog_->Handle(), child);
    EXPECT_EQ((std::vector<LONG>{x, y, w, h}),
              (std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}));
  };
  expectRect(tree_, 0, 0, W, H - 100);
  expectRect(dialog_->DescriptionHandle(), 0, H - 100, W, 70);
  expectRect(dialog_->Item(IDC_APPLY), 0, H - 29, 140, 24);
  expectRect(dialog_->Item(IDCANCEL), W - 140, H - 29, 140, 24);
}

TEST_F(MainDialogTest, WindowHasItsTitleMenuAndIcon) {
  Open();
  char title[64] = {};
  GetWindowTextA(dialog_->Handle(), title, sizeof title);
  EXPECT_STREQ("Hushgate V3.61", title);
  HMENU menu = GetMenu(dialog_->Handle());
  ASSERT_NE(nullptr, menu);
  EXPECT_EQ(2, GetMenuItemCount(menu));
  EXPECT_NE(0, SendMessageA(dialog_->Handle(), WM_GETICON, ICON_BIG, 0));
}

}  // namespace
