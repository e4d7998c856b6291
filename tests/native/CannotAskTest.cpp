// A service that could not be asked is neither off nor missing: the report,
// the preview, the backup and undo each tell it apart from one that does not
// exist.

#include <functional>
#include <string>

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/Backup.h"
#include "engine/RecordedChanges.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "res/resource.h"
#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

// On a machine that may get its updates through the update service or not.
void SwitchOffAllRecommendedButTen(bool updatesThroughTheService) {
  SystemAccess system;
  std::string numbers = "0 1 2 3 4 5 6 7 8 9 11 12 19 21";
  for (SettingId id = 31; id <= kLastSettingId; ++id) numbers += " " + std::to_string(id);
  RunCommandLine(numbers, system);
  fake::Machine().services.Find("upnphost")->startType = SERVICE_DISABLED;
  if (updatesThroughTheService)
    fake::Machine().registry.AddKey(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Legacy Update");
}

class CannotAsk : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
  }
  fake::FakeService& Service(const char* name) { return *Machine().services.Find(name); }
  int Run(const char* tail) {
    Machine().output.clear();
    return RunCommandLine(tail, system_);
  }
  SystemAccess system_;
};

struct Report {
  const char* what;
  std::function<void()> arrange;
  const char* tail;
  int exitStatus;
  const char* line;  // a line the report holds
};

// What the report says of a service and what counts for the exit status: a
// service that could not be asked does, one that does not exist never does;
// without numbers, 10 does not where updates need its service.
const Report kReports[] = {
    {"StandardUser", [] { fake::Machine().administrator = false; }, "/status 9 10", 1,
     "\r\n10\ton\t"},
    {"ManagerRefuses", [] { fake::Machine().services.refuseManager = true; }, "/status 9 10", 1,
     "\r\n10\tunknown\t"},
    {"NotOffered", [] { fake::Machine().services = fake::FakeServices(); }, "/status 9 10", 0,
     "\r\n10\tnot-offered\t"},
    {"StartTypeWindowsNeverGives", [] { fake::Machine().services.Find("wuauserv")->startType = 7; },
     "/status 10", 1, "\r\n10\tunknown\t"},
    {"TenOnWhereUpdatesNeedItsService", [] { SwitchOffAllRecommendedButTen(true); }, "/status", 0,
     "\r\n10\ton\t"},
    {"TenOnElsewhere", [] { SwitchOffAllRecommendedButTen(false); }, "/status", 1,
     "\r\n10\ton\t"},
    {"PreviewOfAServiceThatCannotBeAsked", [] { fake::Machine().services.refuseManager = true; },
     "/preview 10", 0, "10\tDienst\twuauserv\tjetzt: nicht lesbar\t"},
};

class Reports : public CannotAsk, public ::testing::WithParamInterface<Report> {};

TEST_P(Reports, TellServicesThatCannotBeAskedFromMissingOnes) {
  GetParam().arrange();
  EXPECT_EQ(GetParam().exitStatus, Run(GetParam().tail)) << Machine().output;
  EXPECT_NE(std::string::npos, Machine().output.find(GetParam().line)) << Machine().output;
}

INSTANTIATE_TEST_SUITE_P(Machines, Reports, ::testing::ValuesIn(kReports),
                         [](const auto& info) { return std::string(info.param.what); });

// A capture that could not ask keeps nothing, so that a later one, able to
// ask, is the first; undo is never "restored" for what it could not ask.
TEST_F(CannotAsk, CaptureKeepsNothingAndUndoClaimsNothing) {
  Machine().services.refuseManager = true;
  EXPECT_FALSE(CaptureBeforeApply(system_, 10));
  EXPECT_FALSE(HasBackup(system_, 10));
  Machine().services.refuseManager = false;
  EXPECT_EQ(0, Run("10"));
  EXPECT_EQ(DWORD(SERVICE_DISABLED), Service("wuauserv").startType);
  EXPECT_EQ(0, Run("/undo 10"));
  EXPECT_EQ(0u, Machine().output.find("10\trestored\t")) << Machine().output;
  EXPECT_EQ(DWORD(SERVICE_AUTO_START), Service("wuauserv").startType);

  Run("10");
  Machine().services.refuseManager = true;
  UndoResult refused = Undo(system_, 10);
  EXPECT_EQ(UndoResult::Outcome::kFailed, refused.outcome);
  ASSERT_EQ(1u, refused.problems.size());
  EXPECT_EQ("Dienst wuauserv: nicht lesbar", refused.problems[0]);
  EXPECT_TRUE(HasBackup(system_, 10)) << "kept for a later undo";
}

// A run goes on without the backup it could not make, and says why, naming
// the setting: its service could not be asked, not a want of rights.
TEST_F(CannotAsk, ARunNamesTheSettingWhoseBackupItCouldNotRead) {
  Machine().services.refuseManager = true;
  EXPECT_EQ(1, Run("10"));
  EXPECT_EQ(FormatText(IDS_NO_BACKUP_GOING_ON_UNREADABLE,
                       {"10 (" + Text(FindSetting(10)->labelId) + ")"}) + "\r\n",
            Machine().output);
}

// A service that did not exist at capture is restored only while it still
// does not exist.
TEST_F(CannotAsk, AServiceThatDidNotExistIsRestoredOnlyWhileItIsMissing) {
  const fake::FakeService removed = Service("wuauserv");
  Machine().services = fake::FakeServices();
  ASSERT_TRUE(CaptureBeforeApply(system_, 10));
  Machine().services.Add("wuauserv", removed);
  UndoResult result = Undo(system_, 10);
  EXPECT_EQ(UndoResult::Outcome::kFailed, result.outcome);
  ASSERT_EQ(1u, result.problems.size());
  EXPECT_EQ("Dienst wuauserv: bleibt vorhanden", result.problems[0]);
}

}  // namespace
