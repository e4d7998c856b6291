#include "engine/SettingCatalogue.h"

#include "res/resource.h"

namespace {

using A = Availability;
constexpr SettingKind kCheck = SettingKind::kCheck;
constexpr SettingKind kRadio = SettingKind::kRadio;

const CategoryEntry kCategories[] = {
    {0, 1, 600, A::kMediaPlayer8},
    {1, 5, 601, A::kWindowsXp},
    {2, 34, 602, A::kAlways},
    {3, 9, 603, A::kInternetExplorer6},
    {4, 15, 604, A::kAlways},
    {5, 19, 605, A::kAlways},
    {6, 23, 606, A::kAlways},
};

using M = Mechanism;
constexpr bool kRevertible = true;
constexpr bool kFinal = false;  // what apply removed cannot be brought back

// When a change takes effect, as the text that says so.
constexpr int kAtOnce = IDS_EFFECT_AT_ONCE;
constexpr int kLogon = IDS_EFFECT_NEXT_LOGON;
constexpr int kRestart = IDS_EFFECT_RESTART;

// id, label, description, category, kind, offered when, service,
// recommended, expert only, command line, mechanism, revertible,
// what it costs the user, when it takes effect
const SettingEntry kSettings[] = {
    {1, 2, 501, 0, kCheck, A::kMediaPlayer8, nullptr, true, false, true, M::kRegistry, kRevertible,
     701, kAtOnce},
    {2, 3, 502, 0, kCheck, A::kMediaPlayer8, nullptr, true, false, true, M::kRegistry, kRevertible,
     702, kAtOnce},
    {3, 4, 503, 0, kCheck, A::kMediaPlayer8, nullptr, true, false, true, M::kRegistry, kRevertible,
     703, kAtOnce},
    {4, 6, 504, 1, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kRegistry, kRevertible,
     704, kAtOnce},
    {5, 7, 505, 1, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kRegistry, kRevertible,
     705, kAtOnce},
    {19, 8, 519, 2, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kRegistry, kRevertible,
     719, kAtOnce},
    {21, 12, 521, 2, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kRegistry, kRevertible,
     721, kRestart},
    {16, 22, 516, 2, kCheck, A::kSupportAccount, nullptr, false, false, true, M::kSupportAccount,
     kFinal, 716, kAtOnce},
    {0, 27, 500, 2, kCheck, A::kAlways, nullptr, true, true, true, M::kRegistry, kFinal, 700,
     kAtOnce},
    {22, 28, 522, 2, kCheck, A::kWindowsXp, nullptr, false, false, true, M::kRegistry, kRevertible,
     722, kLogon},
    {23, 29, 523, 2, kCheck, A::kAlways, nullptr, false, false, true, M::kRegistry, kRevertible,
     723, kRestart},
    {24, 30, 524, 2, kCheck, A::kAlways, nullptr, false, false, true, M::kRegistry, kRevertible,
     724, kAtOnce},
    {26, 36, 526, 2, kCheck, A::kWindowsXpWithQos, nullptr, false, false, true, M::kQosPolicy,
     kRevertible, 726, kRestart},
    {27, 37, 527, 2, kCheck, A::kOfficeXp, nullptr, false, false, true, M::kOfficePolicy,
     kRevertible, 727, kAtOnce},
    {28, 41, 528, 2, kCheck, A::kAlways, nullptr, false, false, false, M::kRegistry, kRevertible,
     728, kRestart},
    {7, 11, 507, 3, kCheck, A::kInternetExplorer6, nullptr, true, false, true, M::kRegistry,
     kRevertible, 707, kAtOnce},
    {6, 10, 506, 3, kCheck, A::kInternetExplorer6, nullptr, true, false, true, M::kRegistry,
     kRevertible, 706, kAtOnce},
    {8, 13, 508, 3, kCheck, A::kInternetExplorer6, nullptr, true, false, true, M::kRegistry,
     kRevertible, 708, kAtOnce},
    {29, 43, 530, 3, kCheck, A::kInternetExplorer6, nullptr, false, false, false, M::kRegistry,
     kRevertible, 730, kAtOnce},
    {9, 16, 509, 4, kCheck, A::kService, "ERSvc", true, false, true, M::kService, kRevertible, 709,
     kAtOnce},
    {10, 17, 510, 4, kCheck, A::kService, "wuauserv", true, false, true, M::kService, kRevertible,
     710, kAtOnce},
    {11, 18, 511, 4, kCheck, A::kService, "W32Time", true, false, true, M::kService, kRevertible,
     711, kAtOnce},
    {12, 26, 512, 4, kCheck, A::kService, "Schedule", true, true, true, M::kService, kRevertible,
     712, kAtOnce},
    {25, 42, 529, 4, kCheck, A::kService, "upnphost", true, false, false, M::kService, kRevertible,
     729, kAtOnce},
    {13, 35, 513, 5, kRadio, A::kAlways, nullptr, false, false, false, M::kNoAction, kFinal, 713,
     kAtOnce},
    {14, 20, 514, 5, kRadio, A::kAlways, nullptr, false, false, true, M::kMessengerAutostart,
     kRevertible, 714, kLogon},
    {15, 21, 515, 5, kRadio, A::kAlways, nullptr, false, false, true, M::kMessengerRemoval, kFinal,
     715, kAtOnce},
    {30, 44, 531, 6, kCheck, A::kWindowsXp, nullptr, false, false, false, M::kZipFolders,
     kRevertible, 731, kLogon},
};

}  // namespace

TableView<SettingEntry> AllSettings() {
  return {kSettings, sizeof kSettings / sizeof kSettings[0]};
}

TableView<CategoryEntry> AllCategories() {
  return {kCategories, sizeof kCategories / sizeof kCategories[0]};
}

const SettingEntry* FindSetting(SettingId id) {
  for (const SettingEntry& entry : AllSettings())
    if (entry.id == id) return &entry;
  return nullptr;
}

const CategoryEntry* FindCategory(SettingCategory category) {
  for (const CategoryEntry& entry : AllCategories())
    if (entry.category == category) return &entry;
  return nullptr;
}

bool IsReportedSetting(SettingId id) {
  const SettingEntry* entry = FindSetting(id);
  return entry && !IsNoAction(*entry);
}

bool IsCommandLineSetting(SettingId id) {
  const SettingEntry* entry = FindSetting(id);
  return entry && entry->commandLine;
}

bool TakesEffectLater(const SettingEntry& setting) {
  return setting.effectId != IDS_EFFECT_AT_ONCE;
}
