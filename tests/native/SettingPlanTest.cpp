// Each setting's plan lists everything its apply changes: what a preview
// shows and a backup captures must be all that apply touches.

#include <algorithm>
#include <cctype>
#include <string>

#include "common/FullFakeSystem.h"
#include "engine/Apply.h"
#include "engine/ApplyPlan.h"
#include "engine/SettingPlan.h"
#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string RootName(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  return "HKEY_USERS";
}

// Whether a change the in-memory registry logged ("set ROOT\path\name",
// "create ROOT\path", ...) is one the plan lists: a value by its location, a
// deleted key with everything in it, a created key on the way to one listed.
bool IsListed(const std::string& logged, const std::vector<PlannedChange>& plan) {
  std::string action = logged.substr(0, logged.find(' '));
  std::string place = Lower(logged.substr(logged.find(' ') + 1));
  for (const PlannedChange& change : plan) {
    std::string key = Lower(RootName(change.root) + "\\" + change.path);
    if (change.kind == PlannedChange::Kind::kRegistryValue && action != "create" &&
        place == key + "\\" + Lower(change.name.empty() ? "(default)" : change.name))
      return true;
    if (change.action == RegistryAction::kDeleteKey && place.rfind(key, 0) == 0) return true;
    if (change.action == RegistryAction::kCreateKey && action == "create" &&
        (key + "\\").rfind(place + "\\", 0) == 0)
      return true;
  }
  return false;
}

// A launch as the plan lists it, the system root left as a placeholder.
std::string Listed(const std::string& file, std::string parameters) {
  size_t root = parameters.find("C:\\WINDOWS");
  if (root != std::string::npos) parameters.replace(root, 10, "%SystemRoot%");
  return Lower(file + " " + parameters);
}

// Whether the in-memory registry logged a change of the listed location, or
// holds the key the plan lists as created.
bool IsCarriedOut(const PlannedChange& change, const std::vector<std::string>& changes) {
  if (change.action == RegistryAction::kCreateKey)
    return fake::Machine().registry.HasKey(change.root, change.path);
  std::string place = RootName(change.root) + "\\" + change.path;
  if (change.kind == PlannedChange::Kind::kRegistryValue)
    place += "\\" + (change.name.empty() ? "(default)" : change.name);
  return std::any_of(changes.begin(), changes.end(), [&](const std::string& logged) {
    return Lower(logged.substr(logged.find(' ') + 1)) == Lower(place);
  });
}

class SettingPlan : public FakeSystemTest, public ::testing::WithParamInterface<SettingEntry> {};

// What apply changes is what the plan lists, and the other way round.
TEST_P(SettingPlan, ListsWhatApplyChanges) {
  const SettingEntry& setting = GetParam();
  MakeFullFakeSystem();
  std::vector<PlannedChange> plan = PlanOfApply(setting);
  SystemAccess system;
  Apply(system, setting.id);
  for (const std::string& logged : Registry().Changes())
    EXPECT_TRUE(IsListed(logged, plan)) << logged;
  bool changed = !Registry().Changes().empty() || !Machine().launches.empty();
  for (const char* name : {"ERSvc", "wuauserv", "W32Time", "Schedule", "upnphost"}) {
    bool serviceChanged = !Machine().services.Find(name)->changedFields.empty();
    bool listed = std::any_of(plan.begin(), plan.end(), [&](const PlannedChange& change) {
      return change.kind == PlannedChange::Kind::kService && change.path == name;
    });
    EXPECT_EQ(serviceChanged, listed) << name;
    changed |= serviceChanged;
  }
  std::vector<std::string> launched, listedLaunches;
  for (const fake::LaunchRecord& launch : Machine().launches)
    launched.push_back(Listed(launch.file, launch.parameters));
  for (const PlannedChange& change : plan) {
    if (change.kind == PlannedChange::Kind::kProgram)
      listedLaunches.push_back(Lower(Machine().systemFolder + "\\" + change.path + " " + change.name));
    bool registry = change.kind == PlannedChange::Kind::kRegistryValue ||
                    change.kind == PlannedChange::Kind::kRegistryKey;
    EXPECT_TRUE(!registry || IsCarriedOut(change, Registry().Changes()))
        << change.path << "\\" << change.name;
  }
  EXPECT_EQ(listedLaunches, launched);
  // A plan lists nothing only for the choice that changes nothing.
  EXPECT_EQ(changed, !plan.empty());
}

INSTANTIATE_TEST_SUITE_P(EverySetting, SettingPlan, ::testing::ValuesIn(AllSettings().begin(),
                                                                         AllSettings().end()),
                         [](const auto& info) { return "Setting" + std::to_string(info.param.id); });

// A setting reaches only the account that runs the program when every place
// it changes lies below HKCU; a logon script can apply those, a startup
// script the machine's.
TEST(SettingScope, FollowsWhereThePlanWrites) {
  const std::vector<SettingId> user = {1, 2, 3, 6, 7, 8, 14, 26, 29, 51, 52, 53};
  const std::vector<SettingId> both = {27, 28};
  for (const SettingEntry& setting : AllSettings()) {
    auto in = [&](const std::vector<SettingId>& ids) {
      return std::find(ids.begin(), ids.end(), setting.id) != ids.end();
    };
    SettingScope expected = in(user)   ? SettingScope::kUser
                            : in(both) ? SettingScope::kBoth
                                       : SettingScope::kMachine;
    EXPECT_EQ(static_cast<int>(ScopeOf(setting)), static_cast<int>(expected)) << setting.id;
  }
}

}  // namespace
