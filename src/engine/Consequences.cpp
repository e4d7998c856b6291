#include "engine/Consequences.h"

#include "engine/PolicyPlan.h"
#include "engine/UpdateSource.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

std::vector<std::string> ConsequencesOf(SystemAccess& system, const SettingEntry& setting,
                                        TextLoader load) {
  std::vector<std::string> lines;
  if (StopsUpdatesHere(system, setting)) lines.push_back(load(setting.updatesNoteId));
  lines.push_back(load(setting.consequenceId));
  lines.push_back(load(setting.effectId));
  return lines;
}

std::string PolicyNoteOf(SystemAccess& system, const SettingEntry& setting, TextLoader load) {
  const PolicyDecision policy = DecidingPolicy(system, setting.id);
  if (policy.decided()) return FormatWith(load(IDS_POLICY_PANE), {policy.source});
  bool ownValueIsPolicy = false;
  for (const PolicyRow& row : PolicyRowsOf(setting.id))
    ownValueIsPolicy |= row.place == PolicyPlace::kMachineFile || row.place == PolicyPlace::kUserFile;
  return ownValueIsPolicy && system.IsDomainMember() ? load(IDS_DOMAIN_MAY_OVERWRITE)
                                                     : std::string();
}

std::vector<SettingId> TakingEffectLater(const std::vector<SettingId>& ids) {
  std::vector<SettingId> later;
  for (SettingId id : ids) {
    const SettingEntry* setting = FindSetting(id);
    if (setting && TakesEffectLater(*setting)) later.push_back(id);
  }
  return later;
}
