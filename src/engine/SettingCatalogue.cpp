#include "engine/SettingCatalogue.h"

#include "res/resource.h"

namespace {

using A = Availability;
constexpr SettingKind kCheck = SettingKind::kCheck;
constexpr SettingKind kRadio = SettingKind::kRadio;

// category, label, description, shown when; the IE category is named for
// version 6 only where that version is installed.
const CategoryEntry kCategories[] = {
    {0, 1, 600, A::kMediaPlayer8Or9},
    {1, 5, 601, A::kWindowsXp},
    {2, 34, 602, A::kAlways},
    {3, 9, 603, A::kInternetExplorer6To8, A::kInternetExplorer6, IDS_IE_CATEGORY,
     IDS_IE_CATEGORY_DESCRIPTION},
    {4, 15, 604, A::kAlways},
    {5, 19, 605, A::kAlways},
    {6, 23, 606, A::kAlways},
    {7, 31, 607, A::kWindowsXp},
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
     710, kAtOnce, IDS_UPDATES_NEED_SERVICE},
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
    // Values below policy keys, where Windows and its programs look for them.
    // Where only an unconfirmed source says when a component reads its value,
    // the change is promised after a restart, when it holds whatever the
    // component does.
    {31, 831, 931, 7, kCheck, A::kWindowsXp, nullptr, false, true, true, M::kPolicyValue,
     kRevertible, 1031, kRestart},
    {32, 832, 932, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1032, kRestart, IDS_UPDATES_NO_DRIVER_SEARCH},
    {33, 833, 933, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1033, kRestart},
    {34, 834, 934, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1034, kRestart},
    {35, 835, 935, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1035, kRestart},
    {36, 836, 936, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1036, kLogon},
    {37, 837, 937, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1037, kLogon},
    {38, 838, 938, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1038, kLogon},
    {39, 839, 939, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1039, kLogon},
    {40, 840, 940, 7, kCheck, A::kWindowsXp, nullptr, false, false, true, M::kPolicyValue,
     kRevertible, 1040, kRestart},
    {41, 841, 941, 7, kCheck, A::kWindowsXp, nullptr, false, false, true, M::kPolicyValue,
     kRevertible, 1041, kRestart},
    {42, 842, 942, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1042, kRestart},
    {43, 843, 943, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1043, kAtOnce},
    {44, 844, 944, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1044, kAtOnce},
    {45, 845, 945, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1045, kRestart},
    {46, 846, 946, 7, kCheck, A::kWindowsXp, nullptr, false, true, true, M::kPolicyValue,
     kRevertible, 1046, kRestart, IDS_UPDATES_CUT_OFF},
    {47, 847, 947, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1047, kRestart},
    {48, 848, 948, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1048, kRestart},
    {49, 849, 949, 7, kCheck, A::kWindowsXp, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1049, kRestart},
    {50, 850, 950, 0, kCheck, A::kMediaPlayer9, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1050, kRestart},
    {51, 851, 951, 0, kCheck, A::kMediaPlayer9, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1051, kRestart},
    {52, 852, 952, 0, kCheck, A::kMediaPlayer9, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1052, kRestart},
    {53, 853, 953, 0, kCheck, A::kMediaPlayer9, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1053, kRestart},
    {54, 854, 954, 0, kCheck, A::kMediaPlayer9, nullptr, false, true, true, M::kPolicyValue,
     kRevertible, 1054, kRestart},
    {55, 855, 955, 3, kCheck, A::kInternetExplorer7, nullptr, false, false, true, M::kPolicyValue,
     kRevertible, 1055, kRestart},
    {56, 856, 956, 3, kCheck, A::kInternetExplorer8, nullptr, false, false, true, M::kPolicyValue,
     kRevertible, 1056, kAtOnce},
    {57, 857, 957, 3, kCheck, A::kInternetExplorer8, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1057, kAtOnce},
    {58, 858, 958, 3, kCheck, A::kInternetExplorer8, nullptr, false, false, true, M::kPolicyValue,
     kRevertible, 1058, kAtOnce},
    {59, 859, 959, 3, kCheck, A::kInternetExplorer8, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1059, kAtOnce},
    {60, 860, 960, 3, kCheck, A::kInternetExplorer7Or8, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1060, kRestart},
    {61, 861, 961, 3, kCheck, A::kInternetExplorer7Or8, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1061, kAtOnce},
    {62, 862, 962, 3, kCheck, A::kInternetExplorer7Or8, nullptr, true, false, true, M::kPolicyValue,
     kRevertible, 1062, kAtOnce},
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
