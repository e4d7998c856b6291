// Settings 31-62 against the table that is their authority: apply makes the
// key chain and writes exactly that value, which alone reads as off; revert
// deletes it; undo brings back what was there; and a value the local
// policy's file sets decides the setting.

#include <string>
#include <vector>

#include "common/FullFakeSystem.h"
#include "common/PolicyValueRows.h"
#include "engine/Apply.h"
#include "engine/PolicyPlan.h"
#include "engine/RecordedChanges.h"
#include "engine/StatusCheck.h"
#include "native/FakeSystemTest.h"
#include "native/PolicyFileBytes.h"
#include "system/RegistryText.h"
#include "system/SystemAccess.h"

namespace {

class PolicyValueSetting : public FakeSystemTest,
                           public ::testing::WithParamInterface<PolicyValueRow> {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
  }
  const PolicyValueRow& row = GetParam();
  const std::string key = std::string("Software\\") + row.key;
  std::string Value() const { return Describe(row.Root(), key, row.value); }
  std::string Logged(const char* action) const {
    const char* root = row.hive == 'U' ? " HKEY_CURRENT_USER\\" : " HKEY_LOCAL_MACHINE\\";
    return Lower(action + (root + key) + "\\" + row.value);
  }
  // What the registry logged since, without the backup's and the event log's own keys.
  std::vector<std::string> ChangesSince(size_t before) const {
    std::vector<std::string> changes;
    for (size_t i = before; i < Registry().Changes().size(); ++i)
      if (Registry().Changes()[i].find("\\Hushgate") == std::string::npos)
        changes.push_back(Lower(Registry().Changes()[i]));
    return changes;
  }
  bool ApplyWithBackup() {
    return CaptureBeforeApply(system, row.id) && ApplyAndReport(system, row.id);
  }
  SystemAccess system;
};

TEST_P(PolicyValueSetting, AppliesRevertsUndoesAndYieldsToTheLocalPolicy) {
  const bool keyExisted = Registry().HasKey(row.Root(), key);
  size_t before = Registry().Changes().size();
  ASSERT_TRUE(ApplyWithBackup());
  std::vector<std::string> changes = ChangesSince(before);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(Logged("set"), changes.back());
  for (size_t i = 0; i + 1 < changes.size(); ++i)  // only the missing keys on the way
    EXPECT_EQ(0u, Logged("create").rfind(changes[i] + "\\", 0)) << changes[i];
  EXPECT_EQ(DescribeValue(REG_DWORD, {BYTE(row.off), 0, 0, 0}), Value());
  EXPECT_TRUE(StatusCheck(system, row.id));

  before = Registry().Changes().size();
  ASSERT_TRUE(CaptureBeforeRevert(system, row.id) && RevertAndReport(system, row.id));
  EXPECT_EQ(std::vector<std::string>{Logged("delete-value")}, ChangesSince(before));
  ASSERT_TRUE(ApplyAndReport(system, row.id));
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system, row.id).outcome);
  EXPECT_EQ("missing", Value());
  EXPECT_EQ(keyExisted, Registry().HasKey(row.Root(), key));

  // A foreign number comes back; the off number as binary data is not off.
  Registry().PutNumber(row.Root(), key, row.value, 5);
  ASSERT_TRUE(ApplyWithBackup());
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system, row.id).outcome);
  EXPECT_EQ("type 4: 05 00 00 00", Value());
  Registry().PutValue(row.Root(), key, row.value, REG_BINARY, {BYTE(row.off), 0, 0, 0});
  EXPECT_FALSE(StatusCheck(system, row.id));

  // The local policy's number decides, and apply then leaves it alone; a
  // number of unknown meaning decides nothing.
  const std::string file = row.hive == 'U' ? "user" : "machine";
  std::string& pol =
      Machine().fileContents["c:\\windows\\system32\\grouppolicy\\" + file + "\\registry.pol"];
  pol = kPolHeader + PolEntry(key, row.value, REG_DWORD, {5, 0, 0, 0});
  EXPECT_FALSE(DecidingPolicy(system, row.id).decided());
  pol = kPolHeader + PolEntry(key, row.value, REG_DWORD, {BYTE(row.off), 0, 0, 0});
  EXPECT_EQ(PolicyState::kOff, DecidingPolicy(system, row.id).state);
  before = Registry().Changes().size();
  EXPECT_FALSE(Apply(system, row.id));
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
  ASSERT_EQ(UndoResult::Outcome::kRestored, Undo(system, 54).outcome);
  Registry().PutNumber(HKEY_LOCAL_MACHINE, "Software\\Policies\\Microsoft\\WMDRM", "DisableOnline",
                       1);
  ASSERT_TRUE(CaptureBeforeApply(system, 54) && ApplyAndReport(system, 54));
  EXPECT_EQ(PolicyState::kOff, DecidingPolicy(system, 1).state);
}

}  // namespace
