#include "ui/SettingsTree.h"

#include "engine/Availability.h"
#include "engine/StatusCheck.h"
#include "engine/UpdateSource.h"
#include "system/SystemAccess.h"
#include "treeoptions/OptionImages.h"
#include "ui/TreeLooks.h"

SettingsTree::SettingsTree(CTreeOptionsCtrl& tree, SystemAccess& system, TextLoader loadText,
                           TreeOptionsOwner& owner)
    : tree_(tree), system_(system), loadText_(loadText), owner_(owner) {}

void SettingsTree::BuildSettingsTree() {
  ServiceControl::SharedManager oneManager(system_.Services());
  tree_.DeleteAllItems();
  for (SettingSlot& slot : slots_) slot = SettingSlot();
  for (HTREEITEM& item : categories_) item = nullptr;
  AvailabilityView available(system_);
  for (const CategoryEntry& category : AllCategories()) {
    if (!available.IsCategoryShown(category)) continue;
    const CategoryTexts texts = available.TextsOf(category);
    HTREEITEM parent =
        tree_.AddCategoryItem(loadText_(texts.labelId).c_str(), ImageCategory, nullptr);
    categories_[category.category] = parent;
    categoryDescriptions_[category.category] = texts.descriptionId;
    for (const SettingEntry& setting : AllSettings()) {
      if (setting.category != category.category || !available.IsSettingOffered(setting)) continue;
      std::string label = loadText_(setting.labelId);
      HTREEITEM item = setting.kind == SettingKind::kRadio
                           ? tree_.AddRadioItem(label.c_str(), parent, IsNoAction(setting))
                           : tree_.AddCheckItem(label.c_str(), parent, false);
      if (setting.expertOnly) tree_.SetCheckEnabled(item, false);
      slots_[setting.id] = SettingSlot{item, true};
    }
    tree_.Expand(parent);
  }
  // Expanding may scroll the tree; the user starts reading at its top.
  if (HTREEITEM first = tree_.FirstItem()) tree_.EnsureVisible(first);
}

void SettingsTree::RefreshCheckItem(const SettingEntry& setting, HTREEITEM item,
                                    const PolicyDecision& policy) {
  const bool off = policy.decided() ? policy.state == PolicyState::kOff
                                    : IsSettingOffLocally(system_, setting.id);
  int image = RefreshedCheckImage(setting, IsRecommendedHere(system_, setting), off,
                                  tree_.ImageOf(item), policy.decided());
  tree_.SetItemImages(item, image, image);
}

// A choice that is done shows as done, and the group falls back to its first
// item, the one that changes nothing. One that is on again can be chosen
// again when it can also be reverted; a final one keeps its look.
// One a policy decides cannot be chosen, and shows the policy's picture.
void SettingsTree::RefreshRadioItem(const SettingEntry& setting, HTREEITEM item,
                                    const PolicyDecision& policy) {
  if (policy.decided()) {
    if (tree_.IsChosen(item)) tree_.SelectRadioAt(categories_[setting.category], 0);
    tree_.SetItemImages(item, ImagePolicy, ImagePolicy);
  } else if (tree_.ImageOf(item) == ImagePolicy) {
    tree_.SetItemImages(item, ImageRadioOff, ImageRadioOff);
    RefreshRadioItem(setting, item, policy);
  } else if (IsSettingOffLocally(system_, setting.id)) {
    tree_.SelectRadioAt(categories_[setting.category], 0);
    tree_.SetRadioEnabled(item, false);
  } else if (setting.revertible) {
    tree_.SetRadioEnabled(item, true);
  }
}

void SettingsTree::RefreshSettingsTree() {
  ServiceControl::SharedManager oneManager(system_.Services());
  PolicyView policies(system_);
  for (const SettingEntry& setting : AllSettings()) {
    HTREEITEM item = slots_[setting.id].item;
    if (!item || IsNoAction(setting)) continue;
    if (setting.kind == SettingKind::kCheck)
      RefreshCheckItem(setting, item, policies.Decide(setting.id));
    else
      RefreshRadioItem(setting, item, policies.Decide(setting.id));
  }
  owner_.EnableApplyButton(false);
}

std::vector<SettingId> SettingsTree::ChosenSettings() const {
  std::vector<SettingId> chosen;
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    if (slots_[id].item && tree_.IsChosen(slots_[id].item)) chosen.push_back(id);
  return chosen;
}

void SettingsTree::SetRecommendedSettings() {
  BuildSettingsTree();
  RefreshSettingsTree();
}

void SettingsTree::UnlockExpertSettings() {
  for (const SettingEntry& setting : AllSettings()) {
    HTREEITEM item = slots_[setting.id].item;
    if (!setting.expertOnly || !item) continue;
    bool checked = tree_.IsChecked(item);
    tree_.SetCheckEnabled(item, true);
    if (checked) tree_.SetChecked(item, false);
  }
  RefreshSettingsTree();
}

std::vector<SettingId> SettingsTree::ChooseFromProfile(const std::map<SettingId, Wanted>& wanted) {
  std::vector<SettingId> locked;
  for (const SettingEntry& setting : AllSettings()) {
    HTREEITEM item = slots_[setting.id].item;
    if (!item || IsNoAction(setting)) continue;
    auto found = wanted.find(setting.id);
    const bool off = found != wanted.end() && found->second == Wanted::kOff;
    const bool radio = setting.kind == SettingKind::kRadio;
    switch (ChoiceFromProfile(tree_.ImageOf(item), off)) {
      case ProfileChoice::kChoose:
        radio ? tree_.SelectRadio(item) : tree_.SetChecked(item, true);
        break;
      case ProfileChoice::kUnchoose:
        // A group without a wanted choice falls back to the one that changes nothing.
        radio ? tree_.SelectRadioAt(categories_[setting.category], 0) : tree_.SetChecked(item, false);
        break;
      case ProfileChoice::kLocked:
        locked.push_back(setting.id);
        break;
      case ProfileChoice::kKeep:
        break;
    }
  }
  owner_.EnableApplyButton(true);
  return locked;
}

TreeItemMatch SettingsTree::FindSettingOfItem(HTREEITEM item) const {
  if (!item) return {};
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    if (slots_[id].item == item) return {TreeItemMatch::kSetting, static_cast<int>(id)};
  for (SettingCategory category = 0; category < kCategoryCount; ++category)
    if (categories_[category] == item) return {TreeItemMatch::kCategory, category};
  return {};
}

int SettingsTree::DescriptionOf(HTREEITEM item) const {
  TreeItemMatch match = FindSettingOfItem(item);
  if (match.kind == TreeItemMatch::kSetting) return FindSetting(match.number)->descriptionId;
  if (match.kind == TreeItemMatch::kCategory) return categoryDescriptions_[match.number];
  return 0;
}
