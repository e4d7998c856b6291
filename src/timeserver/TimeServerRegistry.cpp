#include "timeserver/TimeServerRegistry.h"

#include <algorithm>
#include <cstddef>

#include "engine/Backup.h"
#include "engine/RecordedChanges.h"
#include "engine/PolicyPlan.h"
#include "engine/SettingCatalogue.h"
#include "engine/TimeServerPlan.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/SystemAccess.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The leading number of the text the way sscanf "%d" reads it, 0 without
// digits; saturated, so a huge text cannot wrap round to a server's number.
long long LeadingNumber(const std::string& text) {
  const long long kCeiling = 10000000000LL;
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  long long number = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    number = std::min(kCeiling, number * 10 + (text[at] - '0'));
  return negative ? -number : number;
}

// Each key is opened once for the values that go into it, in their order.
bool WriteAll(const std::vector<TimeServerWrite>& writes) {
  SystemAccess system;
  bool written = true;
  for (size_t first = 0; first < writes.size();) {
    std::vector<NamedValue> values;
    size_t next = first;
    for (; next < writes.size() && writes[next].path == writes[first].path; ++next)
      values.push_back(writes[next].value);
    written &= system.WriteRegistryValues(HKEY_LOCAL_MACHINE, writes[first].path, values);
    first = next;
  }
  return written;
}

std::string Question(const std::vector<std::string>& decided) {
  if (decided.empty()) return Text(IDS_TIME_SERVER_CONFIRM);
  std::string list;
  for (const std::string& each : decided) list += (list.empty() ? "" : ", ") + each;
  return FormatText(IDS_TIME_SERVER_CONFIRM_POLICY, {list});
}

}  // namespace

TimeServerList ReadTimeServers() {
  TimeServerList list;
  std::vector<NamedValue> values;
  SystemAccess system;
  if (!system.ReadRegistryValues(HKEY_LOCAL_MACHINE, kServers, &values)) return list;
  long long currentNumber = 0;
  for (const NamedValue& value : values) {
    std::string text = TextUpToZero(value.data);
    if (value.name.empty()) {
      currentNumber = LeadingNumber(text);
    } else if (int number = ServerNumberOf(value.name)) {
      list.servers.push_back({number, text});
    }
  }

  std::stable_sort(list.servers.begin(), list.servers.end(),
                   [](const TimeServer& a, const TimeServer& b) { return a.number < b.number; });
  auto current = std::find_if(list.servers.begin(), list.servers.end(), [&](const TimeServer& s) {
    return s.number == currentNumber;
  });
  if (current != list.servers.end()) list.current = int(current - list.servers.begin());
  return list;
}

int NextServerNumber(const std::vector<TimeServer>& servers) {
  int highest = 0;
  for (const TimeServer& server : servers) highest = std::max(highest, server.number);
  return highest + 1;
}

std::vector<TimeServerWrite> WritesLeftByPolicy(const TimeServer& server,
                                                std::vector<std::string>* decided) {
  SystemAccess system;
  PolicyView policies(system);
  std::vector<TimeServerWrite> left;
  for (const TimeServerWrite& write : TimeServerWrites(server.number, server.host)) {
    const PolicyDecision policy =
        write.decidedWith < 0 ? PolicyDecision() : policies.Decide(SettingId(write.decidedWith));
    if (!policy.decided()) {
      left.push_back(write);
    } else if (decided) {
      decided->push_back(Text(FindSetting(SettingId(write.decidedWith))->labelId) + " (" +
                         policy.source + ")");
    }
  }
  return left;
}

bool ApplyTimeServer(const TimeServer& server) { return WriteAll(WritesLeftByPolicy(server)); }

bool ConfirmAndApplyTimeServer(HWND owner, const TimeServer& server) {
  std::vector<std::string> decided;
  const std::vector<TimeServerWrite> writes = WritesLeftByPolicy(server, &decided);
  int answer = platform::ShowMessageBox(owner, Question(decided).c_str(),
                                        platform::ProgramName().c_str(), MB_YESNO | MB_ICONQUESTION);
  if (answer != IDYES) return false;
  SystemAccess system;
  MissedCaptures missed;
  CaptureFailure failure;
  missed.Note(IDS_TIME_SERVER_LABEL,
              Capture(system, TimeServerPlan(), TimeServerLocations(writes), &failure), failure);
  if (missed.Any() &&
      platform::ShowMessageBox(owner, missed.Question().c_str(), platform::ProgramName().c_str(),
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return false;
  bool applied = WriteAll(writes);
  ReportTimeServerChange(system, applied, server.host.c_str());
  return applied;
}
