// What the backup counts as a capture and what undo takes from it: only
// items undo would take stand in for a capture, a capture is whole or none,
// and a restore point is kept whenever undo wrote anything.

#include <functional>

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/Backup.h"
#include "engine/RecordedChanges.h"
#include "engine/TextSource.h"
#include "native/FakeSystemTest.h"
#include "native/PlantedBackup.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

namespace {

const char kPreferences[] = "Software\\Microsoft\\MediaPlayer\\Preferences";
const char kAlexa[] =
    "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\{c95fe080-8f5d-11d2-a20b-00aa003c157a}";
const char kOfficeUser[] = "Software\\Policies\\Microsoft\\Office\\10.0\\Common";

fake::FakeRegistry& Reg() { return fake::Machine().registry; }

std::string ValueText(HKEY root, const std::string& path, const std::string& name) {
  auto value = Reg().GetValue(root, path, name);
  return value ? DescribeValue(value->type, value->bytes) : "missing";
}

class BackupTrust : public FakeSystemTest {
 public:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
  }
  int Run(const std::string& tail) {
    fake::Machine().output.clear();
    return RunCommandLine(tail, system_);
  }

 protected:
  SystemAccess system_;
};

struct PlantedItem {
  const char* what;
  const char* number;
  const char* path;
  const char* name;
  std::map<std::string, std::vector<BYTE>> fields;
  bool captured;  // a capture of setting 1 is kept beside it
};

// Planted in the user's own area before setting 1 is applied.
const PlantedItem kPlantedItems[] = {
    {"ForeignLocation", "0", "Software\\Elsewhere", "x", {{"Existed", N(0)}}, true},
    {"OwnLocationWithANumberOfTwoBytes", "0", kPreferences, "SilentAcquisition",
     {{"Existed", N(1)}, {"Type", N(REG_DWORD)}, {"Data", {1, 2}}}, true},
    {"OwnLocationWithATypeAboveQword", "0", kPreferences, "SilentAcquisition",
     {{"Existed", N(1)}, {"Type", N(12)}, {"Data", {1}}}, true},
    // Not one undo would take, so it takes no number either.
    {"ForeignLocationAtTheLastNumber", "999999", "Software\\Elsewhere", "x", {{"Existed", N(0)}},
     true},
};

class PlantedItems : public BackupTrust, public ::testing::WithParamInterface<PlantedItem> {};

TEST_P(PlantedItems, NeverStandInForACapture) {
  const PlantedItem& c = GetParam();
  Registry().PutString(HKEY_CURRENT_USER, kPreferences, "SilentAcquisition", "before");
  const std::string before = Describe(HKEY_CURRENT_USER, kPreferences, "SilentAcquisition");
  Plant(HKEY_CURRENT_USER, 1, c.number, 1, 1, c.path, c.name, c.fields);
  EXPECT_EQ(0, Run("1"));
  EXPECT_EQ(c.captured ? "" : Text(IDS_NO_BACKUP_GOING_ON) + "\r\n", Machine().output);
  ASSERT_NE(before, Describe(HKEY_CURRENT_USER, kPreferences, "SilentAcquisition"));
  Run("/undo 1");
  EXPECT_EQ(c.captured, before == Describe(HKEY_CURRENT_USER, kPreferences, "SilentAcquisition"))
      << Machine().output;
}

INSTANTIATE_TEST_SUITE_P(Items, PlantedItems, ::testing::ValuesIn(kPlantedItems),
                         [](const auto& info) { return std::string(info.param.what); });

// A value undo could never write back fails the copy of its key, and a
// failed copy leaves no item that would come back as less than it was.
TEST_F(BackupTrust, AKeyCopyIsWholeOrNone) {
  Registry().PutValue(HKEY_LOCAL_MACHINE, kAlexa, "Big", REG_BINARY,
                      std::vector<BYTE>(65537, 0x5A));
  EXPECT_FALSE(CaptureBeforeApply(system_, 0));
  EXPECT_FALSE(HasBackup(system_, 0));
  Registry().PutValue(HKEY_LOCAL_MACHINE, kAlexa, "Big", REG_BINARY,
                      std::vector<BYTE>(65536, 0x5A));
  EXPECT_TRUE(CaptureBeforeApply(system_, 0));
}

struct RestorePointCase {
  const char* what;
  std::function<void(BackupTrust&)> before;
  const char* tail;
  DWORD ended;  // how the point was ended
};

// Kept whenever anything was written, a partial undo too; cancelled when
// nothing changed, a mistyped number after it too.
const RestorePointCase kRestorePointCases[] = {
    {"PartialUndo",
     [](BackupTrust& t) {
       t.Run("27");
       Reg().SetTreeAccess(HKEY_USERS, true, false);
     },
     "/restorepoint /undo 27", MODIFY_SETTINGS},
    {"UndoWithNothingToRestore", [](BackupTrust&) {}, "/restorepoint /undo 4",
     CANCELLED_OPERATION},
    {"MistypedAfterAChange", [](BackupTrust&) {}, "/restorepoint 4 x", MODIFY_SETTINGS},
    {"MistypedAfterNothingChanged", [](BackupTrust& t) { t.Run("4"); }, "/restorepoint 4 x",
     CANCELLED_OPERATION},
};

class RestorePointEnd : public BackupTrust,
                        public ::testing::WithParamInterface<RestorePointCase> {};

TEST_P(RestorePointEnd, KeepsThePointWheneverSomethingWasWritten) {
  GetParam().before(*this);
  Machine().restorePoints.clear();
  Run(GetParam().tail);
  ASSERT_EQ(2u, Machine().restorePoints.size());
  EXPECT_EQ(DWORD(END_SYSTEM_CHANGE), Machine().restorePoints[1].eventType);
  EXPECT_EQ(GetParam().ended, Machine().restorePoints[1].pointType);
}

INSTANTIATE_TEST_SUITE_P(Runs, RestorePointEnd, ::testing::ValuesIn(kRestorePointCases),
                         [](const auto& info) { return std::string(info.param.what); });

struct LeftAlone {
  const char* what;
  std::function<void()> arrange;
  SettingId id;
  std::function<std::string()> state;  // what undo must leave as it is
};

// What undo must not do with an item that claims too much, or a chain that
// something else lives in now.
const LeftAlone kLeftAlone[] = {
    {"StartTypeAboveDisabled",
     [] {
       fake::Machine().services.Find("ERSvc")->startType = SERVICE_DISABLED;
       Plant(HKEY_LOCAL_MACHINE, 9, "0", 3, 2, "", "ERSvc",
                          {{"Existed", N(1)}, {"StartType", N(5)}});
     },
     9, [] { return std::to_string(fake::Machine().services.Find("ERSvc")->startType); }},
    {"KeyWithoutItsCopy",
     [] {
       Plant(HKEY_LOCAL_MACHINE, 0, "0", 2, 2, kAlexa, "", {{"Existed", N(1)}});
       SystemAccess().DeleteRegistryTree(HKEY_LOCAL_MACHINE, kAlexa);
     },
     0, [] { return std::to_string(Reg().HasKey(HKEY_LOCAL_MACHINE, kAlexa)); }},
    {"ChainThatHoldsAValueNow",
     [] {
       SystemAccess system;
       CaptureBeforeApply(system, 27);
       ApplyAndReport(system, 27);
       Reg().PutNumber(HKEY_CURRENT_USER, kOfficeUser, "Kept", 1);
     },
     27, [] { return ValueText(HKEY_CURRENT_USER, kOfficeUser, "Kept"); }},
};

class UndoLeavesAlone : public BackupTrust, public ::testing::WithParamInterface<LeftAlone> {};

TEST_P(UndoLeavesAlone, WhatItMustNotTouch) {
  GetParam().arrange();
  const std::string before = GetParam().state();
  Undo(system_, GetParam().id);
  EXPECT_EQ(before, GetParam().state());
}

INSTANTIATE_TEST_SUITE_P(Items, UndoLeavesAlone, ::testing::ValuesIn(kLeftAlone),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
