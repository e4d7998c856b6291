#include "engine/TimeServerPlan.h"

#include <algorithm>

#include "engine/SettingKeys.h"
#include "res/resource.h"

namespace {

// Text values keep their customary 128-byte form, zero-filled after the text.
constexpr size_t kTextWriteSize = 128;

NamedValue Text(const std::string& name, const std::string& text) {
  std::vector<BYTE> bytes(std::max(kTextWriteSize, text.size() + 1), 0);
  std::copy(text.begin(), text.end(), bytes.begin());
  return NamedValue{name, REG_SZ, bytes};
}

}  // namespace

std::vector<TimeServerWrite> TimeServerWrites(int number, const std::string& host) {
  const std::string name = std::to_string(number);
  // Whether the clock synchronises is 21's, whether the service starts 11's.
  return {
      {keys::kTimeParameters, Text("NtpServer", host + ",0x1"), false, -1},
      {keys::kTimeParameters, Text("Type", "NTP"), false, 21},
      {keys::kTimeServers, Text("", name), false, -1},
      {keys::kTimeServers, Text(name, host), true, -1},
      {keys::kTimeService, NamedValue{"Start", REG_DWORD, {2, 0, 0, 0}}, false, 11},
  };
}

int ServerNumberOf(const std::string& name) {
  // At most nine digits, so every number fits an int.
  if (name.empty() || name.size() > 9 || name[0] == '0') return 0;
  int number = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::vector<BackupLocation> TimeServerLocations(int number) {
  return TimeServerLocations(TimeServerWrites(number, std::string()));
}

std::vector<BackupLocation> TimeServerLocations(const std::vector<TimeServerWrite>& writes) {
  std::vector<BackupLocation> locations;
  for (const TimeServerWrite& write : writes)
    locations.push_back({BackupLocation::Kind::kValue, HKEY_LOCAL_MACHINE, write.path,
                         write.value.name, 0, write.namedByServer});
  return locations;
}

UndoablePlan TimeServerPlan() {
  UndoablePlan plan;
  plan.entry = "TimeServer";
  plan.number = "-";
  plan.labelId = plan.eventNameId = IDS_TIME_SERVER_LABEL;
  plan.locations = TimeServerLocations(1);
  return plan;
}
