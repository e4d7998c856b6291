// Launches of system programs, the support account and the version record,
// against the fake: exact launch records and the pauses on a virtual clock.

#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

const char kRegsvr32[] = "C:\\WINDOWS\\system32\\regsvr32.exe";
const char kRunDll32[] = "C:\\WINDOWS\\system32\\RunDll32.exe";
const char kNet[] = "C:\\WINDOWS\\system32\\net.exe";
const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

class SystemPrograms : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    Registry().PutString(HKEY_LOCAL_MACHINE, kCurrentVersion, "SystemRoot", "C:\\WINDOWS");
    startClock_ = Machine().clock;
  }
  DWORD Elapsed() const { return Machine().clock - startClock_; }
  const fake::LaunchRecord& OnlyLaunch() const {
    EXPECT_EQ(1u, Machine().launches.size());
    return Machine().launches.front();
  }
  static void ExpectHiddenWithoutVerbOrOwner(const fake::LaunchRecord& launch) {
    EXPECT_EQ(SW_HIDE, launch.show);
    EXPECT_EQ(static_cast<unsigned long>(SEE_MASK_NOCLOSEPROCESS), launch.mask);
    EXPECT_FALSE(launch.hasVerb);
    EXPECT_FALSE(launch.hasOwner);
  }

  SystemAccess system_;
  DWORD startClock_ = 0;
};

TEST_F(SystemPrograms, UnregisterLaunchesTheSystemsRegsvr32AndTakesThreeSeconds) {
  EXPECT_TRUE(system_.UnregisterComponent("zipfldr.dll"));
  const fake::LaunchRecord& launch = OnlyLaunch();
  EXPECT_EQ(kRegsvr32, launch.file);
  EXPECT_EQ("/s /u zipfldr.dll", launch.parameters);
  EXPECT_EQ("", launch.directory);
  ExpectHiddenWithoutVerbOrOwner(launch);
  EXPECT_EQ(3000u, Elapsed());
}

TEST_F(SystemPrograms, RegisterPassesTheLibrarySilently) {
  EXPECT_TRUE(system_.RegisterComponent("zipfldr.dll"));
  EXPECT_EQ("/s zipfldr.dll", OnlyLaunch().parameters);
  EXPECT_EQ(3000u, Elapsed());
}

struct Outcome {
  const char* label;
  fake::ScriptedProgram program;
  bool reported;
};

class RegistrationOutcome : public SystemPrograms, public ::testing::WithParamInterface<Outcome> {};

TEST_P(RegistrationOutcome, IsReportedAndThePauseIsAlwaysTaken) {
  Machine().programs[kRegsvr32] = GetParam().program;
  EXPECT_EQ(GetParam().reported, system_.UnregisterComponent("zipfldr.dll"));
  EXPECT_EQ(3000u, Elapsed());
}

INSTANTIATE_TEST_SUITE_P(
    Programs, RegistrationOutcome,
    ::testing::Values(Outcome{"ExitsWithZero", {false, 400, 0}, true},
                      Outcome{"ExitsWithError", {false, 400, 3}, false},
                      Outcome{"StillRunningAfterThePause", {false, 5000, 0}, false},
                      Outcome{"CannotBeStarted", {true, 0, 0}, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SystemPrograms, NoLaunchWhenTheSystemFolderDoesNotFit) {
  Machine().systemFolder = "C:\\" + std::string(300, 'w');
  EXPECT_FALSE(system_.UnregisterComponent("zipfldr.dll"));
  EXPECT_TRUE(Machine().launches.empty());
  EXPECT_EQ(3000u, Elapsed());
}

TEST_F(SystemPrograms, MessengerRemovalRunsTheInfSectionFromTheSystemRoot) {
  EXPECT_TRUE(system_.UninstallMessenger());
  const fake::LaunchRecord& launch = OnlyLaunch();
  EXPECT_EQ(kRunDll32, launch.file);
  EXPECT_EQ("advpack.dll,LaunchINFSection C:\\WINDOWS\\INF\\msmsgs.inf,BLC.Remove",
            launch.parameters);
  EXPECT_EQ("C:\\WINDOWS", launch.directory);
  ExpectHiddenWithoutVerbOrOwner(launch);
  EXPECT_EQ(10000u, Elapsed());
}

TEST_F(SystemPrograms, MessengerRemovalWithoutSystemRootLaunchesNothing) {
  Registry().PutValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "SystemRoot", REG_SZ,
                      std::vector<BYTE>(129, 'C'));
  EXPECT_FALSE(system_.UninstallMessenger());
  Registry().PutValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "SystemRoot", REG_SZ, {0});
  EXPECT_FALSE(system_.UninstallMessenger());
  EXPECT_TRUE(Machine().launches.empty());
  EXPECT_EQ(0u, Elapsed());
}

// A root that fills every byte read without a zero may go on beyond them:
// launching in a folder made of its first 128 bytes would be a guess.
TEST_F(SystemPrograms, SystemRootOfAFullBufferWithoutZeroLaunchesNothing) {
  std::string root = "D:\\" + std::string(125, 'r');
  Registry().PutValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "SystemRoot", REG_SZ,
                      std::vector<BYTE>(root.begin(), root.end()));
  EXPECT_FALSE(system_.UninstallMessenger());
  EXPECT_TRUE(Machine().launches.empty());
  EXPECT_EQ(0u, Elapsed());
}

TEST_F(SystemPrograms, AccountDeletionIsNotWaitedFor) {
  EXPECT_TRUE(system_.DeleteSupportAccount());
  const fake::LaunchRecord& launch = OnlyLaunch();
  EXPECT_EQ(kNet, launch.file);
  EXPECT_EQ(" user SUPPORT_388945a0 /delete", launch.parameters);
  ExpectHiddenWithoutVerbOrOwner(launch);
  EXPECT_EQ(0u, Elapsed());
  Machine().programs[kNet].startFails = true;
  EXPECT_FALSE(system_.DeleteSupportAccount());
}

TEST_F(SystemPrograms, SupportAccountIsLookedUpByName) {
  EXPECT_FALSE(system_.SupportAccountExists());
  Machine().accounts.insert("SUPPORT_388945a0");
  EXPECT_TRUE(system_.SupportAccountExists());
}

struct Version {
  const char* label;
  DWORD major;
  DWORD minor;
  WORD suite;
  bool fails;
  bool windowsXp;
  int platform;
};

class VersionRecord : public SystemPrograms, public ::testing::WithParamInterface<Version> {};

TEST_P(VersionRecord, GivesXpAndPlatform) {
  Machine().majorVersion = GetParam().major;
  Machine().minorVersion = GetParam().minor;
  Machine().suiteMask = GetParam().suite;
  Machine().versionCallFails = GetParam().fails;
  EXPECT_EQ(GetParam().windowsXp, system_.IsWindowsXp());
  EXPECT_EQ(GetParam().platform, system_.GetWindowsPlatform());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionRecord,
    ::testing::Values(Version{"Windows2000", 5, 0, 0x0100, false, false, 2},
                      Version{"XpProfessional", 5, 1, 0x0100, false, true, 2},
                      Version{"XpHome", 5, 1, 0x0300, false, true, -1},
                      Version{"Server2003", 5, 2, 0x0110, false, false, -1},
                      Version{"NoSuite", 5, 1, 0, false, true, -1},
                      Version{"CallFails", 5, 1, 0x0100, true, false, -1}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
