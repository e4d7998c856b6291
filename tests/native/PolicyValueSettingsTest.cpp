// Settings 31-62, each a REG_DWORD below a policy key, against the table that
// is their authority: apply makes the key chain and writes exactly that value,
// revert deletes it, undo brings back what was there, and a value the local
// policy's file sets decides the setting.

#include <algorithm>
#include <string>
#include <vector>

#include "common/FullFakeSystem.h"
#include "common/PolicyValueRows.h"
#include "engine/Apply.h"
#include "engine/Backup.h"
#include "engine/PolicyPlan.h"
#include "engine/RecordedChanges.h"
#include "engine/StatusCheck.h"
#include "native/FakeSystemTest.h"
#include "native/PolicyFileBytes.h"
#include "system/RegistryText.h"
#include "system/SystemAccess.h"

namespace {

const HKEY kM = HKEY_LOCAL_MACHINE;
const HKEY kU = HKEY_CURRENT_USER;

std::vector<BYTE> Number(DWORD n) { return {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)}; }

class PolicyValueSetting : public FakeSystemTest,
                           public ::testing::WithParamInterface<PolicyValueRow> {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
  }
  const PolicyValueRow& Row() const { return GetParam(); }
  std::string Key() const { return std::string("Software\\") + Row().key; }
  std::string Value() const { return Describe(Row().root, Key(), Row().value); }
  std::string Place(const std::string& action) const {
    return Lower(action + " " +
                 (Row().root == kU ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + Key() +
                 "\\" + Row().value);
  }
  // What the registry logged since, without the backup and the event log's
  // bookkeeping, in lower case.
  std::vector<std::string> ChangesSince(size_t before) const {
    std::vector<std::string> changes;
    for (size_t i = before; i < Registry().Changes().size(); ++i)
      if (Registry().Changes()[i].find("\\Hushgate") == std::string::npos)
        changes.push_back(Lower(Registry().Changes()[i]));
    return changes;
  }
  // Captured first, as every caller applies.
  bool ApplyWithBackup() {
    return CaptureBeforeApply(system_, Row().id) && ApplyAndReport(system_, Row().id);
  }
  void PlantLocalPolicy(DWORD number) {
    const char* file = Row().root == kU
                           ? "c:\\windows\\system32\\grouppolicy\\user\\registry.pol"
                           : "c:\\windows\\system32\\grouppolicy\\machine\\registry.pol";
    Machine().fileContents[file] =
        kPolHeader + PolEntry(Key(), Row().value, REG_DWORD, Number(number));
  }
  SystemAccess system_;
};

TEST_P(PolicyValueSetting, ApplyWritesTheValueWithItsKeysAndNothingElse) {
  const size_t before = Registry().Changes().size();
  EXPECT_FALSE(StatusCheck(system_, Row().id));
  ASSERT_TRUE(ApplyWithBackup());
  const std::vector<std::string> changes = ChangesSince(before);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(Place("set"), changes.back());
  // Before it, only the keys on the way that were missing.
  for (size_t i = 0; i + 1 < changes.size(); ++i)
    EXPECT_EQ(0u, Lower(Place("create")).rfind(changes[i] + "\\", 0)) << changes[i];
  EXPECT_EQ(DescribeValue(REG_DWORD, Number(Row().off)), Value());
  EXPECT_TRUE(StatusCheck(system_, Row().id));
}

// Revert deletes the value, never writes an "on" number; undo puts back
// what the machine had, including that it had nothing and no key there.
TEST_P(PolicyValueSetting, RevertDeletesTheValueAndUndoRestoresAbsence) {
  const bool keyExisted = Registry().HasKey(Row().root, Key());
  ASSERT_TRUE(ApplyWithBackup());
  const size_t before = Registry().Changes().size();
  ASSERT_TRUE(CaptureBeforeRevert(system_, Row().id));
  EXPECT_TRUE(RevertAndReport(system_, Row().id));
  EXPECT_EQ(std::vector<std::string>{Place("delete-value")}, ChangesSince(before));
  EXPECT_FALSE(StatusCheck(system_, Row().id));

  ASSERT_TRUE(ApplyAndReport(system_, Row().id));
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system_, Row().id).outcome);
  EXPECT_EQ("missing", Value());
  EXPECT_EQ(keyExisted, Registry().HasKey(Row().root, Key()));
}

TEST_P(PolicyValueSetting, UndoRestoresAForeignValue) {
  Registry().PutNumber(Row().root, Key(), Row().value, 5);
  EXPECT_FALSE(StatusCheck(system_, Row().id));
  ASSERT_TRUE(ApplyWithBackup());
  EXPECT_TRUE(StatusCheck(system_, Row().id));
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system_, Row().id).outcome);
  EXPECT_EQ("type 4: 05 00 00 00", Value());
}

// The same number as text, or in eight bytes, is not what Windows reads.
TEST_P(PolicyValueSetting, OnlyTheExactNumberCountsAsOff) {
  const std::vector<BYTE> off = Number(Row().off);
  Registry().PutValue(Row().root, Key(), Row().value, REG_BINARY, off);
  EXPECT_FALSE(StatusCheck(system_, Row().id));
  std::vector<BYTE> wide = off;
  wide.resize(8);
  Registry().PutValue(Row().root, Key(), Row().value, REG_DWORD, wide);
  EXPECT_FALSE(StatusCheck(system_, Row().id));
}

// A value the local policy's file sets is the policy's: it decides the
// setting, which apply then leaves alone; a number of unknown meaning decides
// nothing.
TEST_P(PolicyValueSetting, TheLocalPolicyFileDecidesIt) {
  PlantLocalPolicy(5);
  EXPECT_FALSE(DecidingPolicy(system_, Row().id).decided());
  PlantLocalPolicy(Row().off);
  const PolicyDecision decision = DecidingPolicy(system_, Row().id);
  EXPECT_EQ(PolicyState::kOff, decision.state);
  EXPECT_NE(std::string::npos, decision.source.find(Key() + "\\" + Row().value + " = "))
      << decision.source;
  EXPECT_TRUE(StatusCheck(system_, Row().id));
  const size_t before = Registry().Changes().size();
  EXPECT_FALSE(Apply(system_, Row().id));
  EXPECT_EQ(before, Registry().Changes().size());
}

INSTANTIATE_TEST_SUITE_P(Table, PolicyValueSetting, ::testing::ValuesIn(kPolicyValueRows),
                         [](const auto& info) {
                           return "Setting" + std::to_string(info.param.id);
                         });

// Setting 54 writes the very value a policy row of setting 1 reads. Once
// the backup shows that this program put it there, it is no policy's; one
// that was there before the program came still is.
using ProgramsOwnValue = FakeSystemTest;

TEST_F(ProgramsOwnValue, DecidesNothingWhereOnlyThisProgramWroteIt) {
  MakeFullFakeSystem();
  SystemAccess system;
  ASSERT_TRUE(CaptureBeforeApply(system, 54) && ApplyAndReport(system, 54));
  EXPECT_FALSE(DecidingPolicy(system, 1).decided());
  EXPECT_TRUE(Apply(system, 1));
  ASSERT_EQ(UndoResult::Outcome::kRestored, Undo(system, 54).outcome);
  Registry().PutNumber(kM, "Software\\Policies\\Microsoft\\WMDRM", "DisableOnline", 1);
  ASSERT_TRUE(CaptureBeforeApply(system, 54) && ApplyAndReport(system, 54));
  EXPECT_EQ(PolicyState::kOff, DecidingPolicy(system, 1).state);
}

}  // namespace
