// The status check of every setting against chosen states of the fake.

#include <functional>

#include "engine/StatusCheck.h"
#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

auto& Reg() { return fake::Machine().registry; }
const HKEY kUser = HKEY_CURRENT_USER;
const HKEY kMachine = HKEY_LOCAL_MACHINE;
const char kPreferences[] = "Software\\Microsoft\\MediaPlayer\\Preferences";
const char kAlexa[] =
    "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\{c95fe080-8f5d-11d2-a20b-00aa003c157a}";
const char kMessenger[] = "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32";
const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kGpo[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\";
const char kPsched[] = "\\Software\\Policies\\Microsoft\\Windows\\Psched";
const char kOfficeUser[] = "Software\\Policies\\Microsoft\\Office\\10.0\\Common";
const char kOfficeDefault[] = ".DEFAULT\\Software\\Policies\\Microsoft\\Office\\10.0\\Common";
const char kInternet[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char* const kOfficeValues[] = {"DWNeverUpload", "DWNoExternalURL", "DWNoFileCollection",
                                     "DWNoSecondLevelCollection"};

void Limit(const char* machine, DWORD value) {
  Reg().PutNumber(kUser, std::string(kGpo) + machine + kPsched, "NonBestEffortLimit", value);
}
void OfficeInstalled() {
  Reg().PutString(kMachine, "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot", "InstallCount",
                  "1");
}
void OfficeReports(DWORD value) {
  for (const char* name : kOfficeValues) {
    Reg().PutNumber(kUser, kOfficeUser, name, value);
    Reg().PutNumber(HKEY_USERS, kOfficeDefault, name, value);
  }
}
void Shutdown(const std::vector<BYTE>& timeout, const char* autoEnd) {
  Reg().PutValue(kMachine, "SYSTEM\\ControlSet001\\Control", "WaitToKillServiceTimeout", REG_SZ,
                 timeout);
  Reg().PutString(kUser, "Control Panel\\Desktop", "AutoEndTasks", autoEnd);
}
void Service(const char* name, DWORD startType, bool running) {
  fake::FakeService service;
  service.startType = startType;
  service.running = running;
  fake::Machine().services.Add(name, service);
}

struct Case {
  const char* label;
  SettingId id;
  std::function<void()> arrange;
  bool off;
};

class StatusCheckCases : public FakeSystemTest, public ::testing::WithParamInterface<Case> {};

TEST_P(StatusCheckCases, Answers) {
  GetParam().arrange();
  SystemAccess system;
  EXPECT_EQ(GetParam().off, StatusCheck(system, GetParam().id));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StatusCheckCases,
    ::testing::Values(
        Case{"FreshSystemHasNoScheduledUpdatesValue", 6, [] {}, false},
        Case{"NumberZeroStoredForSilentAcquisition", 1,
             [] { Reg().PutNumber(kUser, kPreferences, "SilentAcquisition", 0); }, true},
        Case{"BinaryOneForSilentAcquisition", 1,
             [] { Reg().PutValue(kUser, kPreferences, "SilentAcquisition", REG_BINARY, {1}); },
             false},
        Case{"BinaryZeroForCodecPrompt", 3,
             [] { Reg().PutValue(kUser, kPreferences, "UpgradeCodecPrompt", REG_BINARY, {0}); },
             true},
        Case{"ErrorReportingOff", 4,
             [] { Reg().PutNumber(kMachine, "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting",
                                  "DoReport", 0); },
             true},
        Case{"AlexaKeyWithoutScript", 0, [] { Reg().AddKey(kMachine, kAlexa); }, true},
        Case{"AlexaKeyWithScript", 0, [] { Reg().PutString(kMachine, kAlexa, "Script", "x"); },
             false},
        Case{"MessengerAutostartMissing", 14, [] {}, true},
        Case{"MessengerAutostartPresent", 14,
             [] { Reg().PutString(kUser, kRun, "MSMSGS", "msmsgs.exe"); }, false},
        Case{"MessengerNotInstalled", 15, [] {}, true},
        Case{"MessengerInstalled", 15, [] { Reg().PutString(HKEY_CLASSES_ROOT, kMessenger, "", "m"); },
             false},
        Case{"MessengerWithALongServerPathIsStillInstalled", 15,
             [] { Reg().PutString(HKEY_CLASSES_ROOT, kMessenger, "", std::string(300, 'p')); },
             false},
        Case{"TimeTypeNoSync", 21,
             [] { Reg().PutString(kMachine, "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters",
                                  "Type", "NoSync"); },
             true},
        Case{"TimeTypeNtp", 21,
             [] { Reg().PutString(kMachine, "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters",
                                  "Type", "Ntp"); },
             false},
        Case{"BandwidthOnlyLocalMachineZero", 26, [] { Limit("LocalMachine", 0); }, true},
        Case{"BandwidthLokalFiveLocalZero", 26, [] { Limit("LokalMachine", 5); Limit("LocalMachine", 0); },
             true},
        Case{"BandwidthOnlyLokalMachineFive", 26, [] { Limit("LokalMachine", 5); }, false},
        Case{"BandwidthNeither", 26, [] {}, false},
        Case{"OfficeReportsWithoutOffice", 27, [] { OfficeReports(1); }, false},
        Case{"OfficeReportsAllEight", 27, [] { OfficeInstalled(); OfficeReports(1); }, true},
        Case{"OfficeReportsDefaultUserMissingOne", 27,
             [] {
               OfficeInstalled();
               OfficeReports(1);
               Reg().PutNumber(HKEY_USERS, kOfficeDefault, "DWNoFileCollection", 0);
             },
             false},
        Case{"ShutdownWithoutAutoEnd", 28, [] { Shutdown({'2', '0', '0', '0', 0}, "0"); }, false},
        Case{"ShutdownFast", 28, [] { Shutdown({'2', '0', '0', '0', 0}, "1"); }, true},
        Case{"ShutdownWrittenWithoutTerminator", 28, [] { Shutdown({'2', '0', '0', '0'}, "1"); },
             true},
        Case{"ConnectionsNeither", 29, [] {}, false},
        Case{"ConnectionsTen", 29,
             [] {
               Reg().PutNumber(kUser, kInternet, "MaxConnectionsPer1_0Server", 10);
               Reg().PutNumber(kUser, kInternet, "MaxConnectionsPerServer", 10);
             },
             true},
        Case{"ConnectionsOnlyOneTen", 29,
             [] { Reg().PutNumber(kUser, kInternet, "MaxConnectionsPerServer", 10); }, false},
        Case{"ZipContentTypePresent", 30,
             [] { Reg().PutString(HKEY_CLASSES_ROOT, ".zip", "Content Type", "x"); }, false},
        Case{"ZipContentTypeMissing", 30, [] {}, true},
        Case{"DisabledServiceStillRunning", 9, [] { Service("ERSvc", SERVICE_DISABLED, true); },
             true},
        Case{"StoppedServiceOnDemand", 11, [] { Service("W32Time", SERVICE_DEMAND_START, false); },
             false},
        Case{"MissingService", 25, [] {}, false},
        Case{"MessengerNoActionHasNoCheck", 13, [] {}, false},
        Case{"SupportAccountHasNoCheck", 16, [] {}, false},
        Case{"NoSetting", 17, [] {}, false},
        Case{"BeyondTheCatalogue", 31, [] {}, false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
