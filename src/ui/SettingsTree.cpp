#include "engine/SettingsTree.h"

#include "engine/Apply.h"
#include "engine/Availability.h"
#include "engine/StatusCheck.h"
#include "engine/TreeLooks.h"
#include "system/SystemAccess.h"

namespace {

constexpr SettingId kSupportAccountSetting = 16;
constexpr SettingId kMessengerAutostart = 14;
constexpr SettingId kMessengerRemoval = 15;
constexpr SettingCategory kMessengerCategory = 5;

}  // namespace

SettingsTree::SettingsTree(CTreeOptionsCtrl& tree, SystemAccess& system, TextLoader loadText,
                           TreeOptionsOwner& owner)
    : tree_(tree), system_(system), loadText_(loadText), owner_(owner) {}

void SettingsTree::BuildSettingsTree() {
  tree_.DeleteAllItems();
  for (SettingSlot& slot : slots_) slot = SettingSlot();
  for (HTREEITEM& item : categories_) item = nullptr;
  for (const CategoryEntry& category : AllCategories()) {
    if (!IsCategoryShown(system_, category)) continue;
    HTREEITEM parent =
        tree_.AddCategoryItem(loadText_(category.labelId).c_str(), ImageCategory, nullptr);
    categories_[category.category] = parent;
    for (const SettingEntry& setting : AllSettings()) {
      if (setting.category != category.category || !IsSettingOffered(system_, setting)) continue;
      std::string label = loadText_(setting.labelId);
      HTREEITEM item = setting.kind == SettingKind::kRadio
                           ? tree_.AddRadioItem(label.c_str(), parent, setting.id == 13)
                           : tree_.AddCheckItem(label.c_str(), parent, false);
      if (setting.expertOnly) tree_.SetCheckEnabled(item, false);
      slots_[setting.id] = SettingSlot{item, true};
    }
    SendMessageA(tree_.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  }
  // Expanding may scroll the tree; the user starts reading at its top.
  HTREEITEM first = reinterpret_cast<HTREEITEM>(
      SendMessageA(tree_.Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
  if (first) SendMessageA(tree_.Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(first));
}

void SettingsTree::RefreshCheckItem(const SettingEntry& setting, HTREEITEM item) {
  // The support account has no status check: it is off once it is gone.
  bool off = setting.id == kSupportAccountSetting ? !system_.SupportAccountExists()
                                                  : StatusCheck(system_, setting.id);
  int image = RefreshedCheckImage(setting, off, tree_.ImageOf(item));
  tree_.SetItemImages(item, image, image);
}

void SettingsTree::RefreshMessenger() {
  HTREEITEM group = categories_[kMessengerCategory];
  if (HTREEITEM autostart = slots_[kMessengerAutostart].item) {
    bool off = StatusCheck(system_, kMessengerAutostart);
    if (off) tree_.SelectRadioAt(group, 0);
    tree_.SetRadioEnabled(autostart, !off);
  }
  if (HTREEITEM removal = slots_[kMessengerRemoval].item) {
    if (StatusCheck(system_, kMessengerRemoval)) {
      tree_.SelectRadioAt(group, 0);
      tree_.SetRadioEnabled(removal, false);
    }
  }
}

void SettingsTree::RefreshSettingsTree() {
  for (const SettingEntry& setting : AllSettings()) {
    HTREEITEM item = slots_[setting.id].item;
    if (item && setting.kind == SettingKind::kCheck) RefreshCheckItem(setting, item);
  }
  RefreshMessenger();
  owner_.EnableApplyButton(false);
}

void SettingsTree::ApplyChosenSettings() {
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    if (slots_[id].item && tree_.IsChosen(slots_[id].item)) Apply(system_, id);
  RefreshSettingsTree();
  owner_.EnableApplyButton(false);
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
  if (match.kind == TreeItemMatch::kCategory) return FindCategory(match.number)->descriptionId;
  return 0;
}
