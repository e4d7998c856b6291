// Apply of the settings that rest on services, system programs and the
// support account.

#include "app/CommandLine.h"
#include "engine/Apply.h"
#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

class ApplyPrograms : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    Registry().PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                         "SystemRoot", "C:\\WINDOWS");
  }
  SystemAccess system_;
};

struct ServiceSetting {
  SettingId id;
  const char* name;
};

class ApplyService : public ApplyPrograms, public ::testing::WithParamInterface<ServiceSetting> {};

TEST_P(ApplyService, DisablesAndStopsTheService) {
  fake::FakeService running;
  running.startType = SERVICE_AUTO_START;
  running.running = true;
  running.dependencies = {"RpcSs"};
  Machine().services.Add(GetParam().name, running);
  EXPECT_TRUE(Apply(system_, GetParam().id));
  const fake::FakeService& after = *Machine().services.Find(GetParam().name);
  EXPECT_EQ(4u, after.startType);
  EXPECT_FALSE(after.running);
  EXPECT_EQ(running.binaryPath, after.binaryPath);
  EXPECT_EQ(running.dependencies, after.dependencies);
}

INSTANTIATE_TEST_SUITE_P(Services, ApplyService,
                         ::testing::Values(ServiceSetting{9, "ERSvc"},
                                           ServiceSetting{10, "wuauserv"},
                                           ServiceSetting{11, "W32Time"},
                                           ServiceSetting{12, "Schedule"},
                                           ServiceSetting{25, "upnphost"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplyPrograms, AlreadyDisabledServiceIsWrittenAgainAndCountsAsDone) {
  fake::FakeService off;
  off.startType = SERVICE_DISABLED;
  Machine().services.Add("ERSvc", off);
  EXPECT_TRUE(Apply(system_, 9));
  EXPECT_EQ(1, Machine().services.Find("ERSvc")->configurationChanges);
}

TEST_F(ApplyPrograms, MissingServiceIsNotDone) { EXPECT_FALSE(Apply(system_, 10)); }

TEST_F(ApplyPrograms, MessengerRemovalReportsTheInstallersOutcome) {
  EXPECT_TRUE(Apply(system_, 15));
  ASSERT_EQ(1u, Machine().launches.size());
  EXPECT_EQ(std::vector<DWORD>{9800}, Machine().pauses);
  Machine().programs["C:\\WINDOWS\\system32\\RunDll32.exe"].exitCode = 1;
  EXPECT_FALSE(Apply(system_, 15));
}

TEST_F(ApplyPrograms, ZipFoldersAreUnregistered) {
  EXPECT_TRUE(Apply(system_, 30));
  ASSERT_EQ(1u, Machine().launches.size());
  EXPECT_EQ("/s /u zipfldr.dll", Machine().launches[0].parameters);
}

struct SupportCase {
  const char* label;
  bool accountExists;
  WORD suite;
  bool launchesNet;
  bool done;
};

class ApplySupportAccount : public ApplyPrograms,
                            public ::testing::WithParamInterface<SupportCase> {};

TEST_P(ApplySupportAccount, DeletesOnlyOnXpProfessional) {
  if (GetParam().accountExists) Machine().accounts.insert("SUPPORT_388945a0");
  Machine().suiteMask = GetParam().suite;
  EXPECT_EQ(GetParam().done, Apply(system_, 16));
  EXPECT_EQ(GetParam().launchesNet ? 1u : 0u, Machine().launches.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplySupportAccount,
    ::testing::Values(SupportCase{"Professional", true, 0x0100, true, true},
                      SupportCase{"Home", true, 0x0300, false, false},
                      SupportCase{"NoAccount", false, 0x0100, false, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ApplyPrograms, CommandLineCountsAFailedRemovalThatLeftMessengerInstalled) {
  const char messengerClass[] = "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32";
  Registry().PutString(HKEY_CLASSES_ROOT, messengerClass, "", "msmsgs.exe");
  Machine().programs["C:\\WINDOWS\\system32\\RunDll32.exe"].exitCode = 2;
  EXPECT_EQ(kSomeNotDone, RunCommandLine("15", system_));
  // The installer's error does not count once Messenger is gone all the same.
  Machine().onLaunch = [&](const fake::LaunchRecord&) {
    Registry().DeleteKey(HKEY_CLASSES_ROOT, messengerClass);
  };
  EXPECT_EQ(kAllDone, RunCommandLine("15", system_));
}

}  // namespace
