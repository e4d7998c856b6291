// A user without administrator rights: machine-wide keys are read-only and
// the service manager refuses. Everything runs to its end, reports false
// where nothing was stored, and writes nothing outside the user's own keys.

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/Apply.h"
#include "engine/Revert.h"
#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

class NoRights : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
    for (HKEY machineWide : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_USERS})
      Registry().SetTreeAccess(machineWide, true, false);
    Machine().services.refuseManager = true;
    // regsvr32, RunDll32 and net end with "access denied".
    for (const char* program : {"regsvr32.exe", "RunDll32.exe", "net.exe"})
      Machine().programs[std::string("C:\\WINDOWS\\system32\\") + program].exitCode = 5;
    before_ = Registry().Changes().size();
  }
  std::vector<std::string> NewChanges() const {
    const auto& all = Registry().Changes();
    return std::vector<std::string>(all.begin() + before_, all.end());
  }
  void ExpectOnlyUserKeysChanged() const {
    for (const std::string& change : NewChanges())
      EXPECT_NE(std::string::npos, change.find(" HKEY_CURRENT_USER\\")) << change;
  }
  SystemAccess system_;
  size_t before_ = 0;
};

TEST_F(NoRights, CommandLineRunsToItsEndAndExitsWithOne) {
  EXPECT_EQ(kSomeNotDone,
            RunCommandLine("0 1 2 3 4 5 6 7 8 9 10 11 12 14 15 16 19 21 22 23 24 26 27", system_));
  ExpectOnlyUserKeysChanged();
  EXPECT_EQ("type 4: 01 00 00 00",
            Describe(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck",
                     "NoScheduledUpdates"));
  EXPECT_EQ("missing",
            Describe(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting", "DoReport"));
  EXPECT_EQ(DWORD(SERVICE_AUTO_START), Machine().services.Find("Schedule")->startType);
}

TEST_F(NoRights, MachineWideSettingsReportThatNothingWasStored) {
  for (SettingId id : {0u, 4u, 5u, 9u, 10u, 11u, 12u, 15u, 19u, 21u, 22u, 23u, 24u, 25u, 27u, 28u, 30u})
    EXPECT_FALSE(Apply(system_, id)) << id;
  for (SettingId id : {1u, 2u, 3u, 6u, 7u, 8u, 14u, 26u, 29u}) EXPECT_TRUE(Apply(system_, id)) << id;
  ExpectOnlyUserKeysChanged();
}

TEST_F(NoRights, EveryRevertRunsToItsEnd) {
  for (SettingId id : {4u, 5u, 9u, 12u, 19u, 21u, 22u, 23u, 24u, 30u})
    EXPECT_FALSE(Revert(system_, id)) << id;
  ResetAll(system_);
  ExpectOnlyUserKeysChanged();
  EXPECT_EQ(UINT(SERVICE_AUTO_START), UINT(Machine().services.Find("ERSvc")->startType));
}

}  // namespace
