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
bool Apply(SystemAccess& system, SettingId id) { return Apply(system, id, DecidingPolicy(system, id)); }

bool Apply(SystemAccess& system, SettingId id, const PolicyDecision& policy) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting || policy.decided()) return false;
  const MechanismFunctions& functions = FunctionsOf(setting->mechanism);
  return functions.apply ? functions.apply(system, *setting) : RunApplyRows(system, id);
}

bool Revert(SystemAccess& system, SettingId id, int* refusal) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting || !setting->revertible) return false;
  return Revert(system, id, DecidingPolicy(system, id), refusal);
}

bool Revert(SystemAccess& system, SettingId id, const PolicyDecision& policy, int* refusal) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting || !setting->revertible) return false;
  const MechanismFunctions& functions = FunctionsOf(setting->mechanism);
  if (policy.decided()) {
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
  return IsSettingOff(system, id, DecidingPolicy(system, id));
}

bool IsSettingOff(SystemAccess& system, SettingId id, const PolicyDecision& policy) {
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
