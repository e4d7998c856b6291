#include "engine/Consequences.h"

#include "engine/UpdateSource.h"
#include "res/resource.h"

std::vector<std::string> ConsequencesOf(SystemAccess& system, const SettingEntry& setting,
                                        TextLoader load) {
  std::vector<std::string> lines;
  if (StopsUpdatesHere(system, setting)) lines.push_back(load(IDS_UPDATES_NEED_SERVICE));
  lines.push_back(load(setting.consequenceId));
  lines.push_back(load(setting.effectId));
  return lines;
}

std::vector<SettingId> TakingEffectLater(const std::vector<SettingId>& ids) {
  std::vector<SettingId> later;
  for (SettingId id : ids) {
    const SettingEntry* setting = FindSetting(id);
    if (setting && TakesEffectLater(*setting)) later.push_back(id);
  }
  return later;
}
