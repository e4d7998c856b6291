#pragma once
// The settings catalogue shown in the tree options control: one category
// item per shown category, one item per offered setting, each picture set
// from a status check. Windows only.

#include <map>
#include <string>
#include <vector>

#include "engine/PolicyPlan.h"
#include "engine/Profile.h"
#include "engine/SettingCatalogue.h"
#include "treeoptions/CTreeOptionsCtrl.h"

class SystemAccess;

// Where a tree item belongs: a setting, a category, or nothing.
struct TreeItemMatch {
  enum Kind { kNone, kSetting, kCategory } kind = kNone;
  int number = 0;  // the SettingId or SettingCategory
};

class SettingsTree {
 public:
  struct SettingSlot {
    HTREEITEM item = nullptr;
    bool offered = false;
  };
  using TextLoader = std::string (*)(int id);

  SettingsTree(CTreeOptionsCtrl& tree, SystemAccess& system, TextLoader loadText,
               TreeOptionsOwner& owner);

  void BuildSettingsTree();
  void RefreshSettingsTree();
  // The settings whose items are chosen, in ascending order.
  std::vector<SettingId> ChosenSettings() const;
  void SetRecommendedSettings();
  void UnlockExpertSettings();
  // Chooses the settings the profile wants off and unchooses the others;
  // returns those wanted off that are locked expert settings.
  std::vector<SettingId> ChooseFromProfile(const std::map<SettingId, Wanted>& wanted);
  TreeItemMatch FindSettingOfItem(HTREEITEM item) const;
  // The string id of the description of a hovered item, or 0 for none.
  int DescriptionOf(HTREEITEM item) const;

  const SettingSlot& Slot(SettingId id) const { return slots_[id]; }
  HTREEITEM CategoryItem(SettingCategory category) const { return categories_[category]; }

 private:
  void RefreshCheckItem(const SettingEntry& setting, HTREEITEM item, const PolicyDecision& policy);
  void RefreshRadioItem(const SettingEntry& setting, HTREEITEM item, const PolicyDecision& policy);

  CTreeOptionsCtrl& tree_;
  SystemAccess& system_;
  TextLoader loadText_;
  TreeOptionsOwner& owner_;
  SettingSlot slots_[kLastSettingId + 1];
  HTREEITEM categories_[kCategoryCount] = {};
  int categoryDescriptions_[kCategoryCount] = {};  // as the last build named them
};
