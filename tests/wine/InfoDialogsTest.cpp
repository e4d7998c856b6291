// The About, status-information and time-server dialogs opened on their own:
// every control at its place with its text, and the time-server dialog's
// list and buttons over the in-memory registry.

#include <gtest/gtest.h>

#include <memory>

#include "app/AboutDialog.h"
#include "ui/ResourceText.h"
#include "app/StatusInfoDialog.h"
#include "platform/fake/FakeMachine.h"
#include "res/resource.h"
#include "timeserver/TimeServerDialog.h"
#include "wine/ModalDriver.h"
#include "wine/TreeDriver.h"

namespace {

struct Placed {
  int id;
  int x, y, width, height;
};

// Child rectangles in dialog units, as the template places them.
void ExpectPlaced(HWND dialog, const Placed& expected) {
  // Position and size are converted separately, as the dialog manager does.
  RECT units = {expected.x, expected.y, expected.width, expected.height};
  MapDialogRect(dialog, &units);
  units.right += units.left;
  units.bottom += units.top;
  HWND child = GetDlgItem(dialog, expected.id);
  ASSERT_NE(nullptr, child) << expected.id;
  RECT actual;
  GetWindowRect(child, &actual);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
  EXPECT_EQ((std::vector<LONG>{units.left, units.top, units.right, units.bottom}),
            (std::vector<LONG>{actual.left, actual.top, actual.right, actual.bottom}))
      << "control " << expected.id;
}

// The icon statics of the dialog, in template order, by the icon they show.
std::vector<HICON> IconsOf(HWND dialog) {
  std::vector<HICON> icons;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      icons.push_back(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
  return icons;
}

TEST(AboutDialogTest, TitleRunsIntoTheCreditsAndTheLegendHasFiveIcons) {
  AboutDialog about;
  HWND dialog = about.Create(nullptr);
  ASSERT_NE(nullptr, dialog);
  std::string text = ControlText(dialog, IDC_ABOUT_TEXT);
  EXPECT_EQ("Hushgate V3.61 \x96 ", text.substr(0, 17));
  EXPECT_EQ("Hushgate V3.61" + LoadText(IDS_ABOUT_TEXT), text);
  EXPECT_EQ(0, GetWindowLongA(dialog, GWL_STYLE) & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_ABOUT_TEXT), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  ExpectPlaced(dialog, {IDOK, 269, 229, 50, 14});
  ExpectPlaced(dialog, {IDC_ABOUT_TEXT, 7, 7, 306, 116});
  std::vector<HICON> icons = IconsOf(dialog);
  ASSERT_EQ(6u, icons.size());
  for (HICON icon : icons) EXPECT_NE(nullptr, icon);
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
  DestroyWindow(dialog);
}

TEST(StatusInfoDialogTest, ShowsTheNoticeAndWhatTheTwoResultsLookLike) {
  StatusInfoDialog info(false);
  HWND dialog = info.Create(nullptr);
  ASSERT_NE(nullptr, dialog);
  char caption[32] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  EXPECT_STREQ("Spezial", caption);
  EXPECT_EQ(LoadText(IDS_STATUS_NOTICE), ControlText(dialog, IDC_STATUS_NOTICE));
  EXPECT_EQ(LoadText(IDS_STATUS_OFF), ControlText(dialog, IDC_STATUS_OFF_TEXT));
  EXPECT_EQ(LoadText(IDS_STATUS_CHOSEN), ControlText(dialog, IDC_STATUS_CHOSEN_TEXT));
  for (const Placed& placed : {Placed{IDOK, 211, 57, 50, 14}, Placed{IDC_STATUS_NOTICE, 7, 7, 254, 16},
                               Placed{IDC_STATUS_OFF_TEXT, 32, 30, 229, 19},
                               Placed{IDC_STATUS_CHOSEN_TEXT, 32, 51, 177, 22},
                               Placed{IDC_STATUS_MACHINE, 7, 77, 254, 10}})
    ExpectPlaced(dialog, placed);
  EXPECT_EQ(2u, IconsOf(dialog).size());
  EXPECT_EQ(LoadText(IDS_STATUS_WORKGROUP), ControlText(dialog, IDC_STATUS_MACHINE));
  DestroyWindow(dialog);
}

TEST(StatusInfoDialogTest, SaysWhenTheMachineIsADomainMember) {
  StatusInfoDialog info(true);
  HWND dialog = info.Create(nullptr);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(LoadText(IDS_STATUS_DOMAIN), ControlText(dialog, IDC_STATUS_MACHINE));
  DestroyWindow(dialog);
}

// On a 64-bit Windows, as the report's header has one more field.
TEST(StatusInfoDialogTest, GrowsByALineThatSaysX64OnA64BitWindows) {
  StatusInfoDialog plain(false);
  StatusInfoDialog x64(false, true);
  HWND dialogs[] = {plain.Create(nullptr), x64.Create(nullptr)};
  ASSERT_NE(nullptr, dialogs[1]);
  EXPECT_EQ(nullptr, GetDlgItem(dialogs[0], IDC_STATUS_X64));
  EXPECT_EQ(LoadText(IDS_STATUS_X64), ControlText(dialogs[1], IDC_STATUS_X64));
  ExpectPlaced(dialogs[1], {IDC_STATUS_X64, 7, 89, 254, 10});
  RECT client[2];
  RECT line = {0, 0, 0, 12};
  MapDialogRect(dialogs[1], &line);
  for (int i = 0; i < 2; ++i) GetClientRect(dialogs[i], &client[i]);
  EXPECT_EQ(client[0].bottom + line.bottom, client[1].bottom);
  for (HWND dialog : dialogs) DestroyWindow(dialog);
}

const char kServers[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers";
const char kParameters[] = "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";

class TimeServerDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetMachine();
    auto& reg = fake::Machine().registry;
    reg.PutString(HKEY_LOCAL_MACHINE, kServers, "", "2");
    reg.PutString(HKEY_LOCAL_MACHINE, kServers, "1", "time.windows.com");
    reg.PutString(HKEY_LOCAL_MACHINE, kServers, "2", "time.nist.gov");
    reg.AddKey(HKEY_LOCAL_MACHINE, kParameters);
    dialog_ = timeServer_.Create(nullptr);
    ASSERT_NE(nullptr, dialog_);
    list_ = GetDlgItem(dialog_, IDC_SERVER_LIST);
  }
  void TearDown() override { DestroyWindow(dialog_); }
  void Notify(int id, int code) {
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
    PumpMessages();
  }
  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < SendMessageA(list_, CB_GETCOUNT, 0, 0); ++i) {
      char text[256] = {};
      SendMessageA(list_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    return entries;
  }
  bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(dialog_, id)); }

  TimeServerDialog timeServer_;
  HWND dialog_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(TimeServerDialogTest, ListsTheServersWithTheCurrentOneSelectedAndButtonsDisabled) {
  EXPECT_EQ((std::vector<std::string>{"time.windows.com", "time.nist.gov"}), Entries());
  EXPECT_EQ(1, SendMessageA(list_, CB_GETCURSEL, 0, 0));
  EXPECT_FALSE(Enabled(IDC_APPLY_SERVER));
  EXPECT_FALSE(Enabled(IDC_ADD_SERVER));
  for (const Placed& placed : {Placed{IDC_SERVER_ADDRESS, 14, 73, 126, 14},
                               Placed{IDC_APPLY_SERVER, 50, 36, 50, 14},
                               Placed{IDC_ADD_SERVER, 50, 91, 50, 14}, Placed{IDOK, 7, 115, 50, 14},
                               Placed{IDCANCEL, 98, 115, 50, 14}})
    ExpectPlaced(dialog_, placed);
}

TEST_F(TimeServerDialogTest, TypingEnablesAddAndPickingEnablesApplyForGood) {
  SetDlgItemTextA(dialog_, IDC_SERVER_ADDRESS, "ntp.example.org");
  PumpMessages();
  EXPECT_TRUE(Enabled(IDC_ADD_SERVER));
  SetDlgItemTextA(dialog_, IDC_SERVER_ADDRESS, "");
  PumpMessages();
  EXPECT_TRUE(Enabled(IDC_ADD_SERVER));
  Notify(IDC_ADD_SERVER, BN_CLICKED);
  EXPECT_EQ(3u, Entries().size());
  EXPECT_EQ("", Entries().back());
  Notify(IDC_SERVER_LIST, CBN_SELCHANGE);
  EXPECT_TRUE(Enabled(IDC_APPLY_SERVER));
}

TEST_F(TimeServerDialogTest, AddressBoxTakesAtMost127Characters) {
  SetDlgItemTextA(dialog_, IDC_SERVER_ADDRESS, "");
  HWND address = GetDlgItem(dialog_, IDC_SERVER_ADDRESS);
  std::string typed(140, 'a');
  for (char c : typed) SendMessageA(address, WM_CHAR, c, 0);
  EXPECT_EQ(127u, ControlText(dialog_, IDC_SERVER_ADDRESS).size());
}

TEST_F(TimeServerDialogTest, AddedServerIsWrittenUnderTheNextNumberWhenApplied) {
  SetDlgItemTextA(dialog_, IDC_SERVER_ADDRESS, "ntp.example.org");
  Notify(IDC_ADD_SERVER, BN_CLICKED);
  SendMessageA(list_, CB_SETCURSEL, 2, 0);
  Notify(IDC_SERVER_LIST, CBN_SELCHANGE);
  Notify(IDC_APPLY_SERVER, BN_CLICKED);
  auto& reg = fake::Machine().registry;
  auto current = reg.GetValue(HKEY_LOCAL_MACHINE, kServers, "");
  ASSERT_TRUE(current);
  EXPECT_EQ('3', current->bytes[0]);
  auto added = reg.GetValue(HKEY_LOCAL_MACHINE, kServers, "3");
  ASSERT_TRUE(added);
  EXPECT_EQ("ntp.example.org", std::string(reinterpret_cast<const char*>(added->bytes.data())));
  auto ntp = reg.GetValue(HKEY_LOCAL_MACHINE, kParameters, "NtpServer");
  ASSERT_TRUE(ntp);
  EXPECT_EQ("ntp.example.org,0x1", std::string(reinterpret_cast<const char*>(ntp->bytes.data())));
  ASSERT_EQ(1u, fake::Machine().messageBoxes.size());
  EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), fake::Machine().messageBoxes[0].type);
  EXPECT_EQ(dialog_, fake::Machine().messageBoxes[0].owner);
}

TEST_F(TimeServerDialogTest, AnsweringNoWritesNothing) {
  fake::Machine().messageBoxAnswers = {IDNO};
  size_t before = fake::Machine().registry.Changes().size();
  Notify(IDC_SERVER_LIST, CBN_SELCHANGE);
  Notify(IDC_APPLY_SERVER, BN_CLICKED);
  EXPECT_EQ(before, fake::Machine().registry.Changes().size());
}

}  // namespace
