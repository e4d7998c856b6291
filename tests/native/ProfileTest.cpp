// Profiles: the file's rules, the command line's runs over them against the
// fake system, and the round trip from a saved profile back to its report.

#include <fstream>
#include <sstream>

#include "app/CommandLine.h"
#include "app/CommandLineReader.h"
#include "common/FullFakeSystem.h"
#include "engine/Backup.h"
#include "engine/Profile.h"
#include "engine/SettingCatalogue.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "native/FakeSystemTest.h"
#include "res/resource.h"
#include "system/SystemAccess.h"
#include "treeoptions/OptionImages.h"
#include "ui/TreeLooks.h"

namespace {

const char kFolder[] = "C:\\Dokumente und Einstellungen\\Verwalter";
const char kMistypedText[] = "You mistyped some of the commandline aguments!";

std::string Utf16(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (char c : text) bytes += std::string{c, '\0'};
  return bytes;
}

void PutFile(const std::string& path, const std::string& bytes) {
  fake::Machine().fileContents[fake::Lower(path)] = bytes;
}

std::string FileAt(const std::string& path) {
  return fake::Machine().fileContents[fake::Lower(path)];
}

std::string Label(SettingId id) { return Text(FindSetting(id)->labelId); }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.find('\r')));
  return lines;
}

// Every line but the header, each cut to its number and its last two fields.
std::vector<std::string> Verdicts(const std::string& report) {
  std::vector<std::string> verdicts;
  std::vector<std::string> lines = SplitLines(report);
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    size_t last = line.rfind('\t');
    size_t wanted = line.rfind('\t', last - 1);
    verdicts.push_back(line.substr(0, line.find('\t')) + line.substr(wanted));
  }
  return verdicts;
}

struct FormatCase {
  const char* label;
  std::vector<std::string> lines;  // of [Settings]
  std::map<SettingId, Wanted> wanted;
  std::vector<std::string> skipped;
};

class ProfileFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ProfileFormat, ReadsSettingsAndNamesWhatItSkips) {
  ProfileFileText file{"C:\\p.ini", {{"Settings", GetParam().lines}}};
  Profile profile = ParseProfile(file);
  EXPECT_EQ(GetParam().wanted, profile.wanted);
  EXPECT_EQ(GetParam().skipped, profile.skipped);
}

const Wanted kOff = Wanted::kOff, kOn = Wanted::kOn, kLeave = Wanted::kLeave;

INSTANTIATE_TEST_SUITE_P(
    Lines, ProfileFormat,
    ::testing::Values(
        FormatCase{"ThreeValues", {"4=off", "10=on", "21=leave"}, {{4, kOff}, {10, kOn}, {21, kLeave}}, {}},
        FormatCase{"CaseAndBlanks", {" 4 = OFF ", "10=\tOn"}, {{4, kOff}, {10, kOn}}, {}},
        FormatCase{"Comments", {"; 4=off", ";", "5=off"}, {{5, kOff}}, {}},
        FormatCase{"TreeNumbersOnly",
                   {"13=off", "17=off", "99=off", "x=off", "28=off"},
                   {{28, kOff}},
                   {"Profil: unbekannter Eintrag \x84" "13=off\x93, \xFC" "bersprungen",
                    "Profil: unbekannter Eintrag \x84" "17=off\x93, \xFC" "bersprungen",
                    "Profil: unbekannter Eintrag \x84" "99=off\x93, \xFC" "bersprungen",
                    "Profil: unbekannter Eintrag \x84x=off\x93, \xFC" "bersprungen"}},
        FormatCase{"UnknownValueAndNoEquals",
                   {"4=maybe", "5", "6=off"},
                   {{6, kOff}},
                   {"Profil: unbekannter Eintrag \x84" "4=maybe\x93, \xFC" "bersprungen",
                    "Profil: unbekannter Eintrag \x84" "5\x93, \xFC" "bersprungen"}},
        FormatCase{"SameValueTwice", {"4=off", "4=OFF"}, {{4, kOff}}, {}},
        FormatCase{"DifferentValuesTwice",
                   {"4=off", "5=off", "4=on"},
                   {{5, kOff}},
                   {"Profil: Einstellung 4 steht mehrmals mit verschiedenen Werten, \xFC" "bersprungen"}}),
    [](const auto& info) { return std::string(info.param.label); });

class ProfileRun : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
  }
  int Run(const std::string& tail) {
    Machine().output.clear();
    return RunCommandLine(tail, system_);
  }
  std::string Path(const char* name) { return std::string(kFolder) + "\\" + name; }
  SystemAccess system_;
};

struct FileCase {
  const char* label;
  const char* bytes;  // nullptr: no file
  bool utf16;
  int status;
  int problem;  // the line's text, 0 for none
};

class ProfileFile : public ProfileRun, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ProfileFile, IsReadByFullPathOrRefusedWithOneLine) {
  const FileCase& c = GetParam();
  if (c.bytes) PutFile(Path("p.ini"), c.utf16 ? Utf16(c.bytes) : c.bytes);
  // A bare name is never looked for in the Windows folder.
  PutFile("C:\\WINDOWS\\p.ini", "[Settings]\r\n5=off\r\n");
  EXPECT_EQ(c.status, Run("/status /profile:p.ini"));
  if (c.problem)
    EXPECT_EQ(FormatText(c.problem, {Path("p.ini")}) + "\r\n", Machine().output);
  else
    EXPECT_EQ((std::vector<std::string>{"4\ton\tmatch"}), Verdicts(Machine().output));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileFile,
    ::testing::Values(
        FileCase{"Ansi", "[Settings]\r\n4=on\r\n", false, kAllDone, 0},
        FileCase{"Utf16WithMark", "[Hushgate]\r\nFormat=1\r\n[Settings]\r\n4=on\r\n", true, kAllDone, 0},
        FileCase{"Utf8Mark", "\xEF\xBB\xBF[Settings]\r\n4=on\r\n", false, kMistyped, IDS_PROFILE_UTF8},
        FileCase{"Missing", nullptr, false, kMistyped, IDS_PROFILE_MISSING},
        FileCase{"NoSettingsSection", "[Hushgate]\r\nFormat=1\r\n4=on\r\n", false, kMistyped,
                 IDS_PROFILE_NO_SETTINGS},
        FileCase{"NewerFormat", "[Hushgate]\r\nFormat=2\r\n[Settings]\r\n4=on\r\n", false,
                 kMistyped, IDS_PROFILE_NEWER},
        FileCase{"FarNewerFormat", "[Hushgate]\r\nformat = 123456789\r\n[Settings]\r\n4=on\r\n",
                 false, kMistyped, IDS_PROFILE_NEWER}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProfileRun, LockedFileIsUnreadable) {
  PutFile(Path("p.ini"), "[Settings]\r\n4=off\r\n");
  Machine().lockedFiles.insert(fake::Lower(Path("p.ini")));
  EXPECT_EQ(kMistyped, Run("/profile:p.ini"));
  EXPECT_EQ(FormatText(IDS_PROFILE_UNREADABLE, {Path("p.ini")}) + "\r\n", Machine().output);
  EXPECT_FALSE(StatusCheck(system_, 4));
}

TEST_F(ProfileRun, CarriesOutOffAndOnAndLeavesTheRest) {
  PutFile("C:\\tills.ini", [] {
    std::ifstream in(PROFILE_SAMPLE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }());
  ASSERT_TRUE(system_.Services().SetServiceStartType(SERVICE_DISABLED, "wuauserv"));
  const bool timeWasOff = StatusCheck(system_, 21);
  EXPECT_EQ(kAllDone, Run("/profile:C:\\tills.ini"));
  std::vector<std::string> lines = SplitLines(Machine().output);
  ASSERT_GE(lines.size(), 3u) << Machine().output;
  EXPECT_EQ((std::vector<std::string>{"4\tdone\t" + Label(4), "5\tdone\t" + Label(5),
                                      "10\tdone\t" + Label(10)}),
            std::vector<std::string>(lines.begin(), lines.begin() + 3));
  EXPECT_TRUE(StatusCheck(system_, 4));
  EXPECT_TRUE(StatusCheck(system_, 5));
  EXPECT_EQ(DWORD(SERVICE_AUTO_START), system_.Services().GetServiceStartType("wuauserv"));
  EXPECT_EQ(timeWasOff, StatusCheck(system_, 21)) << Machine().output;
  EXPECT_FALSE(StatusCheck(system_, 6));
  // The switch back on was backed up first, so undo goes back to disabled.
  ASSERT_TRUE(HasBackup(system_, 10));
  EXPECT_EQ(UndoResult::Outcome::kRestored, Undo(system_, 10).outcome);
  EXPECT_EQ(DWORD(SERVICE_DISABLED), system_.Services().GetServiceStartType("wuauserv"));
  // A second run finds everything as wanted and acts on nothing.
  ASSERT_TRUE(system_.Services().SetServiceStartType(SERVICE_AUTO_START, "wuauserv"));
  EXPECT_EQ(kAllDone, Run("/profile:C:\\tills.ini"));
  EXPECT_EQ("", Machine().output);
}

struct StatusCase {
  const char* label;
  const char* settings;
  bool administrator;
  int status;
};

class ProfileExit : public ProfileRun, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(ProfileExit, TellsWhetherEverythingIsAsWanted) {
  Registry().DeleteKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck");
  Registry().DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot");
  Machine().administrator = GetParam().administrator;
  PutFile("C:\\p.ini", std::string("[Settings]\r\n") + GetParam().settings);
  EXPECT_EQ(GetParam().status, Run("/profile:C:\\p.ini")) << Machine().output;
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, ProfileExit,
    ::testing::Values(StatusCase{"AllDone", "4=off\r\n5=off\r\n", true, kAllDone},
                      StatusCase{"NotOfferedCountsAsWanted", "27=off\r\n", true, kAllDone},
                      StatusCase{"ApplyFails", "4=off\r\n6=off\r\n", true, kSomeNotDone},
                      StatusCase{"AlexaRemoved", "0=off\r\n", true, kAllDone},
                      StatusCase{"UnknownEntry", "4=off\r\n13=off\r\n", true, kEntriesSkipped},
                      StatusCase{"FailureWinsOverUnknown", "6=off\r\n13=off\r\n", true, kSomeNotDone},
                      StatusCase{"NoRights", "4=off\r\n", false, kNothingChanged},
                      StatusCase{"NoRightsNeededWhenNothingChanges", "4=leave\r\n", false, kAllDone}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProfileRun, OnForWhatCannotComeBackIsNotDoneAndSaysWhy) {
  PutFile("C:\\p.ini", "[Settings]\r\n0=off\r\n");
  ASSERT_EQ(kAllDone, Run("/profile:C:\\p.ini"));
  PutFile("C:\\p.ini", "[Settings]\r\n0=on\r\n");
  EXPECT_EQ(kSomeNotDone, Run("/profile:C:\\p.ini"));
  EXPECT_EQ("0\tcannot-undo\t" + Label(0) + "\r\n\t" + Text(IDS_CANNOT_REVERT) + "\r\n",
            Machine().output);
}

TEST_F(ProfileRun, MistypedSwitchesChangeNothing) {
  PutFile("C:\\p.ini", "[Settings]\r\n4=off\r\n");
  for (const char* tail : {"/profile:", "/profile", "/profile:C:\\p.ini 4", "/profiles:C:\\p.ini",
                           "/profile:\"C:\\p.ini", "/restorepoint /status /profile:C:\\p.ini",
                           "/status /profile:", "/saveprofile:", "/status 4 /profile:C:\\p.ini"}) {
    Machine().messageBoxes.clear();
    EXPECT_EQ(kMistyped, Run(tail)) << tail;
    ASSERT_EQ(1u, Machine().messageBoxes.size()) << tail;
    EXPECT_EQ(kMistypedText, Machine().messageBoxes[0].text);
  }
  EXPECT_FALSE(StatusCheck(system_, 4));
}

TEST_F(ProfileRun, QuotedFileMayHoldBlanks) {
  PutFile("C:\\Meine Profile\\p.ini", "[Settings]\r\n4=off\r\n");
  EXPECT_EQ(kAllDone, Run("/restorepoint /profile:\"C:\\Meine Profile\\p.ini\""));
  EXPECT_TRUE(StatusCheck(system_, 4));
  EXPECT_EQ(2u, Machine().restorePoints.size());
}

TEST_F(ProfileRun, PreviewListsWhatTheRunWouldDoAndChangesNothing) {
  ASSERT_TRUE(system_.Services().SetServiceStartType(SERVICE_DISABLED, "wuauserv"));
  PutFile("C:\\p.ini", "[Settings]\r\n4=off\r\n10=on\r\n0=leave\r\n");
  size_t changes = Registry().Changes().size();
  EXPECT_EQ(kAllDone, Run("/preview /profile:C:\\p.ini"));
  std::vector<std::string> lines = SplitLines(Machine().output);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("4\t", lines[0].substr(0, 2));
  EXPECT_EQ("10\t" + Text(IDS_PREVIEW_SWITCH_ON) + "\t" + Label(10), lines.back());
  EXPECT_EQ(changes, Registry().Changes().size());
}

TEST_F(ProfileRun, SavedProfileReportsOnlyMatchOnTheSameMachine) {
  ASSERT_EQ(kAllDone, Run("4 5 10"));
  ASSERT_EQ(kAllDone, Run("/saveprofile:saved.ini"));
  const std::string saved = FileAt(Path("saved.ini"));
  EXPECT_EQ("[Hushgate]\r\n; Profil von PC-HALLE3, gespeichert am 2026-12-08 14:30:00\r\nFormat=1\r\n",
            saved.substr(0, saved.find("\r\n\r\n") + 2));
  EXPECT_NE(std::string::npos, saved.find("; " + Label(4) + "\r\n4=off\r\n"));
  EXPECT_NE(std::string::npos, saved.find("; " + Label(6) + "\r\n6=leave\r\n"));
  EXPECT_EQ(kAllDone, Run("/status /profile:saved.ini"));
  EXPECT_EQ((std::vector<std::string>{"4\toff\tmatch", "5\toff\tmatch", "10\toff\tmatch"}),
            Verdicts(Machine().output));
  // The same profile on a machine as fresh reports drift.
  fake::ResetMachine();
  MakeFullFakeSystem();
  PutFile(Path("saved.ini"), saved);
  EXPECT_EQ(kSomeNotDone, Run("/status /profile:saved.ini"));
  EXPECT_EQ((std::vector<std::string>{"4\toff\tdrift", "5\toff\tdrift", "10\toff\tdrift"}),
            Verdicts(Machine().output));
}

// A Group Policy that holds error reporting on or off: the profile leaves
// it alone, and only where the policy's state is not the wanted one is the
// verdict "policy", a run not as wanted and the machine untouched.
struct PolicyCase {
  const char* label;
  int policyReport;  // the policy's DoReport
  const char* wanted;
  const char* verdict;
  int status;
};

class ProfilePolicy : public ProfileRun, public ::testing::WithParamInterface<PolicyCase> {
 protected:
  // The machine's registry without the program's own keys (backup, event
  // source), which a pass-over may write.
  std::string MachineState() {
    std::string state;
    const std::string dump = Registry().Dump(HKEY_LOCAL_MACHINE) + Registry().Dump(HKEY_CURRENT_USER);
    bool own = false;
    for (const std::string& line : SplitLines(dump)) {
      if (!line.empty() && line[0] == '[') own = line.find("Hushgate") != std::string::npos;
      if (!own) state += line + "\n";
    }
    return state;
  }
};

TEST_P(ProfilePolicy, LeavesADecidedSettingAlone) {
  const PolicyCase& c = GetParam();
  Registry().PutNumber(HKEY_LOCAL_MACHINE, "Software\\Policies\\Microsoft\\PCHealth\\ErrorReporting",
                       "DoReport", c.policyReport);
  PutFile("C:\\p.ini", std::string("[Settings]\r\n4=") + c.wanted + "\r\n");
  const std::string before = MachineState();
  EXPECT_EQ(c.status, Run("/status /profile:C:\\p.ini"));
  EXPECT_EQ((std::vector<std::string>{std::string("4\t") + c.wanted + "\t" + c.verdict}),
            Verdicts(Machine().output));
  EXPECT_NE(std::string::npos, Machine().output.find("\tmachine\tpolicy\t")) << Machine().output;
  EXPECT_EQ(c.status, Run("/profile:C:\\p.ini"));
  const bool passedOver = std::string(c.verdict) == "policy";
  EXPECT_EQ(passedOver ? "4\tpolicy\t" + Label(4) +
                             "\r\nDurch Gruppenrichtlinie festgelegt, nicht ge\xE4ndert: 4\r\n"
                       : std::string(),
            Machine().output);
  EXPECT_EQ(before, MachineState()) << "a setting a policy decides was changed";
  EXPECT_EQ(passedOver ? 1u : 0u, Machine().events.size());
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, ProfilePolicy,
    ::testing::Values(PolicyCase{"PolicyOnWantedOff", 1, "off", "policy", kSomeNotDone},
                      PolicyCase{"PolicyOffWantedOff", 0, "off", "match", kAllDone},
                      PolicyCase{"PolicyOffWantedOn", 0, "on", "policy", kSomeNotDone},
                      PolicyCase{"PolicyOnWantedOn", 1, "on", "match", kAllDone}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProfileRun, SavingKeepsWhatThisVersionDoesNotWrite) {
  PutFile("C:\\p.ini",
          "[Hushgate]\r\nFormat=1\r\nOwner=IT\r\n[Settings]\r\n13=off\r\n4=on\r\n[Notes]\r\nx=y\r\n");
  ASSERT_EQ(kAllDone, Run("/saveprofile:C:\\p.ini"));
  const std::string saved = FileAt("C:\\p.ini");
  EXPECT_NE(std::string::npos, saved.find("Format=1\r\nOwner=IT\r\n")) << saved;
  EXPECT_NE(std::string::npos, saved.find("62=leave\r\n13=off\r\n")) << saved;
  EXPECT_NE(std::string::npos, saved.find("\r\n[Notes]\r\nx=y\r\n")) << saved;
  EXPECT_EQ(std::string::npos, saved.find("4=on")) << saved;
}

TEST_F(ProfileRun, SavingLeavesWhatThisMachineDoesNotOffer) {
  ASSERT_EQ(kAllDone, Run("1 4"));
  Registry().DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer\\8.0\\Registration");
  ASSERT_TRUE(StatusCheck(system_, 1));
  ASSERT_EQ(kAllDone, Run("/saveprofile:C:\\p.ini"));
  const std::string saved = FileAt("C:\\p.ini");
  EXPECT_NE(std::string::npos, saved.find("\r\n1=leave\r\n")) << saved;
  EXPECT_NE(std::string::npos, saved.find("\r\n4=off\r\n")) << saved;
}

TEST_F(ProfileRun, SavingRefusesAFileItCannotReadWhole) {
  PutFile("C:\\p.ini", "\xEF\xBB\xBF[Settings]\r\n13=off\r\n");
  EXPECT_EQ(kSomeNotDone, Run("/saveprofile:C:\\p.ini"));
  EXPECT_EQ("\xEF\xBB\xBF[Settings]\r\n13=off\r\n", FileAt("C:\\p.ini"));
}

}  // namespace

namespace {

struct LoadedLook {
  int image;
  bool wantedOff;
  ProfileChoice choice;
};

TEST(ProfileIntoTree, ChoosesOffEntriesAndRespectsLocksAndDoneItems) {
  const LoadedLook kLooks[] = {
      {ImageUnchecked, true, ProfileChoice::kChoose},
      {ImageUnchecked, false, ProfileChoice::kKeep},
      {ImageCheckedAttention, false, ProfileChoice::kUnchoose},
      {ImageChecked, true, ProfileChoice::kKeep},
      {ImageUncheckedDisabled, true, ProfileChoice::kLocked},   // a locked expert setting
      {ImageUncheckedDisabled, false, ProfileChoice::kKeep},
      {ImageCheckedDisabled, true, ProfileChoice::kKeep},       // off already
      {ImageCheckedDisabled, false, ProfileChoice::kKeep},
      {ImageRadioOff, true, ProfileChoice::kChoose},
      {ImageRadioOn, false, ProfileChoice::kUnchoose},
      {ImageRadioOnDisabled, false, ProfileChoice::kKeep},
  };
  for (const LoadedLook& look : kLooks)
    EXPECT_EQ(look.choice, ChoiceFromProfile(look.image, look.wantedOff))
        << "image " << look.image << (look.wantedOff ? " wanted off" : " not wanted");
}

}  // namespace
