#include "engine/StatusCheck.h"

#include "engine/SettingCatalogue.h"
#include "engine/SettingKeys.h"
#include "system/SystemAccess.h"

namespace {

using namespace keys;

// Equal: off when the value reads as expected. Absent: off when the value
// is not there; these settings are switched off by removing something.
enum class Rule { kEqual, kAbsent };

struct Comparison {
  SettingId id;
  Rule rule;
  HKEY root;
  const char* path;
  const char* name;
  int kind;
  DWORD number;
  const char* text;
};

constexpr Rule kEqual = Rule::kEqual;
constexpr Rule kAbsent = Rule::kAbsent;
const char kLokalPsched[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LokalMachine\\Software\\"
    "Policies\\Microsoft\\Windows\\Psched";
const char kLocalPsched[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LocalMachine\\Software\\"
    "Policies\\Microsoft\\Windows\\Psched";

// Rows of one setting are read in table order and stop once the answer is
// settled; all must hold, except for 26, where either key suffices.
const Comparison kComparisons[] = {
    {0, kAbsent, HKEY_LOCAL_MACHINE, kAlexaExtensionPath, "Script", kKindText, 0, nullptr},
    {1, kEqual, HKEY_CURRENT_USER, kMediaPlayerPreferences, "SilentAcquisition", kKindBinary, 0, ""},
    {2, kEqual, HKEY_CURRENT_USER, kMediaPlayerPreferences, "SendUserGUID", kKindBinary, 0, ""},
    {3, kEqual, HKEY_CURRENT_USER, kMediaPlayerPreferences, "UpgradeCodecPrompt", kKindBinary, 0, ""},
    {4, kEqual, HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", kKindNumber, 0, nullptr},
    {5, kEqual, HKEY_LOCAL_MACHINE, kErrorReporting, "ShowUI", kKindNumber, 0, nullptr},
    {6, kEqual, HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates", kKindNumber, 1, nullptr},
    {7, kEqual, HKEY_CURRENT_USER, kExplorerMain, "NoUpdateCheck", kKindNumber, 1, nullptr},
    {8, kEqual, HKEY_CURRENT_USER, kInternetSettings, "EnableNegotiate", kKindNumber, 0, nullptr},
    {14, kAbsent, HKEY_CURRENT_USER, kRun, "MSMSGS", kKindText, 0, nullptr},
    {15, kAbsent, HKEY_CLASSES_ROOT, kMessengerServer, "", kKindText, 0, nullptr},
    {19, kEqual, HKEY_LOCAL_MACHINE, kTerminalServer, "fAllowToGetHelp", kKindNumber, 0, nullptr},
    {21, kEqual, HKEY_LOCAL_MACHINE, kTimeParameters, "Type", kKindText, 0, "NoSync"},
    {22, kEqual, HKEY_LOCAL_MACHINE, kExplorerAdvanced, "EnableBalloonTips", kKindNumber, 0, nullptr},
    {23, kEqual, HKEY_LOCAL_MACHINE, kMemoryManagement, "ClearPageFileAtShutdown", kKindNumber, 1,
     nullptr},
    {24, kEqual, HKEY_LOCAL_MACHINE, kOutlookExpress, "Hide Messenger", kKindNumber, 2, nullptr},
    {26, kEqual, HKEY_CURRENT_USER, kLokalPsched, "NonBestEffortLimit", kKindNumber, 0, nullptr},
    {26, kEqual, HKEY_CURRENT_USER, kLocalPsched, "NonBestEffortLimit", kKindNumber, 0, nullptr},
    {27, kEqual, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNeverUpload", kKindNumber, 1, nullptr},
    {27, kEqual, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoExternalURL", kKindNumber, 1, nullptr},
    {27, kEqual, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoFileCollection", kKindNumber, 1, nullptr},
    {27, kEqual, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoSecondLevelCollection", kKindNumber, 1,
     nullptr},
    {27, kEqual, HKEY_USERS, kOfficeCommonDefault, "DWNeverUpload", kKindNumber, 1, nullptr},
    {27, kEqual, HKEY_USERS, kOfficeCommonDefault, "DWNoExternalURL", kKindNumber, 1, nullptr},
    {27, kEqual, HKEY_USERS, kOfficeCommonDefault, "DWNoFileCollection", kKindNumber, 1, nullptr},
    {27, kEqual, HKEY_USERS, kOfficeCommonDefault, "DWNoSecondLevelCollection", kKindNumber, 1,
     nullptr},
    {28, kEqual, HKEY_LOCAL_MACHINE, kShutdownControl, "WaitToKillServiceTimeout", kKindText, 0,
     "2000"},
    {28, kEqual, HKEY_CURRENT_USER, kDesktop, "AutoEndTasks", kKindText, 0, "1"},
    {29, kEqual, HKEY_CURRENT_USER, kInternetSettings, "MaxConnectionsPer1_0Server", kKindNumber, 10,
     nullptr},
    {29, kEqual, HKEY_CURRENT_USER, kInternetSettings, "MaxConnectionsPerServer", kKindNumber, 10,
     nullptr},
    {30, kAbsent, HKEY_CLASSES_ROOT, ".zip", "Content Type", kKindText, 0,
     "application/x-zip-compressed"},
};

// A value that exists counts as present even when it is too long to be
// compared, so an installed component is never taken for a removed one.
bool Holds(SystemAccess& system, const Comparison& row) {
  if (row.rule == kAbsent) return !system.RegistryValueExists(row.root, row.path, row.name);
  return system.CompareRegistryValue(row.root, row.path, row.name, row.kind, row.number,
                                     row.text) == kValueEquals;
}

bool CheckRows(SystemAccess& system, SettingId id) {
  const bool anySuffices = id == 26;
  bool any = false;
  for (const Comparison& row : kComparisons) {
    if (row.id != id) continue;
    any = true;
    bool holds = Holds(system, row);
    if (holds == anySuffices) return holds;
  }
  return any && !anySuffices;
}

}  // namespace

bool StatusCheck(SystemAccess& system, SettingId id) {
  const SettingEntry* entry = FindSetting(id);
  if (!entry) return false;
  if (entry->serviceName)
    return system.Services().GetServiceStartType(entry->serviceName) == SERVICE_DISABLED;
  if (id == 27 && !system.IsOfficeXpInstalled()) return false;
  return CheckRows(system, id);
}
