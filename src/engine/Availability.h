#pragma once
// Whether a setting is offered, or a category shown, on the running system.
// Evaluated afresh at every call: the probes ask the system each time.

#include <map>

#include "engine/SettingCatalogue.h"

class SystemAccess;

bool IsAvailable(SystemAccess& system, Availability condition, const char* serviceName);
bool IsSettingOffered(SystemAccess& system, const SettingEntry& setting);
bool IsCategoryShown(SystemAccess& system, const CategoryEntry& category);
// The texts a category is named by on this system.
struct CategoryTexts {
  int labelId;
  int descriptionId;
};
CategoryTexts CategoryTextsOf(SystemAccess& system, const CategoryEntry& category);

// The same for one build of the tree, each condition asked of the system
// once: many settings share a probe, and the machine does not change within
// a build. A service is asked per setting (through a shared manager).
class AvailabilityView {
 public:
  explicit AvailabilityView(SystemAccess& system) : system_(system) {}
  bool Holds(Availability condition, const char* serviceName);
  bool IsSettingOffered(const SettingEntry& setting) {
    return Holds(setting.offeredWhen, setting.serviceName);
  }
  bool IsCategoryShown(const CategoryEntry& category) { return Holds(category.shownWhen, nullptr); }
  CategoryTexts TextsOf(const CategoryEntry& category);

 private:
  SystemAccess& system_;
  std::map<Availability, bool> known_;
};
// True when the setting's service could not be asked (no right to, or the
// manager refused): it is offered, since it may well exist, but whether it
// is off is unknown.
bool IsSettingUnknown(SystemAccess& system, const SettingEntry& setting);
