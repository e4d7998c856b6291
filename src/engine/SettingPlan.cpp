#include "engine/SettingPlan.h"

#include <string>
#include <utility>
#include <vector>

#include "engine/SettingKeys.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"
#include "system/SystemAccess.h"

namespace {

using namespace keys;
using namespace data;
using Act = RegistryAction;
// Internet Explorer's 32-bit half is the default browser on XP x64; Office
// XP is 32-bit only.
constexpr RegistryView kEachView = RegistryView::kEach;
constexpr RegistryView k32BitView = RegistryView::k32Bit;
constexpr OffWhen kEqual = OffWhen::kEqual;
constexpr OffWhen kAnyEqual = OffWhen::kAnyEqual;
constexpr OffWhen kAbsent = OffWhen::kAbsent;
constexpr OffWhen kExactly = OffWhen::kExactly;
constexpr RegistryData kNothing = {};
const HKEY kUser = HKEY_CURRENT_USER;
const HKEY kMachine = HKEY_LOCAL_MACHINE;
const HKEY kClasses = HKEY_CLASSES_ROOT;
const HKEY kUsers = HKEY_USERS;

// Grouped by setting; within a setting, in the order apply and revert act.
// id, root, key, value, apply, off data, revert, on data, status check
const RegistryOperation kOperations[] = {
    {0, kMachine, kAlexaExtensionPath, "Script", Act::kDeleteKey, kNothing, Act::kNone, kNothing,
     kAbsent, kEachView},
    {1, kUser, kMediaPlayerPreferences, "SilentAcquisition", Act::kWriteValue, kZeroByte,
     Act::kDeleteValue, kNothing, kEqual},
    {2, kUser, kMediaPlayerPreferences, "SendUserGUID", Act::kWriteValue, kZeroByte,
     Act::kDeleteValue, kNothing, kEqual},
    {3, kUser, kMediaPlayerPreferences, "UpgradeCodecPrompt", Act::kWriteValue, kZeroByte,
     Act::kDeleteValue, kNothing, kEqual},
    {4, kMachine, kErrorReporting, "DoReport", Act::kWriteValue, kNumber0, Act::kWriteValue,
     kNumber1, kEqual},
    {5, kMachine, kErrorReporting, "ShowUI", Act::kWriteValue, kNumber0, Act::kWriteValue, kNumber1,
     kEqual},
    {6, kUser, kWebcheck, "NoScheduledUpdates", Act::kWriteValue, kNumber1, Act::kWriteValue,
     kNumber0, kEqual},
    {7, kUser, kExplorerMain, "NoUpdateCheck", Act::kWriteValue, kNumber1, Act::kWriteValue,
     kNumber0, kEqual},
    {8, kUser, kInternetSettings, "EnableNegotiate", Act::kWriteValue, kNumber0, Act::kWriteValue,
     kNumber1, kEqual},
    {14, kUser, kRun, "MSMSGS", Act::kDeleteValue, kNothing, Act::kFromSystem, kNothing, kAbsent},
    {15, kClasses, kMessengerServer, "", Act::kNone, kNothing, Act::kNone, kNothing, kAbsent},
    {19, kMachine, kTerminalServer, "fAllowToGetHelp", Act::kWriteValue, kNumber0, Act::kWriteValue,
     kNumber1, kEqual},
    {21, kMachine, kTimeParameters, "Type", Act::kWriteValue, kTextNoSync, Act::kWriteValue,
     kTextNtp, kEqual},
    {22, kMachine, kExplorerAdvanced, "EnableBalloonTips", Act::kWriteValue, kNumber0,
     Act::kDeleteValue, kNothing, kEqual},
    {23, kMachine, kMemoryManagement, "ClearPageFileAtShutdown", Act::kWriteValue, kNumber1,
     Act::kWriteValue, kNumber0, kEqual},
    {24, kMachine, kOutlookExpress, "Hide Messenger", Act::kWriteValue, kNumber2,
     Act::kDeleteValue, kNothing, kEqual},
    {26, kUser, SystemAccess::kQosPolicyKeys[0], SystemAccess::kQosLimitValue, Act::kWriteValue,
     kNumber0, Act::kRemoveKey, kNothing, kAnyEqual},
    {26, kUser, SystemAccess::kQosPolicyKeys[1], SystemAccess::kQosLimitValue, Act::kWriteValue,
     kNumber0, Act::kRemoveKey, kNothing, kAnyEqual},
    {27, kUser, kOfficeCommonUser, "DWNeverUpload", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kEqual, k32BitView},
    {27, kUser, kOfficeCommonUser, "DWNoExternalURL", Act::kWriteValue, kNumber1,
     Act::kDeleteValue, kNothing, kEqual, k32BitView},
    {27, kUser, kOfficeCommonUser, "DWNoFileCollection", Act::kWriteValue, kNumber1,
     Act::kDeleteValue, kNothing, kEqual, k32BitView},
    {27, kUser, kOfficeCommonUser, "DWNoSecondLevelCollection", Act::kWriteValue, kNumber1,
     Act::kDeleteValue, kNothing, kEqual, k32BitView},
    {27, kUsers, kOfficeCommonDefault, "DWNeverUpload", Act::kWriteValue, kNumber1,
     Act::kDeleteValue, kNothing, kEqual, k32BitView},
    {27, kUsers, kOfficeCommonDefault, "DWNoExternalURL", Act::kWriteValue, kNumber1,
     Act::kDeleteValue, kNothing, kEqual, k32BitView},
    {27, kUsers, kOfficeCommonDefault, "DWNoFileCollection", Act::kWriteValue, kNumber1,
     Act::kDeleteValue, kNothing, kEqual, k32BitView},
    {27, kUsers, kOfficeCommonDefault, "DWNoSecondLevelCollection", Act::kWriteValue, kNumber1,
     Act::kDeleteValue, kNothing, kEqual, k32BitView},
    {28, kMachine, kShutdownControl, "WaitToKillServiceTimeout", Act::kWriteValue, kText2000,
     Act::kWriteValue, kText20000, kEqual},
    {28, kUser, kDesktop, "AutoEndTasks", Act::kWriteValue, kText1, Act::kWriteValue, kText0,
     kEqual},
    {29, kUser, kInternetSettings, "MaxConnectionsPer1_0Server", Act::kWriteValue, kNumber10,
     Act::kWriteValue, kNumber4, kEqual},
    {29, kUser, kInternetSettings, "MaxConnectionsPerServer", Act::kWriteValue, kNumber10,
     Act::kWriteValue, kNumber4, kEqual},
    {30, kClasses, kZipClass, "Content Type", Act::kNone, kNothing, Act::kNone, kNothing, kAbsent},
    // Absent is Windows' own default, and the "on" numbers of several of
    // these force the function on: revert deletes the value.
    {31, kMachine, kRootCertificates, "DisableRootAutoUpdate", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {32, kMachine, kDriverSearching, "DontSearchWindowsUpdate", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {33, kMachine, kHelpCenter, "Headlines", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
    {34, kMachine, kHelpCenter, "MicrosoftKBSearch", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
    {35, kMachine, kSearchCompanion, "DisableContentFileUpdates", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {36, kMachine, kExplorerPolicies, "NoInternetOpenWith", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {37, kMachine, kExplorerPolicies, "NoWebServices", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {38, kMachine, kExplorerPolicies, "NoOnlinePrintsWizard", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {39, kMachine, kExplorerPolicies, "NoPublishingWizard", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {40, kMachine, kPrinterPolicies, "DisableHTTPPrinting", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {41, kMachine, kPrinterPolicies, "DisableWebPnPDownload", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {42, kMachine, kMessengerPolicies, "CEIP", Act::kWriteValue, kNumber2, Act::kDeleteValue,
     kNothing, kExactly},
    {43, kMachine, kConnectionWizard, "ExitOnMSICW", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {44, kMachine, kRegistrationWizard, "NoRegistration", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {45, kMachine, kEventViewerPolicies, "MicrosoftEventVwrDisableLinks", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {46, kMachine, kWindowsUpdatePolicies, "DisableWindowsUpdateAccess", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {47, kMachine, kMovieMaker, "CodecDownload", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {48, kMachine, kMovieMaker, "WebHelp", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {49, kMachine, kMovieMaker, "WebPublish", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {50, kMachine, kMediaPlayerPolicies, "DisableAutoUpdate", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {51, kUser, kMediaPlayerPolicies, "PreventCDDVDMetadataRetrieval", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {52, kUser, kMediaPlayerPolicies, "PreventMusicFileMetadataRetrieval", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {53, kUser, kMediaPlayerPolicies, "PreventRadioPresetsRetrieval", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {54, kMachine, kDrmPolicies, "DisableOnline", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {55, kMachine, kPhishingFilter, "Enabled", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
    {56, kMachine, kPhishingFilter, "EnabledV8", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
    {57, kMachine, kSuggestedSites, "Enabled", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
    {58, kMachine, kBrowserEmulation, "MSCompatibilityMode", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
    {59, kMachine, kSearchScopes, "ShowSearchSuggestionsGlobal", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
    {60, kMachine, kFeeds, "BackgroundSyncStatus", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
    {61, kMachine, kExplorerMainPolicies, "DisableFirstRunCustomize", Act::kWriteValue, kNumber1, Act::kDeleteValue,
     kNothing, kExactly},
    {62, kMachine, kExplorerSqm, "DisableCustomerImprovementProgram", Act::kWriteValue, kNumber0, Act::kDeleteValue,
     kNothing, kExactly},
};

// The actions the rows carry out themselves; the others are carried out by
// the setting's mechanism and only listed here.
bool IsCarriedByRows(RegistryAction action) {
  return action == RegistryAction::kWriteValue || action == RegistryAction::kDeleteValue ||
         action == RegistryAction::kDeleteKey;
}

bool Carry(SystemAccess& system, const RegistryOperation& row, RegistryAction action,
           const RegistryData& data, RegistryView view) {
  if (action == RegistryAction::kWriteValue)
    return system.WriteRegistryValue(row.root, row.path, row.name, data.bytes, data.type,
                                     data.size, view);
  if (action == RegistryAction::kDeleteValue)
    return system.DeleteRegistryValue(row.root, row.path, row.name, view);
  return system.DeleteRegistryKey(row.root, row.path, view);
}

std::vector<RegistryView> ViewsOf(SystemAccess& system, const RegistryOperation& row) {
  return ViewsAt(system, row.root, row.path, row.view);
}

template <class Pick>
bool RunRows(SystemAccess& system, SettingId id, Pick pick) {
  bool any = false;
  bool allDone = true;
  for (const RegistryOperation& row : RegistryOperationsOf(id)) {
    auto [action, data] = pick(row);
    if (!IsCarriedByRows(action)) continue;
    any = true;
    for (RegistryView view : ViewsOf(system, row))
      allDone &= Carry(system, row, action, data, view);
  }
  return any && allDone;
}

// A value that exists counts as present even when it is too long to be
// compared, so an installed component is never taken for a removed one.
bool HoldsIn(SystemAccess& system, const RegistryOperation& row, RegistryView view) {
  if (row.offWhen == kAbsent)
    return !system.RegistryValueExists(row.root, row.path, row.name, view);
  const RegistryData& off = row.offData;
  if (row.offWhen == kExactly) {
    DWORD type = 0;
    std::vector<BYTE> data;
    return system.ReadRegistryValue(row.root, row.path, row.name, &type, &data) &&
           type == off.type && data == std::vector<BYTE>(off.bytes, off.bytes + off.size);
  }
  const BYTE* bytes = reinterpret_cast<const BYTE*>(off.bytes);
  DWORD number = 0;
  DecodeNumber(off.type, bytes, off.size, &number);
  std::string text = off.type == REG_DWORD ? std::string() : TextUpToZero(bytes, off.size);
  return system.CompareRegistryValue(row.root, row.path, row.name, static_cast<int>(off.type),
                                     number, text.c_str(), view) == kValueEquals;
}

// A component of both halves is off only where every copy there is.
bool Holds(SystemAccess& system, const RegistryOperation& row) {
  for (RegistryView view : ViewsOf(system, row))
    if (!HoldsIn(system, row, view)) return false;
  return true;
}

}  // namespace

std::vector<RegistryView> ViewsAt(SystemAccess& system, HKEY root, const char* path,
                                  RegistryView view) {
  if (view != RegistryView::kEach) return {view};
  std::vector<RegistryView> views;
  if (system.IsWow64())
    for (RegistryView each : {RegistryView::kSystem, RegistryView::k32Bit})
      if (!system.RegistryKeyAbsent(root, path, each)) views.push_back(each);
  if (views.empty()) views.push_back(RegistryView::kSystem);
  return views;
}

TableView<RegistryOperation> RegistryOperationsOf(SettingId id) {
  return RowsOfSetting(kOperations, id);
}

bool RunApplyRows(SystemAccess& system, SettingId id) {
  return RunRows(system, id, [](const RegistryOperation& row) {
    return std::make_pair(row.apply, row.offData);
  });
}

bool RunRevertRows(SystemAccess& system, SettingId id) {
  return RunRows(system, id, [](const RegistryOperation& row) {
    return std::make_pair(row.revert, row.onData);
  });
}

// Rows are read in order and stop once the answer is settled: all must hold,
// except for rows where any one suffices.
bool AreRowsOff(SystemAccess& system, SettingId id) {
  TableView<RegistryOperation> rows = RegistryOperationsOf(id);
  if (rows.count == 0) return false;
  const bool anySuffices = rows.first->offWhen == kAnyEqual;
  for (const RegistryOperation& row : rows)
    if (Holds(system, row) == anySuffices) return anySuffices;
  return !anySuffices;
}
