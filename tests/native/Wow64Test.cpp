// The program on a 64-bit Windows, where it runs under WOW64: every location
// goes to the registry the system reads, the programs of both widths run,
// and what cannot be reached is never taken for done.

#include <functional>
#include <map>

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/Apply.h"
#include "engine/Availability.h"
#include "engine/Backup.h"
#include "engine/PolicyPlan.h"
#include "engine/RecordedChanges.h"
#include "engine/Reports.h"
#include "engine/Revert.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "native/FakeSystemTest.h"
#include "native/PlantedBackup.h"
#include "res/resource.h"
#include "system/SystemAccess.h"
#include "timeserver/TimeServerRegistry.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const char kVersionVector[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector";
const char kOffice[] = "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot";
const char kWindowsNt[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kServers[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers";
const std::string kAlexa = std::string(kExtensions) + "\\" + kAlexaExtension;

// Where the 32-bit copy of a key below HKLM\SOFTWARE (or of HKCR\CLSID) is
// kept: below the redirected key's Wow6432Node.
std::string Copy32(const std::string& path) {
  size_t first = path.find('\\');
  if (path.compare(0, 5, "CLSID") == 0) return "Wow6432Node\\" + path;
  return path.substr(0, first) + "\\Wow6432Node" + path.substr(first);
}

class Wow64 : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
    fake::MakeXpX64();
  }
  // Type and bytes of the 64-bit value and of its 32-bit copy.
  static std::string Both(const std::string& path, const std::string& name) {
    return Describe(HKEY_LOCAL_MACHINE, path, name) + " | " +
           Describe(HKEY_LOCAL_MACHINE, Copy32(path), name);
  }
  static void PutBoth(const std::string& path, const std::string& name, DWORD in64, DWORD in32) {
    Registry().PutNumber(HKEY_LOCAL_MACHINE, path, name, in64);
    Registry().PutNumber(HKEY_LOCAL_MACHINE, Copy32(path), name, in32);
  }
  SystemAccess system_;
};

struct ViewCase {
  const char* what;
  std::function<void()> arrange;
  std::function<std::string(SystemAccess&)> act;
  std::string expected;
};

std::string OffOrOn(bool off) { return off ? "off" : "on"; }

// Each location the program reads or writes below HKLM\SOFTWARE, with the
// 32-bit copy holding something else: what it does shows which it reached.
TEST_F(Wow64, EveryLocationGoesToTheViewItBelongsTo) {
  const std::string one = "type 4: 01 00 00 00";
  const std::string zero = "type 4: 00 00 00 00";
  const ViewCase cases[] = {
      {"status of 4 reads the 64-bit value", [] { PutBoth(kErrorReporting, "DoReport", 0, 1); },
       [](SystemAccess& s) { return OffOrOn(StatusCheck(s, 4)); }, "off"},
      {"apply of 5 writes the 64-bit value", [] { PutBoth(kErrorReporting, "ShowUI", 1, 1); },
       [](SystemAccess& s) { Apply(s, 5); return Both(kErrorReporting, "ShowUI"); },
       zero + " | " + one},
      {"revert of 22 deletes the 64-bit value", [] { PutBoth(kAdvanced, "EnableBalloonTips", 0, 0); },
       [](SystemAccess& s) { Revert(s, 22); return Both(kAdvanced, "EnableBalloonTips"); },
       "missing | " + zero},
      {"apply of 24 writes the 64-bit value",
       [] { PutBoth("Software\\Microsoft\\Outlook Express", "Hide Messenger", 0, 0); },
       [](SystemAccess& s) {
         Apply(s, 24);
         return Both("Software\\Microsoft\\Outlook Express", "Hide Messenger");
       },
       "type 4: 02 00 00 00 | " + zero},
      {"status of 15 reads the 64-bit class", [] {},
       [](SystemAccess& s) { return OffOrOn(StatusCheck(s, 15)); }, "on"},
      {"the IE 6 probe reads the 64-bit version",
       [] { Registry().PutString(HKEY_LOCAL_MACHINE, Copy32(kVersionVector), "IE", "5.0002"); },
       [](SystemAccess& s) { return OffOrOn(!s.IsInternetExplorer6()); }, "on"},
      {"the Office XP probe reads the 32-bit view, Office's own",
       [] {
         Registry().PutString(HKEY_LOCAL_MACHINE, kOffice, "InstallCount", "");
         Registry().PutString(HKEY_LOCAL_MACHINE, Copy32(kOffice), "InstallCount", "1");
       },
       [](SystemAccess& s) { return OffOrOn(!s.IsOfficeXpInstalled()); }, "on"},
      {"the policy probe reads the shared policies",
       [] {
         Registry().PutNumber(HKEY_LOCAL_MACHINE,
                              "SOFTWARE\\Policies\\Microsoft\\PCHealth\\ErrorReporting",
                              "DoReport", 0);
       },
       [](SystemAccess& s) { return OffOrOn(DecidingPolicy(s, 4).state == PolicyState::kOff); },
       "off"},
      {"the messenger removal reads the 64-bit system root",
       [] { Registry().PutString(HKEY_LOCAL_MACHINE, Copy32(kWindowsNt), "SystemRoot", "D:\\W"); },
       [](SystemAccess& s) {
         Apply(s, 15);
         return Machine().launches.back().directory;
       },
       "C:\\WINDOWS"},
      {"the time-server dialog lists and writes the 64-bit servers",
       [] {
         Registry().PutString(HKEY_LOCAL_MACHINE, kServers, "1", "time.windows.com");
         Registry().PutString(HKEY_LOCAL_MACHINE, Copy32(kServers), "1", "wow.example");
       },
       [](SystemAccess&) {
         TimeServerList list = ReadTimeServers();
         ApplyTimeServer(list.servers.at(0));
         auto current = Registry().GetValue(HKEY_LOCAL_MACHINE, kServers, "");
         return list.servers[0].host + " " + (current ? "written" : "missing") + " | " +
                Describe(HKEY_LOCAL_MACHINE, Copy32(kServers), "");
       },
       "time.windows.com written | missing"},
      {"the backup keeps the 64-bit value, in the program's own 32-bit view",
       [] { PutBoth(kErrorReporting, "DoReport", 1, 7); },
       [](SystemAccess& s) {
         CaptureBeforeApply(s, 4);
         const char* item = "SOFTWARE\\Wow6432Node\\Hushgate\\Backup\\4\\0";
         return Describe(HKEY_LOCAL_MACHINE, item, "Data") + " " +
                Describe(HKEY_LOCAL_MACHINE, item, "View");
       },
       "type 3: 01 00 00 00 " + std::string("type 4: 40 00 00 00")},
      {"undo of 4 puts back the 64-bit value", [] { PutBoth(kErrorReporting, "DoReport", 1, 7); },
       [](SystemAccess& s) {
         RunCommandLine("4", s);
         RunCommandLine("/undo 4", s);
         return Both(kErrorReporting, "DoReport");
       },
       one + " | type 4: 07 00 00 00"},
  };
  for (const ViewCase& c : cases) {
    SetUp();
    c.arrange();
    EXPECT_EQ(c.expected, c.act(system_)) << c.what;
  }
}

// Where the extension key is, in each view: absent, there without the
// value that is the entry, or there with it.
enum class Copy { kAbsent, kEmpty, kScript };

void Plant(const std::string& path, Copy copy) {
  fake::FakeRegistry& registry = fake::Machine().registry;
  if (copy != Copy::kAbsent) registry.AddKey(HKEY_LOCAL_MACHINE, path);
  if (copy == Copy::kScript) registry.PutString(HKEY_LOCAL_MACHINE, path, "Script", "alexa.js");
}

struct AlexaCase {
  const char* what;
  Copy in64;
  Copy in32;
  bool offBefore;
  bool applied;
};

class AlexaInEachView : public Wow64, public ::testing::WithParamInterface<AlexaCase> {};

// Both Internet Explorers read their own copy: each copy there counts and
// is deleted, a view without one is left alone.
TEST_P(AlexaInEachView, EveryCopyThereCountsAndGoes) {
  Registry().DeleteKey(HKEY_LOCAL_MACHINE, kAlexa.c_str(), KEY_WOW64_64KEY);
  Plant(kAlexa, GetParam().in64);
  Plant(Copy32(kAlexa), GetParam().in32);
  EXPECT_EQ(GetParam().offBefore, StatusCheck(system_, 0));
  EXPECT_EQ(GetParam().applied, Apply(system_, 0));
  EXPECT_FALSE(Registry().HasKey(HKEY_LOCAL_MACHINE, kAlexa));
  EXPECT_FALSE(Registry().HasKey(HKEY_LOCAL_MACHINE, Copy32(kAlexa)));
  EXPECT_TRUE(StatusCheck(system_, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Copies, AlexaInEachView,
    ::testing::Values(AlexaCase{"Both", Copy::kScript, Copy::kScript, false, true},
                      AlexaCase{"Only64", Copy::kScript, Copy::kAbsent, false, true},
                      AlexaCase{"Only32", Copy::kAbsent, Copy::kScript, false, true},
                      AlexaCase{"EmptyBeside32", Copy::kEmpty, Copy::kScript, false, true},
                      AlexaCase{"Neither", Copy::kAbsent, Copy::kAbsent, true, false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Wow64, UndoPutsEachCopyBackInItsOwnView) {
  Plant(Copy32(kAlexa), Copy::kScript);
  Registry().PutString(HKEY_LOCAL_MACHINE, kAlexa, "Script", "alexa64.js");
  RunCommandLine("0", system_);
  RunCommandLine("/undo 0", system_);
  EXPECT_EQ("type 1: 61 6C 65 78 61 36 34 2E 6A 73 00", Describe(HKEY_LOCAL_MACHINE, kAlexa, "Script"));
  EXPECT_EQ("type 1: 61 6C 65 78 61 2E 6A 73 00",
            Describe(HKEY_LOCAL_MACHINE, Copy32(kAlexa), "Script"));
}

// Both ZIP folders, each registered by its own regsvr32, each waited for.
TEST_F(Wow64, ZipFoldersAreUnregisteredInBothWidths) {
  EXPECT_TRUE(Apply(system_, 30));
  ASSERT_EQ(2u, Machine().launches.size());
  EXPECT_FALSE(Machine().launches[0].native);
  EXPECT_TRUE(Machine().launches[1].native);
  EXPECT_EQ("C:\\WINDOWS\\system32\\regsvr32.exe", Machine().launches[1].file);
  EXPECT_EQ("/s /u zipfldr.dll", Machine().launches[1].parameters);
  EXPECT_EQ(SW_HIDE, Machine().launches[1].show);
  EXPECT_EQ((std::vector<DWORD>{2800, 2800}), Machine().pauses);
}

TEST_F(Wow64, AFailingSixtyFourBitRegistrationIsNoSuccess) {
  Machine().nativePrograms["C:\\WINDOWS\\system32\\regsvr32.exe"].exitCode = 3;
  EXPECT_FALSE(Apply(system_, 30));
  EXPECT_FALSE(system_.RegisterComponent("zipfldr.dll"));
}

// Without the calls that reach past the redirection, the 64-bit half stays
// as it was: never off, and a run says so.
TEST_F(Wow64, WhatCannotBeReachedStaysOnAndTheRunNamesIt) {
  Machine().redirectionCalls = false;
  Machine().deleteKeyExCall = false;
  Registry().DeleteKey(HKEY_CLASSES_ROOT, kMessengerClass, KEY_WOW64_64KEY);
  Registry().DeleteKey(HKEY_CLASSES_ROOT, ".zip");
  EXPECT_FALSE(StatusCheck(system_, 15));
  EXPECT_FALSE(StatusCheck(system_, 30));
  EXPECT_EQ(kSomeNotDone, RunCommandLine("15 0 4", system_));
  EXPECT_EQ(1u, Machine().launches.size());
  EXPECT_TRUE(Registry().HasKey(HKEY_LOCAL_MACHINE, kAlexa));
  EXPECT_EQ(FormatText(IDS_64BIT_UNREACHABLE, {"15"}) + "\r\n" +
                FormatText(IDS_64BIT_UNREACHABLE, {"0"}) + "\r\n",
            Machine().output);
}

// HKCU is one for both widths: its keys go without the 64-bit delete call.
TEST_F(Wow64, TheUsersKeysNeedNoViewToBeDeleted) {
  Machine().deleteKeyExCall = false;
  Apply(system_, 26);
  EXPECT_TRUE(Revert(system_, 26));
  for (const char* key : SystemAccess::kQosPolicyKeys)
    EXPECT_FALSE(Registry().HasKey(HKEY_CURRENT_USER, key)) << key;
}

struct VersionCase {
  const char* what;
  DWORD minor;
  BYTE productType;
  bool wow64;
  bool offered;
};

class XpFamily : public FakeSystemTest, public ::testing::WithParamInterface<VersionCase> {};

// Offered on XP: XP x64 is 5.2 like Server 2003, but a workstation.
TEST_P(XpFamily, OfferedWhereItIsXp) {
  Machine().minorVersion = GetParam().minor;
  Machine().productType = GetParam().productType;
  Registry().SetWow64(GetParam().wow64);
  SystemAccess system;
  EXPECT_EQ(GetParam().offered, IsSettingOffered(system, *FindSetting(22)));
  EXPECT_EQ(GetParam().offered, IsCategoryShown(system, *FindCategory(1)));
}

INSTANTIATE_TEST_SUITE_P(
    Versions, XpFamily,
    ::testing::Values(VersionCase{"Xp", 1, VER_NT_WORKSTATION, false, true},
                      VersionCase{"XpX64", 2, VER_NT_WORKSTATION, true, true},
                      VersionCase{"Server2003X64", 2, VER_NT_SERVER, true, false},
                      VersionCase{"Server2003", 2, VER_NT_WORKSTATION, false, false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Wow64, StatusHeaderEndsWithX64) {
  EXPECT_EQ("Hushgate 3.61\tPC-HALLE3\tVerwalter\t2026-12-08 14:30:00\tworkgroup\tx64\r\n",
            StatusHeader(system_));
}

// A backup of an earlier version names no view: it wrote the 32-bit one,
// where undo puts it back and says so.
TEST_F(Wow64, AnEarlierBackupGoesBackToThe32BitViewAndSaysSo) {
  PutBoth(kErrorReporting, "DoReport", 0, 0);
  Plant(HKEY_LOCAL_MACHINE, 4, "0", 1, 2, kErrorReporting, "DoReport",
        {{"Existed", N(1)}, {"Type", N(REG_DWORD)}, {"Data", N(1)}});
  // Earlier versions kept the backup where a 32-bit program's keys are.
  auto planted = Registry().SubKeyNames(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hushgate\\Backup\\4");
  Registry().PutNumber(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Hushgate\\Backup\\4\\0",
                       "Kind", 1);
  for (const char* field : {"Root", "Path", "Name", "Existed", "Type", "Data"}) {
    auto value = Registry().GetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hushgate\\Backup\\4\\0", field);
    Registry().PutValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Hushgate\\Backup\\4\\0", field,
                        value->type, value->bytes);
  }
  UndoResult result = Undo(system_, 4);
  EXPECT_EQ(UndoResult::Outcome::kRestored, result.outcome);
  EXPECT_EQ("type 4: 00 00 00 00 | type 4: 01 00 00 00", Both(kErrorReporting, "DoReport"));
  EXPECT_EQ(std::string("4\trestored\t") + Text(6) + "\r\n\tHKLM\\" + kErrorReporting +
                "\\DoReport" + Text(IDS_VIEW_32BIT) + ": " + Text(IDS_UNDO_EARLIER_VIEW) + "\r\n",
            UndoReport(PlanOf(4), result));
}

// A view is 32 or 64; anything else is no item undo takes.
TEST_F(Wow64, AnItemOfNeitherViewIsRefused) {
  const char* item = "SOFTWARE\\Wow6432Node\\Hushgate\\Backup\\4\\0";
  for (auto [field, bytes] : std::map<std::string, std::vector<BYTE>>{
           {"Kind", N(1)}, {"Root", N(2)}, {"Existed", N(0)}, {"View", N(65)}})
    Registry().PutValue(HKEY_LOCAL_MACHINE, item, field, REG_DWORD, bytes);
  Registry().PutString(HKEY_LOCAL_MACHINE, item, "Path", kErrorReporting);
  Registry().PutString(HKEY_LOCAL_MACHINE, item, "Name", "DoReport");
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
  EXPECT_EQ(UndoResult::Outcome::kFailed, Undo(system_, 4).outcome);
  EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
}

// What apply would do shows each copy of a component of both halves.
TEST_F(Wow64, PreviewShowsBothCopies) {
  Plant(Copy32(kAlexa), Copy::kScript);
  const std::string preview = PreviewReport(system_, {0, 30});
  const std::string key = "HKLM\\" + kAlexa;
  for (const std::string& part :
       {key + Text(IDS_VIEW_64BIT) + "\t", key + Text(IDS_VIEW_32BIT) + "\t",
        "regsvr32.exe" + Text(IDS_VIEW_32BIT) + "\t", "regsvr32.exe" + Text(IDS_VIEW_64BIT) + "\t"})
    EXPECT_NE(std::string::npos, preview.find(part)) << part << " in\n" << preview;
}

}  // namespace
