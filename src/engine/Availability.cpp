#include "engine/Availability.h"

#include "system/SystemAccess.h"

namespace {

// XP Professional x64 Edition reports 5.2 like Server 2003, but it is XP:
// the same settings apply there.
bool IsXp(SystemAccess& system) { return system.IsWindowsXp() || system.IsWindowsXpX64(); }

bool IsInternetExplorer7Or8(SystemAccess& system) {
  const int version = system.InternetExplorerVersion();
  return version == 7 || version == 8;
}

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
    case Availability::kMediaPlayer9:
      return system.IsMediaPlayer9OrLater();
    case Availability::kMediaPlayer8Or9:
      return system.IsMediaPlayer8Installed() || system.IsMediaPlayer9OrLater();
    case Availability::kInternetExplorer7:
      return system.InternetExplorerVersion() == 7;
    case Availability::kInternetExplorer8:
      return system.InternetExplorerVersion() == 8;
    case Availability::kInternetExplorer7Or8:
      return IsInternetExplorer7Or8(system);
    case Availability::kInternetExplorer6To8:
      return system.IsInternetExplorer6() || IsInternetExplorer7Or8(system);
  }
  return false;
}

bool IsSettingOffered(SystemAccess& system, const SettingEntry& setting) {
  return IsAvailable(system, setting.offeredWhen, setting.serviceName);
}

bool IsCategoryShown(SystemAccess& system, const CategoryEntry& category) {
  return IsAvailable(system, category.shownWhen, nullptr);
}

CategoryTexts CategoryTextsOf(SystemAccess& system, const CategoryEntry& category) {
  return AvailabilityView(system).TextsOf(category);
}

bool AvailabilityView::Holds(Availability condition, const char* serviceName) {
  if (condition == Availability::kService) return IsAvailable(system_, condition, serviceName);
  auto [at, added] = known_.insert({condition, false});
  if (added) at->second = IsAvailable(system_, condition, nullptr);
  return at->second;
}

CategoryTexts AvailabilityView::TextsOf(const CategoryEntry& category) {
  if (Holds(category.ownTextsWhen, nullptr)) return {category.labelId, category.descriptionId};
  return {category.otherLabelId, category.otherDescriptionId};
}

bool IsSettingUnknown(SystemAccess& system, const SettingEntry& setting) {
  return setting.offeredWhen == Availability::kService && setting.serviceName &&
         system.Services().GetServiceStartType(setting.serviceName) == kStartTypeUnknown;
}
