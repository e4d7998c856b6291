// The backup of what the machine had, and undo: exact registry and service
// state back, nothing trusted that the backup holds, the first capture kept.

#include <map>

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/Backup.h"
#include "engine/RecordedChanges.h"
#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"
#include "engine/TimeServerPlan.h"
#include "engine/TextSource.h"
#include "native/FakeSystemTest.h"
#include "native/PlantedBackup.h"
#include "res/resource.h"
#include "system/SystemAccess.h"
#include "timeserver/TimeServerRegistry.h"

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


struct ForgedItem {
  const char* what;
  SettingId id;
  DWORD kind, root;
  const char* path;
  const char* name;
  std::map<std::string, std::vector<BYTE>> fields;
};

// The user's own backup area is the user's to write: from there undo reaches
// only the user's own locations, and only with every field an item needs.
const ForgedItem kForgedUserItems[] = {
    {"MachineValue", 4, 1, 2, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting", "DoReport",
     {{"Existed", N(1)}, {"Type", N(REG_DWORD)}, {"Data", N(1)}}},
    {"DefaultUserValue", 27, 1, 3, ".Default\\Software\\Policies\\Microsoft\\Office\\10.0\\Common",
     "DWNeverUpload", {{"Existed", N(1)}, {"Type", N(REG_DWORD)}, {"Data", N(0)}}},
    {"Service", 9, 3, 2, "", "ERSvc", {{"Existed", N(1)}, {"StartType", N(SERVICE_DEMAND_START)}}},
    {"ValueWithoutType", 1, 1, 1, "Software\\Microsoft\\MediaPlayer\\Preferences",
     "SilentAcquisition", {{"Existed", N(1)}, {"Data", {}}}},
    {"ChainWithoutDepth", 27, 4, 1, "Software\\Policies\\Microsoft\\Office\\10.0\\Common", "",
     {{"Existed", N(1)}}},
};

class ForgedUserItems : public BackupTest, public ::testing::WithParamInterface<ForgedItem> {};

TEST_P(ForgedUserItems, AreRefusedWithNothingWritten) {
  const ForgedItem& forged = GetParam();
  Machine().services.Find("ERSvc")->startType = SERVICE_DISABLED;
  Plant(HKEY_CURRENT_USER, forged.id, "0", forged.kind, forged.root, forged.path, forged.name,
        forged.fields);
  const std::string before = MachineState();
  UndoResult result = Undo(system_, forged.id);
  EXPECT_EQ(UndoResult::Outcome::kFailed, result.outcome);
  EXPECT_EQ(1u, result.problems.size());
  EXPECT_EQ(before, MachineState());
}

INSTANTIATE_TEST_SUITE_P(Items, ForgedUserItems, ::testing::ValuesIn(kForgedUserItems),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(BackupTest, ForgedUserItemsRestoreOnlyWhatTheSettingKnows) {
  const std::string psched = "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\"
                             "LocalMachine\\Software\\Policies\\Microsoft\\Windows\\Psched";
  Plant(HKEY_CURRENT_USER, 26, "0", 2, 1, psched, "", {{"Existed", N(1)}});
  const std::string copy = "Software\\Hushgate\\Backup\\26\\0\\Key";
  Registry().PutNumber(HKEY_CURRENT_USER, copy, "NonBestEffortLimit", 20);
  Registry().PutNumber(HKEY_CURRENT_USER, copy, "Planted", 1);
  Registry().PutNumber(HKEY_CURRENT_USER, copy + "\\Sub", "Planted", 1);
  // A chain that claims nothing existed would take the policy keys with it.
  Plant(HKEY_CURRENT_USER, 27, "0", 4, 1, "Software\\Policies\\Microsoft\\Office\\10.0\\Common", "",
        {{"Existed", N(1)}, {"Depth", N(0)}});
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system_, 26).outcome);
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system_, 27).outcome);
  EXPECT_EQ("type 4: 14 00 00 00", Describe(HKEY_CURRENT_USER, psched, "NonBestEffortLimit"));
  EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, psched, "Planted"));
  EXPECT_TRUE(Registry().SubKeyNames(HKEY_CURRENT_USER, psched).empty());
  EXPECT_TRUE(Registry().HasKey(HKEY_CURRENT_USER, "Software\\Policies\\Microsoft"));
}

// A stored path is shown, never obeyed: its line breaks make no line.
TEST_F(BackupTest, ForgedLineBreaksStayInTheirLine) {
  Plant(HKEY_CURRENT_USER, 1, "0", 1, 1, "x\r\n2\trestored\tforged", "v",
        {{"Existed", N(0)}});
  RunCommandLine("/undo 1", system_);
  EXPECT_EQ(std::string::npos, Machine().output.find("\n2\trestored")) << Machine().output;
  EXPECT_NE(std::string::npos, Machine().output.find("HKCU\\x??2?restored?forged\\v"));
  for (const fake::EventRecord& event : Machine().events)
    EXPECT_EQ(std::string::npos, event.text.find("\n2\trestored")) << event.text;
}

// Nothing the backup holds may hide a later capture, and half a capture is
// none: each is refused, and said so.
TEST_F(BackupTest, CapturesThatCannotBeKeptWholeFail) {
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 7);
  Plant(HKEY_LOCAL_MACHINE, 4, "999999", 1, 2, "SOFTWARE\\Elsewhere", "x", {{"Existed", N(0)}});
  EXPECT_TRUE(CaptureBeforeApply(system_, 4)) << "a planted item used the numbers up";
  EXPECT_EQ(2u, Registry().SubKeyNames(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hushgate\\Backup\\4").size());
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "ShowUI", 1);
  Registry().RefuseValueWrites("Data");
  EXPECT_FALSE(CaptureBeforeApply(system_, 5));
  EXPECT_FALSE(HasBackup(system_, 5));
}

// A location that cannot be read is no capture: what is there is not known,
// so undo must never take it for absent and delete what was there.
TEST_F(BackupTest, AnUnreadableLocationIsNoCaptureAndUndoKeepsWhatIsThere) {
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 7);
  Registry().SetAccess(HKEY_LOCAL_MACHINE, kErrorReporting, false, true);
  CaptureFailure failure;
  EXPECT_FALSE(CaptureBeforeApply(system_, 4, &failure));
  EXPECT_EQ(CaptureFailure::Cause::kUnreadable, failure.cause);
  Registry().SetAccess(HKEY_LOCAL_MACHINE, kErrorReporting, true, true);
  ApplyAndReport(system_, 4);
  EXPECT_EQ(UndoResult::Outcome::kNoBackup, Undo(system_, 4).outcome);
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  // A backup area that refuses is the other cause, told by its area.
  Registry().SetTreeAccess(HKEY_LOCAL_MACHINE, true, false);
  failure = CaptureFailure();
  EXPECT_FALSE(CaptureBeforeApply(system_, 5, &failure));
  EXPECT_EQ(CaptureFailure::Cause::kNotWritten, failure.cause);
  EXPECT_EQ(HKEY_LOCAL_MACHINE, failure.area);
}

// The window's question before going on without a backup names the cause
// that holds: the settings whose values cannot be read before an area.
TEST(MissedCaptures, TheQuestionNamesTheCauseThatHolds) {
  using Cause = CaptureFailure::Cause;
  MissedCaptures missed;
  EXPECT_TRUE(missed.Note(1, true, {Cause::kUnreadable, nullptr}));
  EXPECT_FALSE(missed.Any());
  EXPECT_FALSE(missed.Note(2, false, {Cause::kNotWritten, HKEY_CURRENT_USER}));
  EXPECT_EQ(Text(IDS_NO_BACKUP_ASK_USER), missed.Question());
  missed.Note(6, false, {Cause::kNotWritten, HKEY_LOCAL_MACHINE});
  EXPECT_EQ(Text(IDS_NO_BACKUP_ASK), missed.Question());
  missed.Note(16, false, {Cause::kUnreadable, nullptr});
  EXPECT_EQ(FormatText(IDS_NO_BACKUP_ASK_UNREADABLE, {Text(16) + "\n"}), missed.Question());
}

// Undo answers "restored" only for what reads back so: a chain that stays,
// a deleted key whose values did not all come back.
TEST_F(BackupTest, WhatDoesNotReadBackIsNoRestore) {
  CaptureBeforeApply(system_, 0);
  ApplyAndReport(system_, 0);
  Registry().RefuseValueWrites("Script");
  UndoResult key = Undo(system_, 0);
  EXPECT_EQ(UndoResult::Outcome::kFailed, key.outcome);
  ASSERT_EQ(1u, key.problems.size());
  EXPECT_NE(std::string::npos, key.problems[0].find("nicht vollständig")) << key.problems[0];
  Registry().RefuseValueWrites(std::string(1, '\0'));
  CaptureBeforeApply(system_, 27);
  ApplyAndReport(system_, 27);
  Registry().SetAccess(HKEY_CURRENT_USER, "Software\\Policies\\Microsoft", true, false);
  UndoResult chain = Undo(system_, 27);
  EXPECT_EQ(UndoResult::Outcome::kFailed, chain.outcome);
  ASSERT_EQ(1u, chain.problems.size());
  EXPECT_NE(std::string::npos, chain.problems[0].find("Office\\10.0\\Common: bleibt vorhanden"))
      << chain.problems[0];
}

// Whatever the dialog writes comes back: judged by the whole machine as it
// was, not by the list of what the backup takes.
TEST_F(BackupTest, TimeServerValuesComeBack) {
  const char* parameters = "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
  Registry().PutString(HKEY_LOCAL_MACHINE, parameters, "NtpServer", "time.example,0x1");
  Registry().PutString(HKEY_LOCAL_MACHINE, parameters, "Type", "NoSync");
  Registry().PutNumber(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\W32Time", "Start", 4);
  Registry().PutString(HKEY_LOCAL_MACHINE,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers", "", "1");
  const std::string before = MachineState();
  Machine().messageBoxAnswers = {IDYES};
  ASSERT_TRUE(ConfirmAndApplyTimeServer(nullptr, {3, "ntp.example.org"}));
  ASSERT_NE(before, MachineState());
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system_, TimeServerPlan()).outcome);
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
}

struct SourceCase {
  const char* what;
  const char* systemFile;  // in the system folder, or nullptr
  const char* program;
  const char* registered;  // EventMessageFile afterwards, or nullptr for none
  DWORD eventId;
  size_t strings;
  const char* programFiles = "C:\\Programme";  // ProgramFilesDir; nullptr: none
};

// Every view of the log reads the file the source names: it must be one only
// administrators can replace, and always there.
const SourceCase kSourceCases[] = {
    {"XpProfessional", "eventcreate.exe", "\\\\server\\tools\\hushgate.exe",
     "%SystemRoot%\\System32\\EventCreate.exe", 1, 1},
    {"XpHome", "netmsg.dll", "E:\\hushgate.exe", "%SystemRoot%\\System32\\netmsg.dll", 3299, 9},
    {"InProgramFiles", nullptr, "c:\\programme\\Hushgate\\hushgate.exe",
     "c:\\programme\\Hushgate\\hushgate.exe", 1, 1},
    {"InSystem32", nullptr, "c:\\windows\\SYSTEM32\\hushgate.exe",
     "c:\\windows\\SYSTEM32\\hushgate.exe", 1, 1},
    // The rest of the Windows folder is open to users (Temp), and a folder
    // that only begins like one of the two is another folder.
    {"InWindows", nullptr, "C:\\WINDOWS\\hushgate.exe", nullptr, 1, 1},
    {"InWindowsTemp", nullptr, "C:\\WINDOWS\\Temp\\hushgate.exe", nullptr, 1, 1},
    {"InALongerWindowsName", nullptr, "C:\\WINDOWSX\\System32\\hushgate.exe", nullptr, 1, 1},
    {"InALongerSystemName", nullptr, "C:\\WINDOWS\\System32x\\hushgate.exe", nullptr, 1, 1},
    {"InALongerProgramFilesName", nullptr, "C:\\Programme2\\hushgate.exe", nullptr, 1, 1},
    {"OnAShare", nullptr, "\\\\server\\tools\\hushgate.exe", nullptr, 1, 1},
    {"OnAShareWithoutProgramFiles", nullptr, "\\\\server\\tools\\hushgate.exe", nullptr, 1, 1,
     nullptr},
    {"BelowATooShortProgramFiles", nullptr, "C:\\hushgate.exe", nullptr, 1, 1, "C:"},
    {"OutOfWindowsAgain", nullptr, "C:\\WINDOWS\\System32\\..\\..\\Users\\hushgate.exe", nullptr, 1, 1},
};

class EventSource : public BackupTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(EventSource, NamesAFileOnlyAdministratorsCanReplace) {
  const SourceCase& c = GetParam();
  Registry().AddKey(HKEY_LOCAL_MACHINE, kEventSource);
  if (c.programFiles)
    Registry().PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                         "ProgramFilesDir", c.programFiles);
  if (c.systemFile) Machine().files.insert(std::string("c:\\windows\\system32\\") + c.systemFile);
  Machine().programPath = c.program;
  // A registration by an older run, from wherever it was started.
  Registry().PutString(HKEY_LOCAL_MACHINE, std::string(kEventSource) + "\\Hushgate",
                       "EventMessageFile", "\\\\server\\tools\\hushgate.exe");
  RunCommandLine("4", system_);
  ASSERT_EQ(1u, Machine().events.size());
  EXPECT_EQ(c.eventId, Machine().events[0].id);
  EXPECT_EQ(c.strings, Machine().events[0].strings);
  const std::string named = c.registered ? c.registered : "\\\\server\\tools\\hushgate.exe";
  EXPECT_EQ(DescribeValue(c.registered ? REG_EXPAND_SZ : REG_SZ,
                          std::vector<BYTE>(named.c_str(), named.c_str() + named.size() + 1)),
            Describe(HKEY_LOCAL_MACHINE, std::string(kEventSource) + "\\Hushgate",
                     "EventMessageFile"));
  // A registration that named another file is replaced, and said so.
  const bool replaced = c.registered != nullptr;
  EXPECT_EQ(replaced, Machine().events[0].text.find("server\\tools\\hushgate.exe -> ") !=
                          std::string::npos)
      << Machine().events[0].text;
}

INSTANTIATE_TEST_SUITE_P(Machines, EventSource, ::testing::ValuesIn(kSourceCases),
                         [](const auto& info) { return std::string(info.param.what); });

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
  EXPECT_EQ("Hushgate 3.61\tPC-HALLE3\tVerwalter\t2026-12-08 14:30:00\tworkgroup\r\n"
            "4\toff\tyes\tLabel 6\tmachine\tlocal\r\n",
            Machine().output);
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
  Machine().output.clear();
  EXPECT_EQ(1, RunWithLabels("/status 4 5"));
  EXPECT_NE(std::string::npos, Machine().output.find("4\ton-again\tyes\tLabel 6\tmachine\tlocal\r\n"));
  EXPECT_NE(std::string::npos, Machine().output.find("5\ton\tno\tLabel 7\tmachine\tlocal\r\n"));
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 0);
  EXPECT_EQ(before, MachineState());
  Machine().services.managerOpens = 0;
  RunWithLabels("/status");
  EXPECT_EQ(1, Machine().services.managerOpens) << "one service manager for the whole report";
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
  // Apply deletes a key only without subkeys, as Windows does; the preview
  // says when it will fail.
  const std::string alexa = "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\"
                            "{c95fe080-8f5d-11d2-a20b-00aa003c157a}";
  for (const char* expected : {"\tlöschen, nur ohne Unterschlüssel\r\n",
                               "\tlöschen schlägt fehl: der Schlüssel hat Unterschlüssel\r\n"}) {
    Machine().output.clear();
    EXPECT_EQ(0, RunCommandLine("/preview 0", system_));
    EXPECT_EQ(0u, Machine().output.find("0\tSchlüssel\tHKLM\\" + alexa + expected))
        << Machine().output;
    Registry().AddKey(HKEY_LOCAL_MACHINE, alexa + "\\Sub");
  }
  // The event source's registration is a write of its own, before the first
  // entry: listed where it would happen.
  Registry().AddKey(HKEY_LOCAL_MACHINE, kEventSource);
  Machine().files.insert("c:\\windows\\system32\\eventcreate.exe");
  Machine().output.clear();
  EXPECT_EQ(0, RunCommandLine("/preview 4", system_));
  const std::string source = "HKLM\\" + std::string(kEventSource) + "\\Hushgate\\";
  EXPECT_NE(std::string::npos,
            Machine().output.find("\r\n-\tWert\t" + source + "EventMessageFile\tjetzt: fehlt\t"
                                  "neu: REG_EXPAND_SZ \"%SystemRoot%\\System32\\EventCreate.exe\" "
                                  "(38 Bytes)\r\n-\tWert\t" + source + "TypesSupported\t"
                                  "jetzt: fehlt\tneu: REG_DWORD 7\r\n"))
      << Machine().output;
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

// Numbers given mean only those: every setting a report lists may be named,
// a number that names none is passed over beside one that does, and numbers
// of which none names a setting are mistyped, never "all off" or "nothing
// to restore".
TEST_F(CommandSwitches, NamedNumbersNeverWidenToEverything) {
  RunCommandLine("4", system_);
  const std::string before = MachineState();
  const char kMistypedBox[] = "box";
  const std::pair<const char*, const char*> cases[] = {
      {"/undo 99", kMistypedBox},
      {"/undo 17 99", kMistypedBox},
      {"/status 99", kMistypedBox},
      {"/status 18 20", kMistypedBox},
      {"/undo 28", "28\tno-backup\tLabel 41\r\n"},
      {"/undo 29 99", "29\tno-backup\tLabel 43\r\n"},
      {"/status 13 99", "Hushgate 3.61\tPC-HALLE3\tVerwalter\t2026-12-08 14:30:00\tworkgroup\r\n"},
  };
  for (const auto& [tail, output] : cases) {
    Machine().output.clear();
    Machine().messageBoxes.clear();
    const bool mistyped = output == kMistypedBox;
    EXPECT_EQ(mistyped ? 2 : 0, RunWithLabels(tail)) << tail;
    EXPECT_EQ(mistyped ? "" : output, Machine().output) << tail;
    EXPECT_EQ(mistyped ? 1u : 0u, Machine().messageBoxes.size()) << tail;
  }
  EXPECT_EQ(before, MachineState());
}

// A computer startup script runs as LocalSystem, whose HKCU is no person's:
// per-user settings are passed over, said once, and reported as such.
TEST_F(CommandSwitches, AsLocalSystemPerUserSettingsAreLeftToLogonScripts) {
  Machine().localSystem = true;
  const std::string user = Registry().Dump(HKEY_CURRENT_USER);
  EXPECT_EQ(0, RunCommandLine("1 4 27 4", system_));
  EXPECT_EQ("Als LocalSystem \xFC" "bergangen: 1 27. Diese Einstellungen gelten nur f\xFC"
            "r das Konto, unter dem Hushgate l\xE4" "uft (HKEY_CURRENT_USER), hier also f\xFC"
            "r kein Benutzerkonto; sie geh\xF6" "ren in ein Anmeldeskript der Benutzer.\r\n",
            Machine().output);
  EXPECT_EQ(user, Registry().Dump(HKEY_CURRENT_USER));
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  Machine().output.clear();
  EXPECT_EQ(0, RunWithLabels("/status 1 4 27"));
  EXPECT_NE(std::string::npos, Machine().output.find("\r\n1\tper-user\tno\tLabel 2\tuser\tlocal\r\n"
                                                     "4\toff\tyes\tLabel 6\tmachine\tlocal\r\n"
                                                     "27\tper-user\tno\tLabel 37\tmachine+user\tlocal\r\n"));
  Machine().output.clear();
  EXPECT_EQ(0, RunWithLabels("/undo 1 4"));
  EXPECT_EQ("1\tper-user\tLabel 2\r\n4\trestored\tLabel 6\r\nLabel 140\r\n", Machine().output);
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
