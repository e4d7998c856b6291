// Apply, revert and the status check of one setting: its mechanism, or the
// rows of its plan.

#include "engine/Apply.h"
#include "engine/Mechanisms.h"
#include "engine/PolicyPlan.h"
#include "engine/Revert.h"
#include "engine/SettingPlan.h"
#include "engine/StatusCheck.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

// A setting a policy decides is left alone: Windows would put the policy's
// value back at its next refresh, and the policy is its owner's to change.
bool Apply(SystemAccess& system, SettingId id) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting || DecidingPolicy(system, id).decided()) return false;
  const MechanismFunctions& functions = FunctionsOf(setting->mechanism);
  return functions.apply ? functions.apply(system, *setting) : RunApplyRows(system, id);
}

bool Revert(SystemAccess& system, SettingId id, int* refusal) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting || !setting->revertible) return false;
  const MechanismFunctions& functions = FunctionsOf(setting->mechanism);
  if (DecidingPolicy(system, id).decided()) {
    if (refusal) *refusal = IDS_POLICY_REFUSAL;
    return false;
  }
  if (int why = functions.revertRefusal ? functions.revertRefusal(system, *setting) : 0) {
    if (refusal) *refusal = why;
    return false;
  }
  return functions.revert ? functions.revert(system, *setting) : RunRevertRows(system, id);
}

void ResetAll(SystemAccess& system) {
  for (SettingId id = 0; id <= kLastSettingId; ++id) Revert(system, id);
}

// The state that holds: where a policy decides the setting, the policy's.
bool IsSettingOff(SystemAccess& system, SettingId id) {
  const PolicyDecision policy = DecidingPolicy(system, id);
  if (policy.decided()) return policy.state == PolicyState::kOff;
  return IsSettingOffLocally(system, id);
}

bool IsSettingOffLocally(SystemAccess& system, SettingId id) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting) return false;
  const MechanismFunctions& functions = FunctionsOf(setting->mechanism);
  return functions.isOff ? functions.isOff(system, *setting) : AreRowsOff(system, id);
}

bool StatusCheck(SystemAccess& system, SettingId id) {
  const SettingEntry* setting = FindSetting(id);
  return setting && FunctionsOf(setting->mechanism).answersStatusCheck &&
         IsSettingOff(system, id);
}

std::vector<PlannedChange> PlanOfApply(const SettingEntry& setting) {
  std::vector<PlannedChange> changes;
  FunctionsOf(setting.mechanism).listChanges(setting, &changes);
  for (const RegistryOperation& row : RegistryOperationsOf(setting.id)) {
    if (row.apply == RegistryAction::kNone) continue;
    PlannedChange::Kind kind = row.apply == RegistryAction::kDeleteKey
                                   ? PlannedChange::Kind::kRegistryKey
                                   : PlannedChange::Kind::kRegistryValue;
    PlannedChange change = {kind, row.root, row.path, row.name, row.apply, row.offData};
    change.view = row.view;
    changes.push_back(change);
  }
  return changes;
}

bool NeedsUnreachable64BitPart(SystemAccess& system, const SettingEntry& setting) {
  for (const PlannedChange& change : PlanOfApply(setting)) {
    bool native = change.view != RegistryView::k32Bit;
    if (change.kind == PlannedChange::Kind::kProgram && change.view == RegistryView::kEach &&
        !system.CanLaunchNativePrograms())
      return true;
    if (change.action == RegistryAction::kDeleteKey && native && !system.CanDeleteNativeKeys())
      return true;
  }
  return false;
}

SettingScope ScopeOf(const SettingEntry& setting) {
  bool user = false;
  bool machine = false;
  for (const PlannedChange& change : PlanOfApply(setting)) {
    bool registry = change.kind == PlannedChange::Kind::kRegistryValue ||
                    change.kind == PlannedChange::Kind::kRegistryKey;
    (registry && change.root == HKEY_CURRENT_USER ? user : machine) = true;
  }
  if (user && machine) return SettingScope::kBoth;
  return user ? SettingScope::kUser : SettingScope::kMachine;
}
