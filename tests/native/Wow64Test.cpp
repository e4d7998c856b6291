// The program on a 64-bit Windows, where it runs under WOW64: every location
// goes to the registry the system reads, and what cannot be reached there is
// never taken for done.

#include <functional>

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
#include "res/resource.h"
#include "system/SystemAccess.h"
#include "timeserver/TimeServerRegistry.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const char kOffice[] = "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot";
const char kServers[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers";
const char kItem[] = "SOFTWARE\\Wow6432Node\\Hushgate\\Backup\\4\\0";
const std::string kAlexa = std::string(kExtensions) + "\\" + kAlexaExtension;

// Where the 32-bit copy of a key below HKLM\SOFTWARE (or of HKCR\CLSID) is
// kept: below the redirected key's Wow6432Node.
std::string Copy32(const std::string& path) {
  if (path.compare(0, 5, "CLSID") == 0) return "Wow6432Node\\" + path;
  return path.substr(0, 8) + "\\Wow6432Node" + path.substr(8);
}

fake::FakeRegistry& Reg() { return fake::Machine().registry; }

void PutBoth(const std::string& path, const std::string& name, DWORD in64, DWORD in32) {
  Reg().PutNumber(HKEY_LOCAL_MACHINE, path, name, in64);
  Reg().PutNumber(HKEY_LOCAL_MACHINE, Copy32(path), name, in32);
}

// XP x64 with every setting's 64-bit keys in place.
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
// (Status, apply and undo of 0, 4, 5, 22 and 24 run under Wine's WOW64.)
TEST_F(Wow64, EveryLocationGoesToTheViewItBelongsTo) {
  const ViewCase cases[] = {
      {"revert of 22", [] { PutBoth(kAdvanced, "EnableBalloonTips", 0, 0); },
       [](SystemAccess& s) { Revert(s, 22); return Both(kAdvanced, "EnableBalloonTips"); },
       "missing | type 4: 00 00 00 00"},
      {"status of 15: the 64-bit class", [] {},
       [](SystemAccess& s) { return OffOrOn(StatusCheck(s, 15)); }, "on"},
      {"Internet Explorer's entry only in the 32-bit copy counts and goes",
       [] {
         Reg().DeleteKey(HKEY_LOCAL_MACHINE, kAlexa.c_str(), KEY_WOW64_64KEY);
         Reg().PutString(HKEY_LOCAL_MACHINE, Copy32(kAlexa), "Script", "a.js");
       },
       [](SystemAccess& s) {
         std::string before = OffOrOn(StatusCheck(s, 0));
         std::string applied = std::to_string(Apply(s, 0));
         return before + applied + std::to_string(Reg().HasKey(HKEY_LOCAL_MACHINE, Copy32(kAlexa))) +
                std::to_string(Reg().HasKey(HKEY_LOCAL_MACHINE, kAlexa)) + OffOrOn(StatusCheck(s, 0));
       },
       "on100off"},
      {"an empty 64-bit copy beside a 32-bit entry", [] {
         Reg().PutString(HKEY_LOCAL_MACHINE, Copy32(kAlexa), "Script", "a.js");
         HKEY key;
         Reg().OpenKey(HKEY_LOCAL_MACHINE, kAlexa.c_str(), KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key);
         Reg().DeleteValue(key, "Script");
         Reg().CloseKey(key);
       },
       [](SystemAccess& s) { return OffOrOn(StatusCheck(s, 0)); }, "on"},
      {"the probes: IE 6's 64-bit version, Office XP's own 32-bit installation",
       [] {
         Reg().PutString(HKEY_LOCAL_MACHINE,
                         Copy32("SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector"), "IE",
                         "5.0002");
         Reg().PutString(HKEY_LOCAL_MACHINE, kOffice, "InstallCount", "");
         Reg().PutString(HKEY_LOCAL_MACHINE, Copy32(kOffice), "InstallCount", "1");
       },
       [](SystemAccess& s) {
         return std::to_string(s.IsInternetExplorer6()) + std::to_string(s.IsOfficeXpInstalled());
       },
       "11"},
      {"the policy probe: shared policies",
       [] {
         Reg().PutNumber(HKEY_LOCAL_MACHINE,
                         "SOFTWARE\\Policies\\Microsoft\\PCHealth\\ErrorReporting", "DoReport", 0);
       },
       [](SystemAccess& s) { return OffOrOn(DecidingPolicy(s, 4).state == PolicyState::kOff); },
       "off"},
      {"the time-server dialog",
       [] {
         Reg().PutString(HKEY_LOCAL_MACHINE, kServers, "1", "time.windows.com");
         Reg().PutString(HKEY_LOCAL_MACHINE, Copy32(kServers), "1", "wow.example");
       },
       [](SystemAccess&) {
         TimeServerList list = ReadTimeServers();
         ApplyTimeServer(list.servers.at(0));
         return list.servers[0].host + " " + Both(kServers, "").substr(0, 13);
       },
       "time.windows.com type 1: 31 00"},
      {"the backup: the 64-bit value, in the program's own 32-bit view",
       [] { PutBoth(kErrorReporting, "DoReport", 1, 7); },
       [](SystemAccess& s) {
         CaptureBeforeApply(s, 4);
         return Describe(HKEY_LOCAL_MACHINE, kItem, "Data") + " " +
                Describe(HKEY_LOCAL_MACHINE, kItem, "View");
       },
       "type 3: 01 00 00 00 type 4: 40 00 00 00"},
      {"HKCU keys are deleted without the 64-bit delete call",
       [] { Machine().deleteKeyExCall = false; },
       [](SystemAccess& s) {
         Apply(s, 26);
         std::string reverted = std::to_string(Revert(s, 26));
         return reverted +
                std::to_string(Reg().HasKey(HKEY_CURRENT_USER, SystemAccess::kQosPolicyKeys[0]));
       },
       "10"},
  };
  for (const ViewCase& c : cases) {
    SetUp();
    c.arrange();
    EXPECT_EQ(c.expected, c.act(system_)) << c.what;
  }
}

// Without the calls that reach past the redirection, the 64-bit half stays
// as it was: never off, and a run says so.
TEST_F(Wow64, WhatCannotBeReachedStaysOnAndTheRunNamesIt) {
  Machine().redirectionCalls = false;
  Machine().deleteKeyExCall = false;
  Reg().DeleteKey(HKEY_CLASSES_ROOT, kMessengerClass, KEY_WOW64_64KEY);
  Reg().DeleteKey(HKEY_CLASSES_ROOT, ".zip");
  EXPECT_FALSE(StatusCheck(system_, 15));
  EXPECT_FALSE(StatusCheck(system_, 30));
  EXPECT_EQ(kSomeNotDone, RunCommandLine("15 0 4", system_));
  EXPECT_EQ(1u, Machine().launches.size());
  EXPECT_TRUE(Reg().HasKey(HKEY_LOCAL_MACHINE, kAlexa));
  EXPECT_EQ(FormatText(IDS_64BIT_UNREACHABLE, {"15"}) + "\r\n" +
                FormatText(IDS_64BIT_UNREACHABLE, {"0"}) + "\r\n",
            Machine().output);
}

// XP x64 is 5.2 like Server 2003, but a workstation: it is offered what XP is.
TEST_F(FakeSystemTest, XpX64CountsAsXpAndServer2003DoesNot) {
  SystemAccess system;
  fake::MakeXpX64();
  EXPECT_TRUE(IsSettingOffered(system, *FindSetting(22)));
  EXPECT_TRUE(IsCategoryShown(system, *FindCategory(1)));
  Machine().productType = VER_NT_SERVER;
  EXPECT_FALSE(IsSettingOffered(system, *FindSetting(22)));
}

// A backup of an earlier version names no view: it wrote the 32-bit one,
// where undo puts it back and says so. A view is 32 or 64, nothing else.
TEST_F(Wow64, AnEarlierBackupGoesBackToThe32BitViewAndSaysSo) {
  PutBoth(kErrorReporting, "DoReport", 0, 0);
  for (auto [field, number] : {std::pair{"Kind", 1}, {"Root", 2}, {"Existed", 1}, {"Type", 4}})
    Reg().PutNumber(HKEY_LOCAL_MACHINE, kItem, field, DWORD(number));
  Reg().PutString(HKEY_LOCAL_MACHINE, kItem, "Path", kErrorReporting);
  Reg().PutString(HKEY_LOCAL_MACHINE, kItem, "Name", "DoReport");
  Reg().PutValue(HKEY_LOCAL_MACHINE, kItem, "Data", REG_BINARY, {1, 0, 0, 0});
  Reg().PutNumber(HKEY_LOCAL_MACHINE, kItem, "View", 65);
  EXPECT_EQ(UndoResult::Outcome::kFailed, Undo(system_, 4).outcome);
  HKEY item;
  Reg().OpenKey(HKEY_LOCAL_MACHINE, kItem, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &item);
  Reg().DeleteValue(item, "View");
  Reg().CloseKey(item);
  UndoResult result = Undo(system_, 4);
  EXPECT_EQ("type 4: 00 00 00 00 | type 4: 01 00 00 00", Both(kErrorReporting, "DoReport"));
  EXPECT_EQ(std::string("4\trestored\t") + Text(6) + "\r\n\tHKLM\\" + kErrorReporting +
                "\\DoReport" + Text(IDS_VIEW_32BIT) + ": " + Text(IDS_UNDO_EARLIER_VIEW) + "\r\n",
            UndoReport(PlanOf(4), result));
}

// What apply would do shows each copy of a component of both halves.
TEST_F(Wow64, PreviewShowsBothCopies) {
  Reg().AddKey(HKEY_LOCAL_MACHINE, Copy32(kAlexa));
  const std::string preview = PreviewReport(system_, {0, 30});
  const std::string key = "HKLM\\" + kAlexa;
  for (const std::string& part :
       {key + Text(IDS_VIEW_64BIT) + "\t", key + Text(IDS_VIEW_32BIT) + "\t",
        "regsvr32.exe" + Text(IDS_VIEW_32BIT) + "\t", "regsvr32.exe" + Text(IDS_VIEW_64BIT) + "\t"})
    EXPECT_NE(std::string::npos, preview.find(part)) << part << " in\n" << preview;
}

}  // namespace
