// Group Policy values that decide settings: which values decide what, the
// start types of the applied security templates, the local policy's
// registry file, and how status, preview, apply, revert and undo treat a
// setting a policy decides.

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/Consequences.h"
#include "engine/PolicyPlan.h"
#include "engine/RecordedChanges.h"
#include "engine/Revert.h"
#include "engine/StatusCheck.h"
#include "native/FakeSystemTest.h"
#include "native/PolicyFileBytes.h"
#include "res/resource.h"
#include "system/PolicyFiles.h"
#include "system/SystemAccess.h"

namespace {

const HKEY kMachine = HKEY_LOCAL_MACHINE;
const HKEY kUser = HKEY_CURRENT_USER;
const char kReportingPolicy[] = "Software\\Policies\\Microsoft\\PCHealth\\ErrorReporting";
const char kReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kTemplates[] = "c:\\windows\\security\\templates\\policies\\";
const char kTemplatesShown[] = "C:\\WINDOWS\\security\\templates\\policies\\";
const char kMachinePol[] = "c:\\windows\\system32\\grouppolicy\\machine\\registry.pol";
const char kPsched[] = "Software\\Policies\\Microsoft\\Windows\\Psched";

std::vector<BYTE> Number(DWORD n) {
  return {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)};
}
std::vector<BYTE> TextData(const std::string& text) {
  std::vector<BYTE> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

// A security template's copy as Windows keeps it: UTF-16LE with its mark.
std::string Utf16(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (char c : text) bytes += {c, '\0'};
  return bytes;
}

void PlantTemplate(const std::string& name, const std::string& services) {
  fake::Machine().fileContents[kTemplates + name] =
      Utf16("[Unicode]\r\nUnicode=yes\r\n[Service General Setting]\r\n" + services +
            "[Version]\r\nsignature=\"$CHICAGO$\"\r\n");
}

// ---------------------------------------------------------------------------
// Which registry policy values decide which setting.

struct PolicyValueCase {
  const char* label;
  SettingId id;
  HKEY root;
  const char* path;
  const char* name;
  DWORD type;
  std::vector<BYTE> data;
  PolicyState expected;
};

class PolicyValue : public FakeSystemTest, public ::testing::WithParamInterface<PolicyValueCase> {};

TEST_P(PolicyValue, DecidesAsItsMeaningSays) {
  MakeFullFakeSystem();
  const PolicyValueCase& c = GetParam();
  Registry().PutValue(c.root, c.path, c.name, c.type, c.data);
  SystemAccess system;
  PolicyDecision decision = DecidingPolicy(system, c.id);
  EXPECT_EQ(c.expected, decision.state);
  if (c.expected == PolicyState::kNone) {
    EXPECT_TRUE(decision.source.empty());
    return;
  }
  EXPECT_EQ(c.expected == PolicyState::kOff, IsSettingOff(system, c.id));
  EXPECT_NE(std::string::npos, decision.source.find(std::string(c.path) + "\\" + c.name + " = "))
      << decision.source;
}

const char kCodecs[] = "Software\\Policies\\Microsoft\\WindowsMediaPlayer";
const char kRestrictions[] = "Software\\Policies\\Microsoft\\Internet Explorer\\Infodelivery\\Restrictions";
const char kIeMain[] = "Software\\Policies\\Microsoft\\Internet Explorer\\Main";
const char kMessenger[] = "Software\\Policies\\Microsoft\\Messenger\\Client";
const char kTime[] = "Software\\Policies\\Microsoft\\W32time\\Parameters";
const char kNtp[] = "Software\\Policies\\Microsoft\\W32time\\TimeProviders\\NtpClient";
const char kHelp[] = "Software\\Policies\\Microsoft\\Windows NT\\Terminal Services";
constexpr PolicyState kOff = PolicyState::kOff;
constexpr PolicyState kOn = PolicyState::kOn;
constexpr PolicyState kNone = PolicyState::kNone;

const PolicyValueCase kValueCases[] = {
    {"LicencesOff", 1, kMachine, "Software\\Policies\\Microsoft\\WMDRM", "DisableOnline", REG_DWORD, Number(1), kOff},
    {"LicencesZeroMeansNothing", 1, kMachine, "Software\\Policies\\Microsoft\\WMDRM", "DisableOnline", REG_DWORD, Number(0), kNone},
    {"CodecsOff", 3, kUser, kCodecs, "PreventCodecDownload", REG_DWORD, Number(1), kOff},
    {"CodecsOn", 3, kUser, kCodecs, "PreventCodecDownload", REG_DWORD, Number(0), kOn},
    {"ReportsOff", 4, kMachine, kReportingPolicy, "DoReport", REG_DWORD, Number(0), kOff},
    {"ReportsOn", 4, kMachine, kReportingPolicy, "DoReport", REG_DWORD, Number(1), kOn},
    {"ReportsUnknownNumber", 4, kMachine, kReportingPolicy, "DoReport", REG_DWORD, Number(2), kNone},
    {"ReportsAsText", 4, kMachine, kReportingPolicy, "DoReport", REG_SZ, TextData("1"), kNone},
    {"ReportsTooShort", 4, kMachine, kReportingPolicy, "DoReport", REG_DWORD, {1, 0}, kNone},
    {"ReportsOfTheUserIgnored", 4, kUser, kReportingPolicy, "DoReport", REG_DWORD, Number(1), kNone},
    {"SeriousErrorsOn", 5, kMachine, kReportingPolicy, "ShowUI", REG_DWORD, Number(1), kOn},
    {"ScheduledUpdatesOff", 6, kUser, kRestrictions, "NoScheduledUpdates", REG_DWORD, Number(1), kOff},
    {"UpdateCheckOfTheMachine", 7, kMachine, kRestrictions, "NoUpdateCheck", REG_DWORD, Number(0), kOn},
    {"UpdateCheckOfTheUser", 7, kUser, kIeMain, "NoUpdateCheck", REG_DWORD, Number(1), kOff},
    {"TimeServiceNoSync", 11, kMachine, kTime, "Type", REG_SZ, TextData("NoSync"), kNone},
    {"TimeNoSync", 21, kMachine, kTime, "Type", REG_SZ, TextData("NoSync"), kOff},
    {"TimeDomain", 21, kMachine, kTime, "Type", REG_SZ, TextData("NT5DS"), kOn},
    {"TimeUnknownType", 21, kMachine, kTime, "Type", REG_SZ, TextData("Sundial"), kNone},
    {"TimeTypeAsNumber", 21, kMachine, kTime, "Type", REG_DWORD, Number(0), kNone},
    {"TimeClientOff", 21, kMachine, kNtp, "Enabled", REG_DWORD, Number(0), kOff},
    {"MessengerAutoRun", 14, kUser, kMessenger, "PreventAutoRun", REG_DWORD, Number(1), kOff},
    {"MessengerRunOfTheMachine", 24, kMachine, kMessenger, "PreventRun", REG_DWORD, Number(1), kOff},
    {"RemoteHelpOn", 19, kMachine, kHelp, "fAllowToGetHelp", REG_DWORD, Number(1), kOn},
    {"RemoteHelpOff", 19, kMachine, kHelp, "fAllowToGetHelp", REG_DWORD, Number(0), kOff},
    {"NoPolicyForIdentification", 2, kUser, kCodecs, "PreventCodecDownload", REG_DWORD, Number(1), kNone},
    // A value decides only the setting it is about.
    {"TimeServiceOfAnNtpType", 11, kMachine, kTime, "Type", REG_SZ, TextData("NTP"), kNone},
    {"TimeServiceOfTheClient", 11, kMachine, kNtp, "Enabled", REG_DWORD, Number(0), kNone},
    {"MessengerOfOneAccountNotTheMachines", 24, kUser, kMessenger, "PreventRun", REG_DWORD, Number(1), kNone},
    {"ReserveOfADomainPolicy", 26, kMachine, kPsched, "NonBestEffortLimit", REG_DWORD, Number(0), kOff},
    {"OtherReserveOfADomainPolicy", 26, kMachine, kPsched, "NonBestEffortLimit", REG_DWORD, Number(20), kOn},
};

INSTANTIATE_TEST_SUITE_P(Values, PolicyValue, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Where one value switches the function off, it is off whatever another says.
TEST_F(FakeSystemTest, OneValueThatSwitchesOffWins) {
  MakeFullFakeSystem();
  Registry().PutNumber(kMachine, kRestrictions, "NoUpdateCheck", 0);
  Registry().PutNumber(kUser, kIeMain, "NoUpdateCheck", 1);
  SystemAccess system;
  PolicyDecision decision = DecidingPolicy(system, 7);
  EXPECT_EQ(kOff, decision.state);
  EXPECT_EQ("HKCU\\" + std::string(kIeMain) + "\\NoUpdateCheck = 1", decision.source);
}

// ---------------------------------------------------------------------------
// Service start types of the applied security templates.

struct TemplateCase {
  const char* label;
  std::vector<std::pair<std::string, std::string>> files;  // name, section lines
  PolicyState expected;
  const char* decidingFile;
};

class ServiceTemplates : public FakeSystemTest,
                         public ::testing::WithParamInterface<TemplateCase> {};

TEST_P(ServiceTemplates, TheHighestNumberedFileNamingTheServiceDecides) {
  MakeFullFakeSystem();
  for (const auto& [name, lines] : GetParam().files) PlantTemplate(name, lines);
  SystemAccess system;
  const std::string before = Registry().Dump(kMachine);
  PolicyDecision decision = DecidingPolicy(system, 10);
  EXPECT_EQ(GetParam().expected, decision.state);
  if (GetParam().decidingFile) {
    EXPECT_EQ(std::string(kTemplatesShown) + GetParam().decidingFile + ": wuauserv = " +
                  (GetParam().expected == kOff ? "4" : "2"),
              decision.source);
  }
  EXPECT_EQ(before, Registry().Dump(kMachine));
}

const TemplateCase kTemplateCases[] = {
    {"Automatic", {{"gpt00000.inf", "\"wuauserv\",2,\"D:AR\"\r\n"}}, kOn, "gpt00000.inf"},
    {"DisabledUnquoted", {{"gpt00000.inf", "WuAuServ, 4 ,\"\"\r\n"}}, kOff, "gpt00000.inf"},
    {"LaterFileWins",
     {{"gpt00001.dom", "\"wuauserv\",2,\"\"\r\n"}, {"gpt00000.inf", "\"wuauserv\",4,\"\"\r\n"}},
     kOn, "gpt00001.dom"},
    {"ByNumberNotByName",
     {{"gpt00010.inf", "\"wuauserv\",4,\"\"\r\n"}, {"gpt00009.dom", "\"wuauserv\",2,\"\"\r\n"}},
     kOff, "gpt00010.inf"},
    {"FileNotNamingItPassedOver",
     {{"gpt00000.inf", "\"wuauserv\",4,\"\"\r\n"}, {"gpt00001.inf", "\"ERSvc\",2,\"\"\r\n"}},
     kOff, "gpt00000.inf"},
    {"MalformedLinePassedOver",
     {{"gpt00000.inf", "\"wuauserv\",2,\"\"\r\n"}, {"gpt00001.inf", "\"wuauserv\",x4,\"\"\r\n"}},
     kOn, "gpt00000.inf"},
    {"UnknownModeDecidesNothing", {{"gpt00000.inf", "\"wuauserv\",7,\"\"\r\n"}}, kNone, nullptr},
    {"OtherServiceOnly", {{"gpt00000.inf", "\"wuauservice\",4,\"\"\r\n"}}, kNone, nullptr},
    {"OtherFilesIgnored", {{"security.inf", "\"wuauserv\",4,\"\"\r\n"}}, kNone, nullptr},
    {"NoFiles", {}, kNone, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Files, ServiceTemplates, ::testing::ValuesIn(kTemplateCases),
                         [](const auto& info) { return std::string(info.param.label); });

// As Windows applies them: the highest-numbered of more templates than are
// read decides, a file found only by its short name is none, and a manual
// start is on.
TEST_F(FakeSystemTest, TemplatesAreReadAsWindowsAppliesThem) {
  MakeFullFakeSystem();
  for (int i = 0; i < 70; ++i)
    PlantTemplate("gpt000" + std::to_string(10 + i) + ".inf", i < 69 ? "\"wuauserv\",4,\"\"\r\n" : "");
  PlantTemplate("gpt00080.inf", "\"wuauserv\",3,\"\"\r\n");
  PlantTemplate("gpt00090.inf.old", "\"wuauserv\",4,\"\"\r\n");
  Machine().shortNames[std::string(kTemplates) + "gpt00090.inf.old"] = "GPT000~1.INF";
  SystemAccess system;
  PolicyDecision decision = DecidingPolicy(system, 10);
  EXPECT_EQ(kOn, decision.state);
  EXPECT_EQ(std::string(kTemplatesShown) + "gpt00080.inf: wuauserv = 3", decision.source);
  Machine().fileContents.erase(std::string(kTemplates) + "gpt00080.inf");
  EXPECT_EQ(std::string(kTemplatesShown) + "gpt00078.inf: wuauserv = 4", DecidingPolicy(system, 10).source);
}

TEST(ServiceLine, ReadsNameAndModeOnly) {
  DWORD mode = 0;
  EXPECT_TRUE(ParseServiceLine("\"Schedule\",4,\"D:(A;;GA;;;SY)\"", "schedule", &mode));
  EXPECT_EQ(4u, mode);
  for (const char* line : {"\"Schedule\"", "\"Schedule\",,\"\"", "\"Schedule\",-4", "\"Schedule\",400",
                           "Schedule=4", "\"Sched\",4"})
    EXPECT_FALSE(ParseServiceLine(line, "Schedule", &mode)) << line;
}

// ---------------------------------------------------------------------------
// The local policy's registry file, for the setting whose own value is a
// policy value.

struct PolFileCase {
  const char* label;
  std::string file;
  PolicyState expected;
};

class LocalPolicyFile : public FakeSystemTest, public ::testing::WithParamInterface<PolFileCase> {};

TEST_P(LocalPolicyFile, DecidesThePacketSchedulerReserve) {
  MakeFullFakeSystem();
  Machine().fileContents[kMachinePol] = GetParam().file;
  SystemAccess system;
  EXPECT_EQ(GetParam().expected, DecidingPolicy(system, 26).state);
}

const std::string kLimit0 = PolEntry(kPsched, "NonBestEffortLimit", REG_DWORD, Number(0));
const std::string kLimit20 = PolEntry(kPsched, "NonBestEffortLimit", REG_DWORD, Number(20));
const PolFileCase kPolCases[] = {
    {"LimitZeroOff", kPolHeader + kLimit0, kOff},
    {"OtherLimitOn", kPolHeader + PolEntry("Software\\Other", "x", REG_SZ, TextData("y")) + kLimit20, kOn},
    {"LastEntryWins", kPolHeader + kLimit0 + kLimit20, kOn},
    {"DeletedAgain", kPolHeader + kLimit0 + PolEntry(kPsched, "**del.NonBestEffortLimit", REG_SZ, TextData(" ")), kNone},
    {"TextIgnored", kPolHeader + PolEntry(kPsched, "NonBestEffortLimit", REG_SZ, TextData("0")), kNone},
    {"OtherKey", kPolHeader + PolEntry("Software\\Policies\\Psched", "NonBestEffortLimit", REG_DWORD, Number(0)), kNone},
    {"WrongVersion", std::string("PReg\2\0\0\0", 8) + kLimit0, kNone},
    {"CutShort", kPolHeader + kLimit0.substr(0, kLimit0.size() - 3), kNone},
    {"SizeBeyondTheEnd", kPolHeader + PolEntry(kPsched, "NonBestEffortLimit", REG_DWORD, Number(0), 0x7FFFFFFF), kNone},
    {"Empty", std::string(), kNone},
    {"NoClosingBracket", kPolHeader + kLimit0.substr(0, kLimit0.size() - 2), kNone},
    {"DeletedByAList", kPolHeader + kLimit0 + PolEntry(kPsched, "**DeleteValues", REG_SZ, WideText("x;NonBestEffortLimit")), kNone},
    {"OthersDeletedByAList", kPolHeader + kLimit0 + PolEntry(kPsched, "**DeleteValues", REG_SZ, WideText("NonBestEffort")), kOff},
    {"AllValuesDeleted", kPolHeader + kLimit0 + PolEntry(kPsched, "**delvals.", REG_SZ, WideText(" ")), kNone},
    {"SetAgainAfterDeletion", kPolHeader + PolEntry(kPsched, "**delvals.", REG_SZ, WideText(" ")) + kLimit0, kOff},
};

INSTANTIATE_TEST_SUITE_P(Files, LocalPolicyFile, ::testing::ValuesIn(kPolCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(PolicyRegistryFile, KeepsNothingOfAFileCutShort) {
  const std::string file = kPolHeader + kLimit0 + kLimit20.substr(0, 10);
  std::vector<PolicyFileValue> values;
  EXPECT_FALSE(ParsePolicyRegistryFile(std::vector<BYTE>(file.begin(), file.end()), &values));
  EXPECT_TRUE(values.empty());
  const std::string whole = kPolHeader + kLimit0;
  ASSERT_TRUE(ParsePolicyRegistryFile(std::vector<BYTE>(whole.begin(), whole.end()), &values));
  ASSERT_EQ(1u, values.size());
  EXPECT_EQ(kPsched, values[0].key);
  EXPECT_EQ("NonBestEffortLimit", values[0].name);
  EXPECT_EQ(Number(0), values[0].data);
}

// ---------------------------------------------------------------------------
// What the program does with a setting a policy decides.

// The registry and the services, without the program's own keys (its backup
// and its event source, which a pass-over may write like any run).
std::string MachineState() {
  std::string state;
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) {
    const std::string dump = fake::Machine().registry.Dump(root);
    bool own = false;
    for (size_t at = 0, end; at < dump.size(); at = end + 1) {
      end = dump.find('\n', at);
      const std::string line = dump.substr(at, end - at);
      if (line[0] == '[') own = line.find("Hushgate") != std::string::npos;
      if (!own) state += line + "\n";
    }
  }
  for (const char* name : {"ERSvc", "wuauserv", "W32Time", "Schedule", "upnphost"})
    state += std::to_string(fake::Machine().services.Find(name)->startType);
  return state;
}

class DecidedSetting : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
    Registry().PutNumber(kMachine, kReporting, "DoReport", 1);
  }
  std::string Local() { return Describe(kMachine, kReporting, "DoReport"); }
  SystemAccess system_;
};

TEST_F(DecidedSetting, ApplyPassesOverItAndSaysWhy) {
  Registry().PutNumber(kMachine, kReportingPolicy, "DoReport", 1);
  const std::string before = Local();
  EXPECT_EQ(1, RunCommandLine("4 5", system_));
  EXPECT_EQ(before, Local()) << "a decided setting was changed";
  EXPECT_EQ("type 4: 00 00 00 00", Describe(kMachine, kReporting, "ShowUI"));
  EXPECT_EQ("Durch Gruppenrichtlinie festgelegt, nicht ge\xE4ndert: 4\r\n", Machine().output);
  ASSERT_EQ(2u, Machine().events.size());
  EXPECT_EQ(EVENTLOG_ERROR_TYPE, Machine().events[0].type);
  EXPECT_NE(std::string::npos,
            Machine().events[0].text.find("Gruppenrichtlinie festgelegt (HKLM\\" +
                                          std::string(kReportingPolicy) + "\\DoReport = 1)"))
      << Machine().events[0].text;
  EXPECT_EQ("type 4: 01 00 00 00", Describe(kMachine, kReportingPolicy, "DoReport"));
}

TEST_F(DecidedSetting, ApplyCountsItDoneWhenThePolicyKeepsItOff) {
  Registry().PutNumber(kMachine, kReportingPolicy, "DoReport", 0);
  PlantTemplate("gpt00000.dom", "\"wuauserv\",4,\"\"\r\n");
  const std::string before = MachineState();
  EXPECT_EQ(0, RunCommandLine("4 10", system_));
  EXPECT_EQ(before, MachineState());
  EXPECT_EQ("Durch Gruppenrichtlinie festgelegt, nicht ge\xE4ndert: 4, 10\r\n", Machine().output);
  EXPECT_EQ(EVENTLOG_INFORMATION_TYPE, Machine().events.at(0).type);
}

TEST_F(DecidedSetting, RevertResetAndUndoLeaveItAlone) {
  Registry().PutNumber(kMachine, kReporting, "DoReport", 0);
  ASSERT_TRUE(CaptureBeforeApply(system_, 4));
  Registry().PutNumber(kMachine, kReportingPolicy, "DoReport", 0);
  int refusal = 0;
  EXPECT_FALSE(Revert(system_, 4, &refusal));
  EXPECT_EQ(IDS_POLICY_REFUSAL, refusal);
  refusal = 0;
  Machine().events.clear();
  EXPECT_FALSE(RevertAndReport(system_, 4, &refusal));
  EXPECT_EQ(IDS_POLICY_REFUSAL, refusal);
  ASSERT_EQ(1u, Machine().events.size());
  EXPECT_NE(std::string::npos, Machine().events[0].text.find("durch Gruppenrichtlinie festgelegt"));
  ResetAll(system_);
  EXPECT_EQ("type 4: 00 00 00 00", Local());
  EXPECT_EQ("type 4: 01 00 00 00", Describe(kMachine, kReporting, "ShowUI"));
  Machine().output.clear();
  EXPECT_EQ(1, RunCommandLine("/undo 4", system_));
  EXPECT_NE(std::string::npos, Machine().output.find("4\tpolicy\t")) << Machine().output;
  EXPECT_EQ("type 4: 00 00 00 00", Local());
}

struct StatusCase {
  const char* label;
  int policy;  // -1 none
  DWORD local;
  const char* line;
  int exitStatus;
};

class DecidedStatus : public DecidedSetting, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(DecidedStatus, ReportsTheStateThatHolds) {
  const StatusCase& c = GetParam();
  Registry().PutNumber(kMachine, kReporting, "DoReport", c.local);
  if (c.policy >= 0) Registry().PutNumber(kMachine, kReportingPolicy, "DoReport", DWORD(c.policy));
  EXPECT_EQ(c.exitStatus, RunCommandLine("/status 4", system_));
  EXPECT_NE(std::string::npos, Machine().output.find(std::string("\r\n4\t") + c.line + "\r\n"))
      << Machine().output;
}

const StatusCase kStatusCases[] = {
    {"PolicyOnOverLocalOff", 1, 0, "on\tno\tFehlerberichterstattung ausschalten\tmachine\tpolicy", 1},
    {"PolicyOffOverLocalOn", 0, 1, "off\tno\tFehlerberichterstattung ausschalten\tmachine\tpolicy", 0},
    {"NoPolicy", -1, 0, "off\tno\tFehlerberichterstattung ausschalten\tmachine\tlocal", 0},
    {"UnknownPolicyNumber", 5, 1, "on\tno\tFehlerberichterstattung ausschalten\tmachine\tlocal", 1},
};

INSTANTIATE_TEST_SUITE_P(States, DecidedStatus, ::testing::ValuesIn(kStatusCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(DecidedSetting, StatusHeaderTellsADomainMember) {
  Machine().joinStatus = 3;
  RunCommandLine("/status 13", system_);
  EXPECT_EQ("Hushgate 3.61\tPC-HALLE3\tVerwalter\t2026-12-08 14:30:00\tdomain\r\n",
            Machine().output);
}

TEST_F(DecidedSetting, PreviewSaysNothingWillChange) {
  Machine().fileContents[std::string(kTemplates) + "gpt00000.inf"] =
      Utf16("[Service General Setting]\r\n\"ERSvc\",2,\"\"\r\n");
  Registry().PutNumber(kMachine, kReportingPolicy, "DoReport", 1);
  EXPECT_EQ(0, RunCommandLine("/preview 4 9", system_));
  const std::string expected =
      "4\tdurch Gruppenrichtlinie festgelegt (HKLM\\" + std::string(kReportingPolicy) +
      "\\DoReport = 1): wird nicht ge\xE4ndert\r\n"
      "9\tdurch Gruppenrichtlinie festgelegt (" + kTemplatesShown +
      "gpt00000.inf: ERSvc = 2): wird nicht ge\xE4ndert\r\n";
  EXPECT_EQ(0u, Machine().output.find(expected)) << Machine().output;
}

std::string Numbered(int id) { return "<" + std::to_string(id) + ">%s"; }

// The pane's sentence: the deciding value where there is one; for a setting
// whose own value is a policy value, a warning on domain members only.
TEST_F(DecidedSetting, PaneNoteNamesTheDecidingValue) {
  Registry().PutNumber(kMachine, kReportingPolicy, "DoReport", 1);
  EXPECT_EQ("<302>HKLM\\" + std::string(kReportingPolicy) + "\\DoReport = 1",
            PolicyNoteOf(system_, *FindSetting(4), Numbered));
  EXPECT_EQ("", PolicyNoteOf(system_, *FindSetting(5), Numbered));
  EXPECT_EQ("", PolicyNoteOf(system_, *FindSetting(26), Numbered));
  Machine().joinStatus = 3;
  EXPECT_EQ("<305>%s", PolicyNoteOf(system_, *FindSetting(26), Numbered));
  EXPECT_EQ("<305>%s", PolicyNoteOf(system_, *FindSetting(27), Numbered));
  EXPECT_EQ("", PolicyNoteOf(system_, *FindSetting(5), Numbered));
  Machine().fileContents[kMachinePol] = kPolHeader + kLimit0;
  EXPECT_EQ(0u, PolicyNoteOf(system_, *FindSetting(26), Numbered).find("<302>C:\\WINDOWS\\system32\\"));
}

}  // namespace
