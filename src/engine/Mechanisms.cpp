#include "engine/Mechanisms.h"

#include <string>
#include <utility>

#include "engine/SettingKeys.h"
#include "res/resource.h"
#include "system/RegistryText.h"
#include "system/SystemAccess.h"

namespace {

const char kZipFolderLibrary[] = "zipfldr.dll";

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

// Without the Messenger there is nothing to start: the user is told why.
int MessengerMissing(SystemAccess& system, const SettingEntry&) {
  std::string path;
  return ReadMessengerPath(system, &path) ? 0 : IDS_MESSENGER_MISSING;
}

bool RestoreMessengerAutostart(SystemAccess& system, const SettingEntry&) {
  std::string path;
  return ReadMessengerPath(system, &path) &&
         system.WriteRegistryValue(HKEY_CURRENT_USER, keys::kRun, "MSMSGS", path.c_str(), REG_SZ,
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
// already does: apply creates the last three of each, "Office\10.0\Common",
// and the writes of the rows go into them.
constexpr DWORD kOfficeCreatedKeys = 3;
const std::pair<HKEY, const char*> kOfficeKeys[] = {{HKEY_CURRENT_USER, keys::kOfficeCommonUser},
                                                    {HKEY_USERS, keys::kOfficeCommonDefault}};

bool ApplyOfficePolicy(SystemAccess& system, const SettingEntry& setting) {
  for (auto [root, path] : kOfficeKeys)
    system.CreateRegistryKeyChain(root, path, kOfficeCreatedKeys, RegistryView::k32Bit);
  return RunApplyRows(system, setting.id);
}

// Without Office the policy values mean nothing, whatever they hold.
bool IsOfficePolicyOff(SystemAccess& system, const SettingEntry& setting) {
  return system.IsOfficeXpInstalled() && AreRowsOff(system, setting.id);
}

// Under WOW64 a component of both widths is off only when this program can
// reach its 64-bit half: a 32-bit run may change keys the two share, and the
// rows would show its doing alone.
bool IsProgramChangeOff(SystemAccess& system, const SettingEntry& setting) {
  return system.CanLaunchNativePrograms() && AreRowsOff(system, setting.id);
}

bool UnregisterZipFolders(SystemAccess& system, const SettingEntry&) {
  return system.UnregisterComponent(kZipFolderLibrary);
}

bool RegisterZipFolders(SystemAccess& system, const SettingEntry&) {
  return system.RegisterComponent(kZipFolderLibrary);
}

PlannedChange Change(PlannedChange::Kind kind, const std::string& path,
                     const std::string& name = std::string(), DWORD pauseMs = 0) {
  return {kind, nullptr, path, name, RegistryAction::kNone, {}, pauseMs};
}

DWORD KeyCount(const std::string& path) {
  DWORD count = 1;
  for (char c : path) count += c == '\\';
  return count;
}

// The last keys of the path, which apply makes where they are missing; the
// ones above them must exist already.
PlannedChange CreatedKey(HKEY root, const std::string& path, DWORD created) {
  PlannedChange change = {PlannedChange::Kind::kRegistryKey, root, path, "",
                          RegistryAction::kCreateKey};
  change.requiredKeys = KeyCount(path) - created;
  return change;
}

void NoMoreChanges(const SettingEntry&, std::vector<PlannedChange>*) {}

void ListService(const SettingEntry& setting, std::vector<PlannedChange>* changes) {
  changes->push_back(Change(PlannedChange::Kind::kService, setting.serviceName));
}

// kEach: a program of both widths, whose 64-bit one runs too under WOW64.
void ListLaunch(const ProgramLaunch& launch, std::vector<PlannedChange>* changes,
                RegistryView view = RegistryView::kSystem) {
  changes->push_back(
      Change(PlannedChange::Kind::kProgram, launch.program, launch.parameters, launch.pause));
  changes->back().view = view;
}

void ListMessengerRemoval(const SettingEntry&, std::vector<PlannedChange>* changes) {
  ListLaunch(SystemAccess::MessengerRemoval("%SystemRoot%"), changes, RegistryView::kEach);
}

void ListSupportAccount(const SettingEntry&, std::vector<PlannedChange>* changes) {
  ListLaunch(SystemAccess::SupportAccountRemoval(), changes);
  changes->push_back(Change(PlannedChange::Kind::kAccount, SystemAccess::kSupportAccount));
}

void ListQosKeys(const SettingEntry&, std::vector<PlannedChange>* changes) {
  for (const char* key : SystemAccess::kQosPolicyKeys)
    changes->push_back(CreatedKey(HKEY_CURRENT_USER, key, SystemAccess::kQosCreatedKeys));
}

void ListOfficeKeys(const SettingEntry&, std::vector<PlannedChange>* changes) {
  for (auto [root, path] : kOfficeKeys) {
    changes->push_back(CreatedKey(root, path, kOfficeCreatedKeys));
    changes->back().view = RegistryView::k32Bit;
  }
}

// A policy key may be missing from a fresh system, the policy branch above
// it too: apply makes the chain below the hive's Software key, which every
// hive has.
constexpr DWORD kPolicyKeysFound = 1;

bool ApplyPolicyValues(SystemAccess& system, const SettingEntry& setting) {
  for (const RegistryOperation& row : RegistryOperationsOf(setting.id))
    system.CreateRegistryKeyChain(row.root, row.path, KeyCount(row.path) - kPolicyKeysFound);
  return RunApplyRows(system, setting.id);
}

void ListPolicyKeys(const SettingEntry& setting, std::vector<PlannedChange>* changes) {
  for (const RegistryOperation& row : RegistryOperationsOf(setting.id))
    changes->push_back(CreatedKey(row.root, row.path, KeyCount(row.path) - kPolicyKeysFound));
}

void ListZipFolders(const SettingEntry&, std::vector<PlannedChange>* changes) {
  ListLaunch(SystemAccess::ComponentRemoval(kZipFolderLibrary), changes, RegistryView::kEach);
}

using M = Mechanism;
constexpr bool kUndoable = true;
constexpr bool kByPrograms = false;
constexpr bool kWaited = true;
// mechanism, apply, revert, status check, answers it, undoable, waited for,
// what it changes beyond its rows, why revert cannot begin
const MechanismFunctions kMechanisms[] = {
    {M::kNoAction, Nothing, Nothing, Nothing, false, kUndoable, kWaited, NoMoreChanges},
    {M::kRegistry, nullptr, nullptr, nullptr, true, kUndoable, kWaited, NoMoreChanges},
    {M::kMessengerAutostart, nullptr, RestoreMessengerAutostart, nullptr, true, kUndoable, kWaited,
     NoMoreChanges, MessengerMissing},
    {M::kMessengerRemoval, UninstallMessenger, Nothing, IsProgramChangeOff, true, kByPrograms,
     kWaited, ListMessengerRemoval},
    {M::kSupportAccount, RemoveSupportAccount, Nothing, IsSupportAccountGone, false, kByPrograms,
     false, ListSupportAccount},
    {M::kService, DisableService, EnableService, IsServiceDisabled, true, kUndoable, kWaited,
     ListService},
    {M::kQosPolicy, WriteQosLimit, RemoveQosLimit, nullptr, true, kUndoable, kWaited, ListQosKeys},
    {M::kOfficePolicy, ApplyOfficePolicy, nullptr, IsOfficePolicyOff, true, kUndoable, kWaited,
     ListOfficeKeys},
    {M::kZipFolders, UnregisterZipFolders, RegisterZipFolders, IsProgramChangeOff, true, kByPrograms,
     kWaited, ListZipFolders},
    {M::kPolicyValue, ApplyPolicyValues, nullptr, nullptr, true, kUndoable, kWaited,
     ListPolicyKeys},
};

}  // namespace

const MechanismFunctions& FunctionsOf(Mechanism mechanism) {
  for (const MechanismFunctions& functions : kMechanisms)
    if (functions.mechanism == mechanism) return functions;
  return kMechanisms[0];
}
