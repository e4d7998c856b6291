#include "engine/ApplyPlan.h"

#include "engine/Mechanisms.h"
#include "system/SystemAccess.h"

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

bool IsLeftToLogonScript(SettingScope scope, bool runsAsSystem) {
  return runsAsSystem && scope != SettingScope::kMachine;
}

bool IsLeftToLogonScript(const SettingEntry& setting, bool runsAsSystem) {
  return IsLeftToLogonScript(ScopeOf(setting), runsAsSystem);
}
