// The backup of what the machine had, and undo: exact registry and service
// state back, nothing trusted that the backup holds, the first capture kept.

#include <map>

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/Backup.h"
#include "engine/RecordedChanges.h"
#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"
#include "engine/TextSource.h"
#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

const char kEventSource[] = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application";

// The whole machine as undo must leave it: every hive and every service's
// start type. The event log's registration is no setting's state.
std::string MachineState() {
  auto& reg = fake::Machine().registry;
  std::string state;
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS})
    state += reg.Dump(root);
  for (const char* name : {"ERSvc", "wuauserv", "W32Time", "Schedule", "upnphost"})
    state += std::string(name) + " " + std::to_string(fake::Machine().services.Find(name)->startType);
  return state;
}

// Puts a value of its own in every location a setting's rows name, so that
// undo has something other than "absent" to bring back.
void FillEveryLocation() {
  auto& reg = fake::Machine().registry;
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    for (const RegistryOperation& row : RegistryOperationsOf(id))
      reg.PutValue(row.root, row.path, row.name, REG_BINARY, {'v', 'o', 'r', 0, 0xff});
}

struct RoundTripCase {
  SettingId id;
  bool filled;
};

class UndoRoundTrip : public FakeSystemTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(UndoRoundTrip, GivesBackTheExactStateOfBefore) {
  MakeFullFakeSystem();
  // Registered already, so that the reports to the event log write nothing.
  std::string program = Machine().programPath;
  Registry().PutValue(HKEY_LOCAL_MACHINE, std::string(kEventSource) + "\\Hushgate",
                      "EventMessageFile", REG_EXPAND_SZ,
                      std::vector<BYTE>(program.c_str(), program.c_str() + program.size() + 1));
  if (GetParam().filled) FillEveryLocation();
  const std::string before = MachineState();
  SystemAccess system;
  ASSERT_TRUE(CaptureBeforeApply(system, GetParam().id));
  ApplyAndReport(system, GetParam().id);
  ASSERT_NE(before, MachineState()) << "apply changed nothing to undo";
  UndoResult result = Undo(system, GetParam().id);
  EXPECT_EQ(UndoResult::Outcome::kRestored, result.outcome)
      << (result.problems.empty() ? "" : result.problems[0]);
  EXPECT_EQ(before, MachineState());
}

std::vector<RoundTripCase> EveryUndoableSetting() {
  std::vector<RoundTripCase> cases;
  for (const SettingEntry& setting : AllSettings()) {
    Mechanism m = setting.mechanism;
    if (m == Mechanism::kNoAction || m == Mechanism::kMessengerRemoval ||
        m == Mechanism::kSupportAccount || m == Mechanism::kZipFolders)
      continue;
    cases.push_back({setting.id, false});
    cases.push_back({setting.id, true});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryPlan, UndoRoundTrip, ::testing::ValuesIn(EveryUndoableSetting()),
                         [](const auto& info) {
                           return "Setting" + std::to_string(info.param.id) +
                                  (info.param.filled ? "Filled" : "Fresh");
                         });

class BackupTest : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
  }
  static constexpr const char* kErrorReporting = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
  SystemAccess system_;
};

TEST_F(BackupTest, FirstCaptureWinsOverALaterApply) {
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 7);
  CaptureBeforeApply(system_, 4);
  ApplyAndReport(system_, 4);
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 9);
  CaptureBeforeApply(system_, 4);
  ApplyAndReport(system_, 4);
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system_, 4).outcome);
  EXPECT_EQ("type 4: 07 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  EXPECT_FALSE(Registry().HasKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hushgate"));
}

// A backup is data anyone with rights may have planted: undo writes only to
// the setting's own locations, with valid types and sizes.
TEST_F(BackupTest, PlantedEntriesAreRefusedAndReported) {
  const std::string entry = "SOFTWARE\\Hushgate\\Backup\\4";
  auto item = [&](const char* number, DWORD root, const char* path, const char* name, DWORD type,
                  std::vector<BYTE> data) {
    std::string key = entry + "\\" + number;
    Registry().PutNumber(HKEY_LOCAL_MACHINE, key, "Kind", 1);
    Registry().PutNumber(HKEY_LOCAL_MACHINE, key, "Root", root);
    Registry().PutString(HKEY_LOCAL_MACHINE, key, "Path", path);
    Registry().PutString(HKEY_LOCAL_MACHINE, key, "Name", name);
    Registry().PutNumber(HKEY_LOCAL_MACHINE, key, "Existed", 1);
    Registry().PutNumber(HKEY_LOCAL_MACHINE, key, "Type", type);
    Registry().PutValue(HKEY_LOCAL_MACHINE, key, "Data", REG_BINARY, data);
  };
  item("0", 2, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Planted", REG_SZ,
       {'e', 'v', 'i', 'l', 0});
  item("1", 2, kErrorReporting, "DoReport", REG_DWORD, {1, 2});  // a number of two bytes
  const std::string before = MachineState();
  UndoResult result = Undo(system_, 4);
  EXPECT_EQ(UndoResult::Outcome::kFailed, result.outcome);
  ASSERT_EQ(2u, result.problems.size());
  // The last capture comes first.
  EXPECT_NE(std::string::npos, result.problems[0].find("ungültiger Typ")) << result.problems[0];
  EXPECT_NE(std::string::npos, result.problems[1].find("gehört nicht zu dieser Einstellung"))
      << result.problems[1];
  EXPECT_EQ(before, MachineState());
}

TEST_F(BackupTest, TimeServerValuesComeBack) {
  const char* parameters = "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
  Registry().PutString(HKEY_LOCAL_MACHINE, parameters, "NtpServer", "time.example,0x1");
  Registry().AddKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers");
  const std::string before = MachineState();
  ASSERT_TRUE(Capture(system_, kTimeServerBackup, TimeServerLocations(3)));
  Registry().PutString(HKEY_LOCAL_MACHINE, parameters, "NtpServer", "other,0x1");
  Registry().PutString(HKEY_LOCAL_MACHINE,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers", "3", "x");
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system_, kTimeServerBackup).outcome);
  EXPECT_EQ(before, MachineState());
}

TEST_F(BackupTest, ProgramsCannotBeUndoneAndMissingBackupsAreSaidSo) {
  EXPECT_EQ(UndoResult::Outcome::kCannotUndo, Undo(system_, 15).outcome);
  EXPECT_EQ(UndoResult::Outcome::kCannotUndo, Undo(system_, 16).outcome);
  EXPECT_EQ(UndoResult::Outcome::kCannotUndo, Undo(system_, 30).outcome);
  EXPECT_EQ(UndoResult::Outcome::kNoBackup, Undo(system_, 4).outcome);
}

TEST_F(BackupTest, EveryChangeIsReportedToTheEventLog) {
  Registry().AddKey(HKEY_LOCAL_MACHINE, kEventSource);
  CaptureBeforeApply(system_, 4);
  ApplyAndReport(system_, 4);
  RevertAndReport(system_, 4);
  ASSERT_EQ(2u, Machine().events.size());
  EXPECT_EQ("Hushgate", Machine().events[0].source);
  EXPECT_EQ("Benutzer: Verwalter\r\nAktion: ausschalten\r\nEinstellung 4\r\nErgebnis: erledigt",
            Machine().events[0].text);
  std::string path = Machine().programPath;
  EXPECT_EQ(DescribeValue(REG_EXPAND_SZ, std::vector<BYTE>(path.c_str(), path.c_str() + path.size() + 1)),
            Describe(HKEY_LOCAL_MACHINE, std::string(kEventSource) + "\\Hushgate",
                     "EventMessageFile"));
}

std::string Label(int id) { return "Label " + std::to_string(id); }

class CommandSwitches : public BackupTest {
 protected:
  // The labels stand out as "Label <number>" in what the switches write.
  int RunWithLabels(const char* tail) {
    TextLoader before = SetTextSource(Label);
    int status = RunCommandLine(tail, system_);
    SetTextSource(before);
    return status;
  }
};

TEST_F(CommandSwitches, StatusChangesNothingAndTellsOnAgain) {
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
  RunCommandLine("4", system_);
  const std::string before = MachineState();
  Machine().output.clear();
  EXPECT_EQ(0, RunWithLabels("/STATUS 4"));
  EXPECT_EQ("Hushgate 3.61\tPC-HALLE3\tVerwalter\t2026-12-08 14:30:00\r\n"
            "4\toff\tyes\tLabel 6\r\n",
            Machine().output);
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
  Machine().output.clear();
  EXPECT_EQ(1, RunWithLabels("/status 4 5"));
  EXPECT_NE(std::string::npos, Machine().output.find("4\ton-again\tyes\tLabel 6\r\n"));
  EXPECT_NE(std::string::npos, Machine().output.find("5\ton\tno\tLabel 7\r\n"));
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 0);
  EXPECT_EQ(before, MachineState());
}

TEST_F(CommandSwitches, PreviewListsWhatApplyWouldDoAndChangesNothing) {
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
  const std::string before = MachineState();
  EXPECT_EQ(0, RunCommandLine("/preview 4 9 16", system_));
  EXPECT_EQ(before, MachineState());
  // Each setting's costs follow its operations.
  auto costs = [](SettingId id) {
    return std::to_string(id) + "\t" + Text(FindSetting(id)->consequenceId) + "\r\n" +
           std::to_string(id) + "\tWirksam: sofort.\r\n";
  };
  EXPECT_EQ("4\tWert\tHKLM\\SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting\\DoReport\t"
            "jetzt: REG_DWORD 1\tneu: REG_DWORD 0\r\n" + costs(4) +
            "9\tDienst\tERSvc\tjetzt: automatisch\tneu: deaktiviert, beenden\r\n" + costs(9) +
            "16\tProgramm\tC:\\WINDOWS\\system32\\net.exe\t user SUPPORT_388945a0 /delete\tohne Pause\r\n"
            "16\tKonto\tSUPPORT_388945a0\tlöschen\r\n" + costs(16),
            Machine().output);
}

TEST_F(CommandSwitches, UndoReportsEachSettingAndItsExitStatus) {
  CaptureBeforeApply(system_, 4);
  ApplyAndReport(system_, 4);
  Machine().output.clear();
  EXPECT_EQ(1, RunWithLabels("/undo 4 5 15"));
  EXPECT_EQ("4\trestored\tLabel 6\r\n5\tno-backup\tLabel 7\r\n15\tcannot-undo\tLabel 21\r\n",
            Machine().output);
  Machine().output.clear();
  EXPECT_EQ(0, RunWithLabels("/undo"));
}

TEST_F(CommandSwitches, MistypedSwitchesAndNumbersChangeNothing) {
  const std::string before = MachineState();
  for (const char* tail : {"/stat", "/status 4 x", "/preview", "/undo -1", "/? 4", "/lang:fr"}) {
    Machine().messageBoxes.clear();
    EXPECT_EQ(2, RunWithLabels(tail)) << tail;
    ASSERT_EQ(1u, Machine().messageBoxes.size()) << tail;
    EXPECT_EQ("You mistyped some of the commandline aguments!", Machine().messageBoxes[0].text);
  }
  EXPECT_EQ(before, MachineState());
}

TEST_F(CommandSwitches, WithoutOutputTheReportIsAMessageBox) {
  Machine().hasOutput = false;
  EXPECT_EQ(0, RunWithLabels("/?"));
  ASSERT_EQ(1u, Machine().messageBoxes.size());
  EXPECT_EQ("Label 49", Machine().messageBoxes[0].text);
}

// A rollout goes on without a backup, and says so where it can.
TEST_F(CommandSwitches, ApplyWithoutRightsForTheBackupGoesOnAndSaysSo) {
  Registry().AddKey(HKEY_LOCAL_MACHINE, "SOFTWARE");
  Registry().SetAccess(HKEY_LOCAL_MACHINE, "SOFTWARE", true, false);
  EXPECT_EQ(0, RunWithLabels("4 5"));
  EXPECT_EQ("Label 51\r\n", Machine().output);
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "ShowUI"));
}

}  // namespace
