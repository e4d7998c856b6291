#include "engine/Mechanisms.h"

#include <string>

#include "engine/SettingKeys.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/RegistryText.h"
#include "system/SystemAccess.h"

namespace {

const char kZipFolderLibrary[] = "zipfldr.dll";
// Where Office's policy keys may be made: only below these, where they exist.
const char kUserPolicies[] = "Software\\Policies\\Microsoft";
const char kDefaultUserPolicies[] = ".DEFAULT\\Software\\Policies\\Microsoft";

bool Nothing(SystemAccess&, const SettingEntry&) { return false; }

// Disabled is what counts: a stop request that fails because the service
// was not running leaves it off all the same.
bool DisableService(SystemAccess& system, const SettingEntry& setting) {
  bool disabled = system.Services().SetServiceStartType(SERVICE_DISABLED, setting.serviceName);
  system.Services().StopServiceByName(setting.serviceName);
  return disabled;
}

bool EnableService(SystemAccess& system, const SettingEntry& setting) {
  bool automatic = system.Services().SetServiceStartType(SERVICE_AUTO_START, setting.serviceName);
  system.Services().StartServiceByName(setting.serviceName);
  return automatic;
}

bool IsServiceDisabled(SystemAccess& system, const SettingEntry& setting) {
  return system.Services().GetServiceStartType(setting.serviceName) == SERVICE_DISABLED;
}

// The Messenger's own program path, read whole whatever its length. Only a
// text that is not empty is a path: an autostart entry made of a number, raw
// bytes or nothing would start nothing.
bool ReadMessengerPath(SystemAccess& system, std::string* path) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!system.ReadRegistryValue(HKEY_CLASSES_ROOT, keys::kMessengerServer, "", &type, &data))
    return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  *path = TextUpToZero(data);
  return !path->empty();
}

bool RestoreMessengerAutostart(SystemAccess& system, const SettingEntry&) {
  std::string path;
  if (!ReadMessengerPath(system, &path)) {
    platform::ShowMessageBox(nullptr, Text(IDS_MESSENGER_MISSING).c_str(),
                             platform::ProgramName().c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  return system.WriteRegistryValue(HKEY_CURRENT_USER, keys::kRun, "MSMSGS", path.c_str(), REG_SZ,
                                   DWORD(path.size() + 1));
}

bool UninstallMessenger(SystemAccess& system, const SettingEntry&) {
  return system.UninstallMessenger();
}

// Only XP Professional's support account is deleted; with no account left
// there is nothing to do.
bool RemoveSupportAccount(SystemAccess& system, const SettingEntry&) {
  if (!system.SupportAccountExists()) return true;
  return system.GetWindowsPlatform() == 2 && system.DeleteSupportAccount();
}

bool IsSupportAccountGone(SystemAccess& system, const SettingEntry&) {
  return !system.SupportAccountExists();
}

bool WriteQosLimit(SystemAccess& system, const SettingEntry&) {
  return system.WriteQosPolicy(kQosWrite);
}

bool RemoveQosLimit(SystemAccess& system, const SettingEntry&) {
  return system.WriteQosPolicy(kQosRemove);
}

// The Office policy keys exist only where "Software\Policies\Microsoft"
// already does; the writes of the rows go into them.
bool ApplyOfficePolicy(SystemAccess& system, const SettingEntry& setting) {
  const char* const chain[] = {"Office", "10.0", "Common"};
  system.CreateRegistryKeyChain(HKEY_CURRENT_USER, kUserPolicies, chain, 3);
  system.CreateRegistryKeyChain(HKEY_USERS, kDefaultUserPolicies, chain, 3);
  return RunApplyRows(system, setting.id);
}

// Without Office the policy values mean nothing, whatever they hold.
bool IsOfficePolicyOff(SystemAccess& system, const SettingEntry& setting) {
  return system.IsOfficeXpInstalled() && AreRowsOff(system, setting.id);
}

bool UnregisterZipFolders(SystemAccess& system, const SettingEntry&) {
  return system.UnregisterComponent(kZipFolderLibrary);
}

bool RegisterZipFolders(SystemAccess& system, const SettingEntry&) {
  return system.RegisterComponent(kZipFolderLibrary);
}

PlannedChange Change(PlannedChange::Kind kind, const std::string& path,
                     const std::string& name = std::string(), DWORD pauseMs = 0) {
  PlannedChange change;
  change.kind = kind;
  change.path = path;
  change.name = name;
  change.pauseMs = pauseMs;
  return change;
}

DWORD KeyCount(const char* path) {
  DWORD count = 1;
  for (const char* at = path; *at; ++at) count += *at == '\\';
  return count;
}

// A key apply makes with the keys above it that are missing, below a base
// that must exist already.
PlannedChange CreatedKey(HKEY root, const std::string& path, const char* base) {
  PlannedChange change = Change(PlannedChange::Kind::kRegistryKey, path);
  change.root = root;
  change.action = RegistryAction::kCreateKey;
  change.requiredKeys = KeyCount(base);
  return change;
}

void NoMoreChanges(const SettingEntry&, std::vector<PlannedChange>*) {}

void ListService(const SettingEntry& setting, std::vector<PlannedChange>* changes) {
  changes->push_back(Change(PlannedChange::Kind::kService, setting.serviceName));
}

void ListMessengerRemoval(const SettingEntry&, std::vector<PlannedChange>* changes) {
  changes->push_back(Change(PlannedChange::Kind::kProgram, "RunDll32.exe",
                            "advpack.dll,LaunchINFSection %SystemRoot%\\INF\\msmsgs.inf,BLC.Remove",
                            SystemAccess::kMessengerPause));
}

void ListSupportAccount(const SettingEntry&, std::vector<PlannedChange>* changes) {
  changes->push_back(Change(PlannedChange::Kind::kProgram, "net.exe",
                            " user SUPPORT_388945a0 /delete"));
  changes->push_back(Change(PlannedChange::Kind::kAccount, "SUPPORT_388945a0"));
}

void ListQosKeys(const SettingEntry&, std::vector<PlannedChange>* changes) {
  changes->push_back(CreatedKey(HKEY_CURRENT_USER, keys::kLocalPsched, keys::kCurrentVersion));
  changes->push_back(CreatedKey(HKEY_CURRENT_USER, keys::kLokalPsched, keys::kCurrentVersion));
}

void ListOfficeKeys(const SettingEntry&, std::vector<PlannedChange>* changes) {
  changes->push_back(CreatedKey(HKEY_CURRENT_USER, keys::kOfficeCommonUser, kUserPolicies));
  changes->push_back(CreatedKey(HKEY_USERS, keys::kOfficeCommonDefault, kDefaultUserPolicies));
}

void ListZipFolders(const SettingEntry&, std::vector<PlannedChange>* changes) {
  changes->push_back(Change(PlannedChange::Kind::kProgram, "regsvr32.exe",
                            std::string("/s /u ") + kZipFolderLibrary,
                            SystemAccess::kRegistrationPause));
}

using M = Mechanism;
const MechanismFunctions kMechanisms[] = {
    {M::kNoAction, Nothing, Nothing, Nothing, false, NoMoreChanges},
    {M::kRegistry, nullptr, nullptr, nullptr, true, NoMoreChanges},
    {M::kMessengerAutostart, nullptr, RestoreMessengerAutostart, nullptr, true, NoMoreChanges},
    {M::kMessengerRemoval, UninstallMessenger, Nothing, nullptr, true, ListMessengerRemoval},
    {M::kSupportAccount, RemoveSupportAccount, Nothing, IsSupportAccountGone, false,
     ListSupportAccount},
    {M::kService, DisableService, EnableService, IsServiceDisabled, true, ListService},
    {M::kQosPolicy, WriteQosLimit, RemoveQosLimit, nullptr, true, ListQosKeys},
    {M::kOfficePolicy, ApplyOfficePolicy, nullptr, IsOfficePolicyOff, true, ListOfficeKeys},
    {M::kZipFolders, UnregisterZipFolders, RegisterZipFolders, nullptr, true, ListZipFolders},
};

}  // namespace

const MechanismFunctions& FunctionsOf(Mechanism mechanism) {
  for (const MechanismFunctions& functions : kMechanisms)
    if (functions.mechanism == mechanism) return functions;
  return kMechanisms[0];
}
