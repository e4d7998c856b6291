// Revert of every setting and reset all, with exact bytes.

#include <cctype>

#include "engine/Revert.h"
#include "engine/TextSource.h"
#include "native/FakeSystemTest.h"
#include "native/PreparedSystem.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

namespace {

const char kMessenger[] = "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32";
const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kPreferences[] = "Software\\Microsoft\\MediaPlayer\\Preferences";
const char kOfficeUser[] = "Software\\Policies\\Microsoft\\Office\\10.0\\Common";
const char kOfficeDefault[] = ".DEFAULT\\Software\\Policies\\Microsoft\\Office\\10.0\\Common";
const char kMessengerMissing[] =
    "Der MS Messenger ist auf diesem System nicht installiert, somit kann diese Funktion nicht "
    "rückgängig gemacht werden.";
const char* const kOfficeValues[] = {"DWNeverUpload", "DWNoExternalURL", "DWNoFileCollection",
                                     "DWNoSecondLevelCollection"};

class RevertTest : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    PrepareSettingKeys();
  }
  SystemAccess system_;
};

struct Written {
  SettingId id;
  HKEY root;
  const char* path;
  const char* name;
  const char* stored;
};

class RevertWrite : public RevertTest, public ::testing::WithParamInterface<Written> {};

TEST_P(RevertWrite, StoresTheFreshInstallationValue) {
  EXPECT_TRUE(Revert(system_, GetParam().id));
  EXPECT_EQ(GetParam().stored, Describe(GetParam().root, GetParam().path, GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RevertWrite,
    ::testing::Values(
        Written{4, HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting", "DoReport",
                "type 4: 01 00 00 00"},
        Written{5, HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting", "ShowUI",
                "type 4: 01 00 00 00"},
        Written{6, HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck",
                "NoScheduledUpdates", "type 4: 00 00 00 00"},
        Written{7, HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main",
                "NoUpdateCheck", "type 4: 00 00 00 00"},
        Written{8, HKEY_CURRENT_USER,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                "EnableNegotiate", "type 4: 01 00 00 00"},
        Written{19, HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Terminal Server",
                "fAllowToGetHelp", "type 4: 01 00 00 00"},
        Written{21, HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters",
                "Type", "type 1: 4E 74 70 00"},
        Written{23, HKEY_LOCAL_MACHINE,
                "System\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
                "ClearPageFileAtShutdown", "type 4: 00 00 00 00"},
        Written{28, HKEY_LOCAL_MACHINE, "SYSTEM\\ControlSet001\\Control",
                "WaitToKillServiceTimeout", "type 1: 32 30 30 30 30 00"},
        Written{28, HKEY_CURRENT_USER, "Control Panel\\Desktop", "AutoEndTasks",
                "type 1: 30 00 00 00"},
        Written{29, HKEY_CURRENT_USER,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                "MaxConnectionsPer1_0Server", "type 4: 04 00 00 00"},
        Written{29, HKEY_CURRENT_USER,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                "MaxConnectionsPerServer", "type 4: 04 00 00 00"}),
    [](const auto& info) {
      std::string name = "Setting" + std::to_string(info.param.id) + "_" + info.param.name;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

struct Deleted {
  SettingId id;
  HKEY root;
  const char* path;
  const char* name;
};

class RevertDelete : public RevertTest, public ::testing::WithParamInterface<Deleted> {};

TEST_P(RevertDelete, RemovesTheValueOnceThenFails) {
  Registry().PutNumber(GetParam().root, GetParam().path, GetParam().name, 0);
  EXPECT_TRUE(Revert(system_, GetParam().id));
  EXPECT_EQ("missing", Describe(GetParam().root, GetParam().path, GetParam().name));
  EXPECT_FALSE(Revert(system_, GetParam().id));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RevertDelete,
    ::testing::Values(
        Deleted{1, HKEY_CURRENT_USER, kPreferences, "SilentAcquisition"},
        Deleted{2, HKEY_CURRENT_USER, kPreferences, "SendUserGUID"},
        Deleted{3, HKEY_CURRENT_USER, kPreferences, "UpgradeCodecPrompt"},
        Deleted{22, HKEY_LOCAL_MACHINE,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                "EnableBalloonTips"},
        Deleted{24, HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Outlook Express", "Hide Messenger"}),
    [](const auto& info) { return "Setting" + std::to_string(info.param.id); });

void PutOfficeReports() {
  for (const char* name : kOfficeValues) {
    fake::Machine().registry.PutNumber(HKEY_CURRENT_USER, kOfficeUser, name, 1);
    fake::Machine().registry.PutNumber(HKEY_USERS, kOfficeDefault, name, 1);
  }
}

TEST_F(RevertTest, OfficeReportsAreAllDeleted) {
  PutOfficeReports();
  EXPECT_TRUE(Revert(system_, 27));
  for (const char* name : kOfficeValues) {
    EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, kOfficeUser, name)) << name;
    EXPECT_EQ("missing", Describe(HKEY_USERS, kOfficeDefault, name)) << name;
  }
  EXPECT_TRUE(Registry().HasKey(HKEY_USERS, kOfficeDefault));
}

TEST_F(RevertTest, OfficeReportOneAlreadyGoneLeavesNoneOfTheOthersBehind) {
  PutOfficeReports();
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, Registry().OpenKey(HKEY_CURRENT_USER, kOfficeUser, KEY_ALL_ACCESS, &key));
  Registry().DeleteValue(key, "DWNeverUpload");
  Registry().CloseKey(key);
  EXPECT_FALSE(Revert(system_, 27));
  for (const char* name : kOfficeValues) {
    EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, kOfficeUser, name)) << name;
    EXPECT_EQ("missing", Describe(HKEY_USERS, kOfficeDefault, name)) << name;
  }
}

TEST_F(RevertTest, BandwidthRemovesBothPschedKeysOrFindsNothingToDo) {
  const std::string gpo = "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\";
  const std::string tail = "\\Software\\Policies\\Microsoft\\Windows\\Psched";
  EXPECT_TRUE(Revert(system_, 26));
  Registry().PutNumber(HKEY_CURRENT_USER, gpo + "LocalMachine" + tail, "NonBestEffortLimit", 0);
  Registry().PutNumber(HKEY_CURRENT_USER, gpo + "LokalMachine" + tail, "NonBestEffortLimit", 0);
  EXPECT_TRUE(Revert(system_, 26));
  EXPECT_FALSE(Registry().HasKey(HKEY_CURRENT_USER, gpo + "LocalMachine" + tail));
  EXPECT_FALSE(Registry().HasKey(HKEY_CURRENT_USER, gpo + "LokalMachine" + tail));
}

TEST_F(RevertTest, MessengerAutostartIsRestoredFromTheClassKeyWhole) {
  std::string path = "\"C:\\Programme\\Messenger\\" + std::string(200, 'm') + ".exe\" /background";
  Registry().PutString(HKEY_CLASSES_ROOT, kMessenger, "", path);
  Registry().PutNumber(HKEY_CURRENT_USER, kRun, "Other", 1);
  EXPECT_TRUE(Revert(system_, 14));
  auto stored = Registry().GetValue(HKEY_CURRENT_USER, kRun, "MSMSGS");
  ASSERT_TRUE(stored);
  EXPECT_EQ(DWORD(REG_SZ), stored->type);
  EXPECT_EQ(std::vector<BYTE>(path.c_str(), path.c_str() + path.size() + 1), stored->bytes);
  EXPECT_TRUE(Machine().messageBoxes.empty());
}

// The engine says why and writes nothing; the window shows the message.
TEST_F(RevertTest, MessengerAutostartWithoutMessengerIsRefusedWithItsReason) {
  Registry().DeleteKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  Registry().AddKey(HKEY_CURRENT_USER, kRun);
  size_t changes = Registry().Changes().size();
  int refusal = 0;
  EXPECT_FALSE(Revert(system_, 14, &refusal));
  EXPECT_EQ(kMessengerMissing, Text(refusal));
  EXPECT_TRUE(Machine().messageBoxes.empty());
  EXPECT_EQ(changes, Registry().Changes().size());
}

TEST_F(RevertTest, MessengerClassKeyWithoutItsValueCountsAsNotInstalled) {
  Registry().AddKey(HKEY_CLASSES_ROOT, kMessenger);
  int refusal = 0;
  EXPECT_FALSE(Revert(system_, 14, &refusal));
  EXPECT_EQ(IDS_MESSENGER_MISSING, refusal);
}

// Only a text that is not empty is a program path to start with Windows.
TEST_F(RevertTest, MessengerServerThatIsNoPathIsRefusedAndWritesNothing) {
  struct Shape {
    const char* label;
    DWORD type;
    std::vector<BYTE> bytes;
  };
  const Shape shapes[] = {
      {"empty text", REG_SZ, {}},
      {"lone zero", REG_SZ, {0}},
      {"number", REG_DWORD, {0x41, 0x41, 0x41, 0x41}},
      {"binary", REG_BINARY, {'C', ':', '\\', 'x', '.', 'e', 'x', 'e'}},
      {"multi text", REG_MULTI_SZ, {'C', ':', '\\', 'a', 0, 'C', ':', '\\', 'b', 0, 0}},
  };
  for (const Shape& shape : shapes) {
    fake::ResetMachine();
    Registry().AddKey(HKEY_CURRENT_USER, kRun);
    Registry().PutValue(HKEY_CLASSES_ROOT, kMessenger, "", shape.type, shape.bytes);
    size_t changes = Registry().Changes().size();
    int refusal = 0;
    EXPECT_FALSE(Revert(system_, 14, &refusal)) << shape.label;
    EXPECT_EQ(IDS_MESSENGER_MISSING, refusal) << shape.label;
    EXPECT_EQ(changes, Registry().Changes().size()) << shape.label;
  }
}

TEST_F(RevertTest, ServiceGetsAutomaticStartAndIsStarted) {
  fake::FakeService off;
  off.startType = SERVICE_DISABLED;
  Machine().services.Add("Schedule", off);
  EXPECT_TRUE(Revert(system_, 12));
  EXPECT_EQ(2u, Machine().services.Find("Schedule")->startType);
  EXPECT_TRUE(Machine().services.Find("Schedule")->running);
}

TEST_F(RevertTest, ZipFoldersAreRegisteredAgain) {
  EXPECT_TRUE(Revert(system_, 30));
  ASSERT_EQ(1u, Machine().launches.size());
  EXPECT_EQ("/s zipfldr.dll", Machine().launches[0].parameters);
}

TEST_F(RevertTest, SettingsWithoutARevertChangeNothing) {
  size_t changes = Registry().Changes().size();
  for (SettingId id : {0u, 13u, 15u, 16u, 17u, 18u, 20u, 31u}) EXPECT_FALSE(Revert(system_, id)) << id;
  EXPECT_EQ(changes, Registry().Changes().size());
  EXPECT_TRUE(Machine().launches.empty());
  EXPECT_TRUE(Machine().messageBoxes.empty());
}

TEST_F(RevertTest, ResetAllWithoutMessengerRevertsTheRest) {
  Machine().services.Add("wuauserv").startType = SERVICE_DISABLED;
  ResetAll(system_);
  EXPECT_TRUE(Machine().messageBoxes.empty());
  EXPECT_EQ("type 4: 01 00 00 00",
            Describe(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting", "DoReport"));
  EXPECT_EQ("type 1: 30 00 00 00", Describe(HKEY_CURRENT_USER, "Control Panel\\Desktop", "AutoEndTasks"));
  EXPECT_EQ(2u, Machine().services.Find("wuauserv")->startType);
  ASSERT_EQ(1u, Machine().launches.size());
  EXPECT_EQ("/s zipfldr.dll", Machine().launches[0].parameters);
}

}  // namespace
