#include "engine/PolicyPlan.h"

#include <vector>

#include "engine/Backup.h"
#include "engine/SettingKeys.h"
#include "engine/SettingPlan.h"
#include "system/PolicyFiles.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"
#include "system/SystemAccess.h"

namespace {

using P = PolicyPlace;
const HKEY kMachine = HKEY_LOCAL_MACHINE;
const HKEY kUser = HKEY_CURRENT_USER;
constexpr HKEY kNoRoot = nullptr;
constexpr int kNone = kNoNumber;

const char kErrorReporting[] = "Software\\Policies\\Microsoft\\PCHealth\\ErrorReporting";
const char kRestrictions[] =
    "Software\\Policies\\Microsoft\\Internet Explorer\\Infodelivery\\Restrictions";
const char kMessenger[] = "Software\\Policies\\Microsoft\\Messenger\\Client";
const char kTime[] = "Software\\Policies\\Microsoft\\W32time\\Parameters";
const char kNtpClient[] = "Software\\Policies\\Microsoft\\W32time\\TimeProviders\\NtpClient";
const char kOffice[] = "Software\\Policies\\Microsoft\\Office\\10.0\\Common";
const char kPsched[] = "Software\\Policies\\Microsoft\\Windows\\Psched";

// id, where, root, key, value, off number, on number
const PolicyRow kRows[] = {
    {1, P::kRegistry, kMachine, "Software\\Policies\\Microsoft\\WMDRM", "DisableOnline", 1, kNone},
    {3, P::kRegistry, kUser, "Software\\Policies\\Microsoft\\WindowsMediaPlayer",
     "PreventCodecDownload", 1, 0},
    {4, P::kRegistry, kMachine, kErrorReporting, "DoReport", 0, 1},
    {5, P::kRegistry, kMachine, kErrorReporting, "ShowUI", 0, 1},
    {6, P::kRegistry, kUser, kRestrictions, "NoScheduledUpdates", 1, kNone},
    {7, P::kRegistry, kMachine, kRestrictions, "NoUpdateCheck", 1, 0},
    {7, P::kRegistry, kUser, "Software\\Policies\\Microsoft\\Internet Explorer\\Main",
     "NoUpdateCheck", 1, 0},
    {9, P::kServiceTemplate, kNoRoot, "", "", SERVICE_DISABLED, kNone},
    {10, P::kServiceTemplate, kNoRoot, "", "", SERVICE_DISABLED, kNone},
    // The time service's own start type only: whether it synchronises is 21's.
    {11, P::kServiceTemplate, kNoRoot, "", "", SERVICE_DISABLED, kNone},
    {12, P::kServiceTemplate, kNoRoot, "", "", SERVICE_DISABLED, kNone},
    {14, P::kRegistry, kMachine, kMessenger, "PreventAutoRun", 1, kNone},
    {14, P::kRegistry, kMachine, kMessenger, "PreventRun", 1, kNone},
    {14, P::kRegistry, kUser, kMessenger, "PreventAutoRun", 1, kNone},
    {14, P::kRegistry, kUser, kMessenger, "PreventRun", 1, kNone},
    {19, P::kRegistry, kMachine, "Software\\Policies\\Microsoft\\Windows NT\\Terminal Services",
     "fAllowToGetHelp", 0, 1},
    {21, P::kTimeType, kMachine, kTime, "Type", kNone, kNone},
    {21, P::kRegistry, kMachine, kNtpClient, "Enabled", 0, 1},
    // A machine-wide change: one account's own policy decides it for no one else.
    {24, P::kRegistry, kMachine, kMessenger, "PreventAutoRun", 1, kNone},
    {24, P::kRegistry, kMachine, kMessenger, "PreventRun", 1, kNone},
    {25, P::kServiceTemplate, kNoRoot, "", "", SERVICE_DISABLED, kNone},
    // The local policy's file, and the effective value a domain's policy writes.
    {26, P::kMachineFile, kNoRoot, kPsched, "NonBestEffortLimit", 0, kAnyOther},
    {26, P::kRegistry, kMachine, kPsched, "NonBestEffortLimit", 0, kAnyOther},
    {27, P::kUserFile, kNoRoot, kOffice, "DWNeverUpload", 1, 0},
    {27, P::kUserFile, kNoRoot, kOffice, "DWNoExternalURL", 1, 0},
    {27, P::kUserFile, kNoRoot, kOffice, "DWNoFileCollection", 1, 0},
    {27, P::kUserFile, kNoRoot, kOffice, "DWNoSecondLevelCollection", 1, 0},
    // The settings' own values lie where a policy puts them, so the value
    // alone cannot tell who set it: the local policy's file can. Only the
    // numbers a template documents say "on"; 55 has two of them.
    {31, P::kMachineFile, kNoRoot, keys::kRootCertificates, "DisableRootAutoUpdate", 1, 0},
    {32, P::kMachineFile, kNoRoot, keys::kDriverSearching, "DontSearchWindowsUpdate", 1, 0},
    {33, P::kMachineFile, kNoRoot, keys::kHelpCenter, "Headlines", 0, 1},
    {34, P::kMachineFile, kNoRoot, keys::kHelpCenter, "MicrosoftKBSearch", 0, 1},
    {35, P::kMachineFile, kNoRoot, keys::kSearchCompanion, "DisableContentFileUpdates", 1, 0},
    {36, P::kMachineFile, kNoRoot, keys::kExplorerPolicies, "NoInternetOpenWith", 1, 0},
    {37, P::kMachineFile, kNoRoot, keys::kExplorerPolicies, "NoWebServices", 1, 0},
    {38, P::kMachineFile, kNoRoot, keys::kExplorerPolicies, "NoOnlinePrintsWizard", 1, 0},
    {39, P::kMachineFile, kNoRoot, keys::kExplorerPolicies, "NoPublishingWizard", 1, 0},
    {40, P::kMachineFile, kNoRoot, keys::kPrinterPolicies, "DisableHTTPPrinting", 1, 0},
    {41, P::kMachineFile, kNoRoot, keys::kPrinterPolicies, "DisableWebPnPDownload", 1, 0},
    {42, P::kMachineFile, kNoRoot, keys::kMessengerPolicies, "CEIP", 2, 1},
    {43, P::kMachineFile, kNoRoot, keys::kConnectionWizard, "ExitOnMSICW", 1, 0},
    {44, P::kMachineFile, kNoRoot, keys::kRegistrationWizard, "NoRegistration", 1, 0},
    {45, P::kMachineFile, kNoRoot, keys::kEventViewerPolicies,
     "MicrosoftEventVwrDisableLinks", 1, 0},
    {46, P::kMachineFile, kNoRoot, keys::kWindowsUpdatePolicies,
     "DisableWindowsUpdateAccess", 1, kNone},
    {47, P::kMachineFile, kNoRoot, keys::kMovieMaker, "CodecDownload", 1, 0},
    {48, P::kMachineFile, kNoRoot, keys::kMovieMaker, "WebHelp", 1, kNone},
    {49, P::kMachineFile, kNoRoot, keys::kMovieMaker, "WebPublish", 1, kNone},
    {50, P::kMachineFile, kNoRoot, keys::kMediaPlayerPolicies, "DisableAutoUpdate", 1, 0},
    {51, P::kUserFile, kNoRoot, keys::kMediaPlayerPolicies, "PreventCDDVDMetadataRetrieval", 1, 0},
    {52, P::kUserFile, kNoRoot, keys::kMediaPlayerPolicies,
     "PreventMusicFileMetadataRetrieval", 1, kNone},
    {53, P::kUserFile, kNoRoot, keys::kMediaPlayerPolicies,
     "PreventRadioPresetsRetrieval", 1, kNone},
    {54, P::kMachineFile, kNoRoot, keys::kDrmPolicies, "DisableOnline", 1, 0},
    {55, P::kMachineFile, kNoRoot, keys::kPhishingFilter, "Enabled", 0, 1},
    {55, P::kMachineFile, kNoRoot, keys::kPhishingFilter, "Enabled", 0, 2},
    {56, P::kMachineFile, kNoRoot, keys::kPhishingFilter, "EnabledV8", 0, 1},
    {57, P::kMachineFile, kNoRoot, keys::kSuggestedSites, "Enabled", 0, 1},
    {58, P::kMachineFile, kNoRoot, keys::kBrowserEmulation, "MSCompatibilityMode", 0, 1},
    {59, P::kMachineFile, kNoRoot, keys::kSearchScopes, "ShowSearchSuggestionsGlobal", 0, kNone},
    {60, P::kMachineFile, kNoRoot, keys::kFeeds, "BackgroundSyncStatus", 0, kNone},
    {61, P::kMachineFile, kNoRoot, keys::kExplorerMainPolicies, "DisableFirstRunCustomize", 1, 2},
    {62, P::kMachineFile, kNoRoot, keys::kExplorerSqm, "DisableCustomerImprovementProgram", 0, 1},
};

// The time service's types: only "NoSync" leaves the clock alone.
PolicyState TimeTypeState(const std::string& type) {
  const std::string lower = Lower(type);
  if (lower == "nosync") return PolicyState::kOff;
  if (lower == "ntp" || lower == "nt5ds" || lower == "allsync") return PolicyState::kOn;
  return PolicyState::kNone;
}

PolicyState NumberState(const PolicyRow& row, DWORD number) {
  if (row.offNumber != kNoNumber && number == DWORD(row.offNumber)) return PolicyState::kOff;
  if (row.onNumber == kAnyOther || (row.onNumber != kNoNumber && number == DWORD(row.onNumber)))
    return PolicyState::kOn;
  return PolicyState::kNone;
}

std::string Shown(DWORD type, const std::vector<BYTE>& data) {
  DWORD number = 0;
  return DecodeNumber(type, data, &number) ? std::to_string(number) : "\"" + TextUpToZero(data) + "\"";
}

}  // namespace

TableView<PolicyRow> PolicyRowsOf(SettingId id) { return RowsOfSetting(kRows, id); }

PolicyDecision DecidingPolicy(SystemAccess& system, SettingId id) {
  return PolicyView(system).Decide(id);
}

PolicyDecision PolicyView::Decide(SettingId id) {
  PolicyDecision decision;
  const SettingEntry* setting = FindSetting(id);
  if (!setting) return decision;
  for (const PolicyRow& row : PolicyRowsOf(id)) {
    std::string source;
    PolicyState state = RowState(*setting, row, &source);
    if (state == PolicyState::kNone || decision.state == PolicyState::kOff || state == decision.state)
      continue;
    decision.state = state;
    decision.source = source;
  }
  return decision;
}

bool PolicyView::KeyPresent(HKEY root, const char* path) {
  auto [at, added] = keys_.insert({{root, Lower(path)}, false});
  if (added) at->second = system_.RegistryKeyExists(root, path);
  return at->second;
}

const std::vector<PolicyFileValue>& PolicyView::LocalFile(bool machine, std::string* file) {
  if (!files_[machine])
    files_[machine] = std::make_unique<std::vector<PolicyFileValue>>(
        ReadLocalPolicyFile(machine, &fileNames_[machine]));
  *file = fileNames_[machine];
  return *files_[machine];
}

// Where a setting of this program writes the very value a policy row reads,
// the value stands for no policy once that setting's backup shows the
// program put it there.
bool PolicyView::IsProgramsOwn(const PolicyRow& row) {
  for (const SettingEntry& writer : AllSettings())
    for (const RegistryOperation& own : RegistryOperationsOf(writer.id))
      if (own.apply == RegistryAction::kWriteValue && own.root == row.root &&
          Lower(own.path) == Lower(row.path) && Lower(own.name) == Lower(row.name))
        return ChangedSinceCapture(system_, writer.id, row.root, row.path, row.name);
  return false;
}

PolicyState PolicyView::TemplateState(const SettingEntry& setting, std::string* source) {
  if (!templates_)
    templates_ = std::make_unique<std::vector<PolicyTemplate>>(ReadPolicyTemplates(system_));
  DWORD mode = 0;
  std::string file;
  if (!setting.serviceName || !FindPolicyServiceMode(*templates_, setting.serviceName, &mode, &file))
    return PolicyState::kNone;
  *source = file + ": " + setting.serviceName + " = " + std::to_string(mode);
  return mode == SERVICE_DISABLED ? PolicyState::kOff : PolicyState::kOn;
}

PolicyState PolicyView::FileState(const PolicyRow& row, std::string* source) {
  PolicyFileValue value;
  std::string file;
  DWORD number = 0;
  if (!FindPolicyFileValue(LocalFile(row.place == P::kMachineFile, &file), row.path, row.name,
                           &value) ||
      !DecodeNumber(value.type, value.data, &number))
    return PolicyState::kNone;
  *source = file + ": " + row.path + "\\" + row.name + " = " + std::to_string(number);
  return NumberState(row, number);
}

PolicyState PolicyView::RegistryState(const PolicyRow& row, std::string* source) {
  DWORD type = 0;
  std::vector<BYTE> data;
  DWORD number = 0;
  if (!KeyPresent(row.root, row.path) ||
      !system_.ReadRegistryValue(row.root, row.path, row.name, &type, &data) ||
      data.size() > SystemAccess::kTextBufferSize)
    return PolicyState::kNone;
  PolicyState state = PolicyState::kNone;
  if (row.place == P::kTimeType) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) state = TimeTypeState(TextUpToZero(data));
  } else if (DecodeNumber(type, data, &number)) {
    state = NumberState(row, number);
  }
  if (state != PolicyState::kNone && IsProgramsOwn(row)) state = PolicyState::kNone;
  if (state != PolicyState::kNone)
    *source = std::string(RootName(row.root)) + "\\" + row.path + "\\" + row.name + " = " +
              Shown(type, data);
  return state;
}

PolicyState PolicyView::RowState(const SettingEntry& setting, const PolicyRow& row,
                                 std::string* source) {
  switch (row.place) {
    case P::kServiceTemplate:
      return TemplateState(setting, source);
    case P::kMachineFile:
    case P::kUserFile:
      return FileState(row, source);
    case P::kRegistry:
    case P::kTimeType:
      break;
  }
  return RegistryState(row, source);
}
