// hushgate.exe run with setting numbers in a fresh XP-like Wine prefix,
// judged from outside: its exit status, the message boxes it shows, and the
// registry bytes it leaves.

#include <gtest/gtest.h>

#include "common/SettingKeyPaths.h"
#include "wine/WineHarness.h"

namespace {

struct Expected {
  HKEY root;
  const char* path;
  const char* name;
  const char* stored;
};

const char kLocalPsched[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LocalMachine\\Software\\"
    "Policies\\Microsoft\\Windows\\Psched";
const char kLokalPsched[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LokalMachine\\Software\\"
    "Policies\\Microsoft\\Windows\\Psched";
const char kOfficeUser[] = "Software\\Policies\\Microsoft\\Office\\10.0\\Common";
const char kOfficeDefault[] = ".Default\\Software\\Policies\\Microsoft\\Office\\10.0\\Common";
const char kPreferences[] = "Software\\Microsoft\\MediaPlayer\\Preferences";
const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kWebcheck[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck";
const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kMistyped[] = "You mistyped some of the commandline aguments!";

const Expected kAfterApply[] = {
    {HKEY_CURRENT_USER, kPreferences, "SilentAcquisition", "type 3: 00"},
    {HKEY_CURRENT_USER, kPreferences, "SendUserGUID", "type 3: 00"},
    {HKEY_CURRENT_USER, kPreferences, "UpgradeCodecPrompt", "type 3: 00"},
    {HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", "type 4: 00 00 00 00"},
    {HKEY_LOCAL_MACHINE, kErrorReporting, "ShowUI", "type 4: 00 00 00 00"},
    {HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates", "type 4: 01 00 00 00"},
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", "NoUpdateCheck",
     "type 4: 01 00 00 00"},
    {HKEY_CURRENT_USER, kInternetSettings, "EnableNegotiate", "type 4: 00 00 00 00"},
    {HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Terminal Server", "fAllowToGetHelp",
     "type 4: 00 00 00 00"},
    {HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters", "Type",
     "type 1: 4E 6F 53 79 6E 63 00"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
     "EnableBalloonTips", "type 4: 00 00 00 00"},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
     "ClearPageFileAtShutdown", "type 4: 01 00 00 00"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Outlook Express", "Hide Messenger",
     "type 4: 02 00 00 00"},
    {HKEY_CURRENT_USER, kLocalPsched, "NonBestEffortLimit", "type 4: 00 00 00 00"},
    {HKEY_CURRENT_USER, kLokalPsched, "NonBestEffortLimit", "type 4: 00 00 00 00"},
    {HKEY_CURRENT_USER, kOfficeUser, "DWNeverUpload", "type 4: 01 00 00 00"},
    {HKEY_CURRENT_USER, kOfficeUser, "DWNoExternalURL", "type 4: 01 00 00 00"},
    {HKEY_CURRENT_USER, kOfficeUser, "DWNoFileCollection", "type 4: 01 00 00 00"},
    {HKEY_CURRENT_USER, kOfficeUser, "DWNoSecondLevelCollection", "type 4: 01 00 00 00"},
    {HKEY_USERS, kOfficeDefault, "DWNeverUpload", "type 4: 01 00 00 00"},
    {HKEY_USERS, kOfficeDefault, "DWNoExternalURL", "type 4: 01 00 00 00"},
    {HKEY_USERS, kOfficeDefault, "DWNoFileCollection", "type 4: 01 00 00 00"},
    {HKEY_USERS, kOfficeDefault, "DWNoSecondLevelCollection", "type 4: 01 00 00 00"},
};

class CommandLineEndToEnd : public ::testing::Test {
 protected:
  // Every key the settings write into exists, none of their values does, and
  // the extension key and autostart value that 0 and 14 delete are there.
  void SetUp() override {
    CreateSettingKeys();
    for (const Expected& row : kAfterApply) RemoveValue(row.root, row.path, row.name);
    for (const char* path : {kLocalPsched, kLokalPsched}) RemoveKeyTree(HKEY_CURRENT_USER, path);
    RemoveKeyTree(HKEY_CURRENT_USER, "Software\\Policies\\Microsoft\\Office");
    RemoveKeyTree(HKEY_USERS, ".DEFAULT\\Software\\Policies\\Microsoft\\Office");
    CreateRegistryKey(HKEY_LOCAL_MACHINE, std::string(kExtensions) + "\\" + kAlexaExtension);
    PutString(HKEY_CURRENT_USER, kRunKey, "MSMSGS", kMessengerAutostart);
  }
};

TEST_F(CommandLineEndToEnd, RegistrySettingsLeaveExactBytesAndExitZero) {
  RunResult run = RunHushgate("0 1 2 3 4 5 6 7 8 14 19 21 22 23 24 26 27");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.messageBoxes.empty());
  for (const Expected& row : kAfterApply)
    EXPECT_EQ(row.stored, Describe(row.root, row.path, row.name)) << row.path << "\\" << row.name;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kExtensions) + "\\" + kAlexaExtension));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kExtensions));
  EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, kRunKey, "MSMSGS"));
}

TEST_F(CommandLineEndToEnd, FastShutdownAndConnectionsAreNotTakenFromTheCommandLine) {
  RemoveValue(HKEY_CURRENT_USER, kInternetSettings, "MaxConnectionsPerServer");
  RunResult run = RunHushgate("28 29");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, kInternetSettings, "MaxConnectionsPerServer"));
}

TEST_F(CommandLineEndToEnd, MissingKeyIsNotCreatedAndExitIsOne) {
  RemoveKeyTree(HKEY_CURRENT_USER, kWebcheck);
  RunResult run = RunHushgate("6 1");
  EXPECT_EQ(1u, run.exitCode);
  EXPECT_TRUE(run.messageBoxes.empty());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kWebcheck));
  EXPECT_EQ("type 3: 00", Describe(HKEY_CURRENT_USER, kPreferences, "SilentAcquisition"));
}

TEST_F(CommandLineEndToEnd, MissingOfficePolicyKeyOfTheDefaultUserGivesExitOne) {
  RemoveKeyTree(HKEY_USERS, kDefaultUserPolicies);
  RunResult run = RunHushgate("27");
  EXPECT_EQ(1u, run.exitCode);
  EXPECT_FALSE(KeyExists(HKEY_USERS, kDefaultUserPolicies));
  EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_CURRENT_USER, kOfficeUser, "DWNeverUpload"));
}

struct Mistyped {
  const char* label;
  const char* arguments;
  bool appliesFour;  // whether 4 comes before the faulty token
};

class MistypedCommandLine : public CommandLineEndToEnd,
                            public ::testing::WithParamInterface<Mistyped> {};

TEST_P(MistypedCommandLine, ShowsTheMessageOnceAndExitsTwo) {
  PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
  RunResult run = RunHushgate(GetParam().arguments);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(2u, run.exitCode);
  ASSERT_EQ(1u, run.messageBoxes.size());
  EXPECT_EQ(kMistyped, run.messageBoxes[0].text);
  EXPECT_EQ("hushgate", run.messageBoxes[0].caption);
  EXPECT_EQ(std::vector<int>{IDOK}, run.messageBoxes[0].buttons);
  EXPECT_EQ(GetParam().appliesFour ? "type 4: 00 00 00 00" : "type 4: 01 00 00 00",
            Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates"));
}

INSTANTIATE_TEST_SUITE_P(Arguments, MistypedCommandLine,
                         ::testing::Values(Mistyped{"Word", "abc", false},
                                           Mistyped{"WordBetween", "4 x 6", true},
                                           Mistyped{"Comma", "4,6", true},
                                           Mistyped{"TooLarge", "99999999999", false},
                                           Mistyped{"Negative", "-4294967290", false},
                                           // Bytes from 0x80 up are no blanks: these once
                                           // applied 4, or opened the window.
                                           Mistyped{"LetterBeforeNumber", "\xE9" "4", false},
                                           Mistyped{"NoBreakSpaceBeforeNumber", "\xA0" "4", false},
                                           Mistyped{"LetterAlone", "\xFC", false}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(CommandLineEndToEnd, LeadingZerosAreRead) {
  RunResult run = RunHushgate("007");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ("type 4: 01 00 00 00",
            Describe(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", "NoUpdateCheck"));
}

TEST_F(CommandLineEndToEnd, TrailingBlanksEndQuietly) {
  RunResult run = RunHushgate("1 2 5 \t ");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.messageBoxes.empty());
  EXPECT_EQ("type 3: 00", Describe(HKEY_CURRENT_USER, kPreferences, "SendUserGUID"));
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "ShowUI"));
}

TEST_F(CommandLineEndToEnd, NumbersWithoutACommandLineSettingAreSkipped) {
  RunResult run = RunHushgate("13 25 40");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.messageBoxes.empty());
}

}  // namespace
