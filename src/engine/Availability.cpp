#include "engine/Availability.h"

#include "system/SystemAccess.h"

namespace {

// XP Professional x64 Edition reports 5.2 like Server 2003, but it is XP:
// the same settings apply there.
bool IsXp(SystemAccess& system) { return system.IsWindowsXp() || system.IsWindowsXpX64(); }

}  // namespace

bool IsAvailable(SystemAccess& system, Availability condition, const char* serviceName) {
  switch (condition) {
    case Availability::kAlways:
      return true;
    case Availability::kMediaPlayer8:
      return system.IsMediaPlayer8Installed();
    case Availability::kWindowsXp:
      return IsXp(system);
    case Availability::kInternetExplorer6:
      return system.IsInternetExplorer6();
    case Availability::kWindowsXpWithQos:
      return IsXp(system) && system.IsQosInstalled();
    case Availability::kOfficeXp:
      return system.IsOfficeXpInstalled();
    case Availability::kSupportAccount:
      return system.SupportAccountExists();
    case Availability::kService:
      return serviceName && system.IsServiceInstalled(serviceName);
  }
  return false;
}

bool IsSettingOffered(SystemAccess& system, const SettingEntry& setting) {
  return IsAvailable(system, setting.offeredWhen, setting.serviceName);
}

bool IsCategoryShown(SystemAccess& system, const CategoryEntry& category) {
  return IsAvailable(system, category.shownWhen, nullptr);
}

bool IsSettingUnknown(SystemAccess& system, const SettingEntry& setting) {
  return setting.offeredWhen == Availability::kService && setting.serviceName &&
         system.Services().GetServiceStartType(setting.serviceName) == kStartTypeUnknown;
}
