// Apply of every setting whose work is registry writes or deletes, with exact
// types, sizes and bytes.

#include <cctype>

#include "engine/Apply.h"
#include "native/FakeSystemTest.h"
#include "native/PreparedSystem.h"
#include "system/SystemAccess.h"

namespace {

class ApplyRegistry : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    PrepareSettingKeys();
  }
  SystemAccess system_;
};

struct SingleWrite {
  SettingId id;
  HKEY root;
  const char* path;
  const char* name;
  const char* stored;
};

class ApplySingleWrite : public ApplyRegistry, public ::testing::WithParamInterface<SingleWrite> {};

TEST_P(ApplySingleWrite, StoresExactlyTheValue) {
  const SingleWrite& row = GetParam();
  EXPECT_TRUE(Apply(system_, row.id));
  EXPECT_EQ(row.stored, Describe(row.root, row.path, row.name));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ApplySingleWrite,
    ::testing::Values(
        SingleWrite{1, HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Preferences",
                    "SilentAcquisition", "type 3: 00"},
        SingleWrite{2, HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Preferences",
                    "SendUserGUID", "type 3: 00"},
        SingleWrite{3, HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Preferences",
                    "UpgradeCodecPrompt", "type 3: 00"},
        SingleWrite{4, HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting",
                    "DoReport", "type 4: 00 00 00 00"},
        SingleWrite{5, HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting",
                    "ShowUI", "type 4: 00 00 00 00"},
        SingleWrite{6, HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck",
                    "NoScheduledUpdates", "type 4: 01 00 00 00"},
        SingleWrite{7, HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main",
                    "NoUpdateCheck", "type 4: 01 00 00 00"},
        SingleWrite{8, HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                    "EnableNegotiate", "type 4: 00 00 00 00"},
        SingleWrite{19, HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Terminal Server",
                    "fAllowToGetHelp", "type 4: 00 00 00 00"},
        SingleWrite{21, HKEY_LOCAL_MACHINE,
                    "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters", "Type",
                    "type 1: 4E 6F 53 79 6E 63 00"},
        SingleWrite{22, HKEY_LOCAL_MACHINE,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                    "EnableBalloonTips", "type 4: 00 00 00 00"},
        SingleWrite{23, HKEY_LOCAL_MACHINE,
                    "System\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
                    "ClearPageFileAtShutdown", "type 4: 01 00 00 00"},
        SingleWrite{24, HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Outlook Express",
                    "Hide Messenger", "type 4: 02 00 00 00"},
        SingleWrite{28, HKEY_LOCAL_MACHINE, "SYSTEM\\ControlSet001\\Control",
                    "WaitToKillServiceTimeout", "type 1: 32 30 30 30 00"},
        SingleWrite{28, HKEY_CURRENT_USER, "Control Panel\\Desktop", "AutoEndTasks",
                    "type 1: 31 00 00 00"},
        SingleWrite{29, HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                    "MaxConnectionsPer1_0Server", "type 4: 0A 00 00 00"},
        SingleWrite{29, HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                    "MaxConnectionsPerServer", "type 4: 0A 00 00 00"}),
    [](const auto& info) {
      std::string name = "Setting" + std::to_string(info.param.id) + "_" + info.param.name;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST_F(ApplyRegistry, ApplyingTwiceLeavesTheSameSingleByte) {
  EXPECT_TRUE(Apply(system_, 1));
  EXPECT_TRUE(Apply(system_, 1));
  EXPECT_EQ("type 3: 00", Describe(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Preferences",
                                   "SilentAcquisition"));
}

TEST_F(ApplyRegistry, SingleWriteIntoAMissingKeyCreatesNothingAndFails) {
  Registry().DeleteKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck");
  size_t before = Registry().Changes().size();
  EXPECT_FALSE(Apply(system_, 6));
  EXPECT_FALSE(Registry().HasKey(HKEY_CURRENT_USER,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck"));
  EXPECT_EQ(before, Registry().Changes().size());
}

TEST_F(ApplyRegistry, RefusedWriteFails) {
  Registry().SetAccess(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting", true,
                       false);
  EXPECT_FALSE(Apply(system_, 4));
  EXPECT_EQ("missing",
            Describe(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting", "DoReport"));
}

TEST_F(ApplyRegistry, ChainKeepsWritingAfterAFailedStepButReportsIt) {
  Registry().SetAccess(HKEY_LOCAL_MACHINE, "SYSTEM\\ControlSet001\\Control", true, false);
  EXPECT_FALSE(Apply(system_, 28));
  EXPECT_EQ("type 1: 31 00 00 00", Describe(HKEY_CURRENT_USER, "Control Panel\\Desktop", "AutoEndTasks"));
}

TEST_F(ApplyRegistry, AlexaExtensionKeyIsDeleted) {
  const char parent[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions";
  EXPECT_TRUE(Apply(system_, 0));
  EXPECT_TRUE(Registry().HasKey(HKEY_LOCAL_MACHINE, parent));
  EXPECT_TRUE(Registry().SubKeyNames(HKEY_LOCAL_MACHINE, parent).empty());
  EXPECT_FALSE(Apply(system_, 0));
}

TEST_F(ApplyRegistry, MessengerAutostartValueIsDeleted) {
  const char run[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  EXPECT_TRUE(Apply(system_, 14));
  EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, run, "MSMSGS"));
  EXPECT_FALSE(Apply(system_, 14));
}

TEST_F(ApplyRegistry, BandwidthLimitIsWrittenBelowBothPolicyChains) {
  Registry().AddKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion");
  EXPECT_TRUE(Apply(system_, 26));
  for (const char* machine : {"LocalMachine", "LokalMachine"}) {
    std::string psched = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\") +
                         machine + "\\Software\\Policies\\Microsoft\\Windows\\Psched";
    EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_CURRENT_USER, psched, "NonBestEffortLimit"))
        << machine;
  }
}

const char* const kOfficeValues[] = {"DWNeverUpload", "DWNoExternalURL", "DWNoFileCollection",
                                     "DWNoSecondLevelCollection"};
const char kOfficeUser[] = "Software\\Policies\\Microsoft\\Office\\10.0\\Common";
const char kOfficeDefault[] = ".DEFAULT\\Software\\Policies\\Microsoft\\Office\\10.0\\Common";

TEST_F(ApplyRegistry, OfficeReportsGoIntoBothUsersCreatedPolicyKeys) {
  EXPECT_TRUE(Apply(system_, 27));
  for (const char* name : kOfficeValues) {
    EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_CURRENT_USER, kOfficeUser, name)) << name;
    EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_USERS, kOfficeDefault, name)) << name;
  }
}

TEST_F(ApplyRegistry, OfficeWithoutTheDefaultUsersPolicyKeyWritesOnlyTheCurrentUser) {
  Registry().DeleteKey(HKEY_USERS, ".DEFAULT\\Software\\Policies\\Microsoft");
  EXPECT_FALSE(Apply(system_, 27));
  EXPECT_FALSE(Registry().HasKey(HKEY_USERS, ".DEFAULT\\Software\\Policies\\Microsoft"));
  EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_CURRENT_USER, kOfficeUser, "DWNeverUpload"));
}

TEST_F(ApplyRegistry, NumbersWithoutAnApplyChangeNothing) {
  size_t before = Registry().Changes().size();
  for (SettingId id : {13u, 17u, 18u, 20u, 63u, 4294967294u}) EXPECT_FALSE(Apply(system_, id)) << id;
  EXPECT_EQ(before, Registry().Changes().size());
}

}  // namespace
