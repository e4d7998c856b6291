#include "engine/Reports.h"

#include "engine/Availability.h"
#include "engine/Consequences.h"
#include "engine/PolicyPlan.h"
#include "engine/SettingCatalogue.h"
#include "engine/ApplyPlan.h"
#include "engine/SettingPlan.h"
#include "engine/StatusCheck.h"
#include "engine/UpdateSource.h"
#include "res/resource.h"
#include "system/EventLog.h"
#include "system/ProductName.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"
#include "system/SystemAccess.h"

namespace {

const char kEnd[] = "\r\n";

std::string Location(HKEY root, const std::string& path, const std::string& name) {
  return std::string(RootName(root)) + "\\" + path + "\\" + (name.empty() ? Text(IDS_DEFAULT_VALUE) : name);
}

std::string Hex(const BYTE* bytes, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    if (i) text += ' ';
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

// A value as an administrator reads it: its type and its data.
std::string DataText(DWORD type, const BYTE* bytes, size_t size) {
  DWORD number = 0;
  if (DecodeNumber(type, bytes, size, &number)) return "REG_DWORD " + std::to_string(number);
  if (type == REG_SZ || type == REG_EXPAND_SZ)
    return std::string(type == REG_SZ ? "REG_SZ" : "REG_EXPAND_SZ") + " \"" +
           PrintableText(TextUpToZero(bytes, size)) + "\" " + FormatText(IDS_VALUE_BYTES, {std::to_string(size)});
  std::string kind = type == REG_BINARY ? std::string("REG_BINARY")
                                        : FormatText(IDS_VALUE_TYPE, {std::to_string(type)});
  return kind + " " + Hex(bytes, size);
}

std::string CurrentValue(SystemAccess& system, const PlannedChange& change) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!system.ReadRegistryValue(change.root, change.path.c_str(), change.name.c_str(), &type,
                                &data, change.view))
    return Text(IDS_VALUE_MISSING);
  return DataText(type, data.data(), data.size());
}

std::string StartTypeName(DWORD type) {
  static const int kNames[] = {IDS_START_BOOT,     IDS_START_SYSTEM,      IDS_START_AUTOMATIC,
                               IDS_START_MANUAL,   IDS_START_DISABLED,    IDS_START_UNREACHABLE,
                               IDS_START_UNKNOWN};
  return type <= kStartTypeUnknown ? Text(kNames[type]) : "?";
}

// The label says which of two copies a line means, where it means one.
// What each kind of change says in a preview line, after its number; the
// label tells a view or a program's width where there are two.
std::string ValuePreview(SystemAccess& system, const PlannedChange& change,
                         const std::string& label) {
  std::string written =
      change.action == RegistryAction::kWriteValue
          ? DataText(change.data.type, reinterpret_cast<const BYTE*>(change.data.bytes),
                     change.data.size)
          : Text(IDS_PREVIEW_DELETE);
  return Text(IDS_PREVIEW_VALUE) + "\t" + Location(change.root, change.path, change.name) + label +
         "\t" + FormatText(IDS_PREVIEW_NOW, {CurrentValue(system, change)}) + "\t" +
         FormatText(IDS_PREVIEW_NEW, {written});
}

std::string KeyPreview(SystemAccess& system, const PlannedChange& change, const std::string& label) {
  std::string line =
      Text(IDS_PREVIEW_KEY) + "\t" + RootName(change.root) + "\\" + change.path + label + "\t";
  if (change.action == RegistryAction::kCreateKey) return line + Text(IDS_PREVIEW_CREATE_KEY);
  // Windows deletes only a key without subkeys, and so does apply.
  std::vector<std::string> subKeys;
  system.ReadRegistrySubKeys(change.root, change.path.c_str(), &subKeys, change.view);
  return line + Text(subKeys.empty() ? IDS_PREVIEW_DELETE_KEY : IDS_PREVIEW_DELETE_KEY_FAILS);
}

std::string ServicePreview(SystemAccess& system, const PlannedChange& change, const std::string&) {
  DWORD now = system.Services().GetServiceStartType(change.path.c_str());
  return Text(IDS_SERVICE) + "\t" + change.path + "\t" +
         FormatText(IDS_PREVIEW_NOW, {StartTypeName(now)}) + "\t" +
         FormatText(IDS_PREVIEW_NEW, {FormatText(IDS_PREVIEW_STOP, {StartTypeName(SERVICE_DISABLED)})});
}

std::string ProgramPreview(SystemAccess& system, const PlannedChange& change,
                           const std::string& label) {
  std::string parameters = change.name;
  std::string root;
  size_t at = parameters.find("%SystemRoot%");
  if (at != std::string::npos)
    parameters.replace(at, 12, system.ReadSystemRoot(&root) ? root : Text(IDS_PREVIEW_UNREADABLE));
  std::string pause = change.pauseMs
                          ? FormatText(IDS_PREVIEW_PAUSE, {std::to_string(change.pauseMs / 1000)})
                          : Text(IDS_PREVIEW_NO_PAUSE);
  return Text(IDS_PREVIEW_PROGRAM) + "\t" + system.SystemProgramPath(change.path.c_str()) + label +
         "\t" + parameters + "\t" + pause;
}

std::string AccountPreview(SystemAccess&, const PlannedChange& change, const std::string&) {
  return Text(IDS_PREVIEW_ACCOUNT) + "\t" + change.path + "\t" + Text(IDS_PREVIEW_DELETE);
}

std::string PreviewLine(SystemAccess& system, const std::string& number,
                        const PlannedChange& change, const std::string& label = std::string()) {
  using Preview = std::string (*)(SystemAccess&, const PlannedChange&, const std::string&);
  // By PlannedChange::Kind, in its order.
  static const Preview kPreviews[] = {ValuePreview, KeyPreview, ServicePreview, ProgramPreview,
                                      AccountPreview};
  return number + "\t" + kPreviews[static_cast<int>(change.kind)](system, change, label);
}

// A change of both halves under WOW64: one line for each view its key is in,
// or for a program the 64-bit one's after the 32-bit one's.
std::string PreviewLines(SystemAccess& system, const std::string& number,
                         const PlannedChange& change) {
  if (change.view != RegistryView::kEach || !system.IsWow64())
    return PreviewLine(system, number, change) + kEnd;
  if (change.kind == PlannedChange::Kind::kProgram)
    return PreviewLine(system, number, change, Text(IDS_VIEW_32BIT)) + kEnd +
           PreviewLine(system, number, change, Text(IDS_VIEW_64BIT)) + kEnd;
  std::string lines;
  for (RegistryView view : ViewsAt(system, change.root, change.path.c_str(), change.view)) {
    PlannedChange inView = change;
    inView.view = view;
    lines += PreviewLine(system, number, inView,
                         Text(view == RegistryView::k32Bit ? IDS_VIEW_32BIT : IDS_VIEW_64BIT)) +
             kEnd;
  }
  return lines;
}

PlannedChange RegistrationWrite(const char* name, const RegistryData& data) {
  return {PlannedChange::Kind::kRegistryValue, HKEY_LOCAL_MACHINE, kEventSourceKey, name,
          RegistryAction::kWriteValue, data};
}

// Every change is reported to the event log, whose source may need to be
// registered first: writes like any other, under no setting's number.
std::string RegistrationPreview(SystemAccess& system) {
  const EventMessageSource source = ChooseEventMessageSource(system);
  if (source.file.empty()) return std::string();
  const RegistryData file = {REG_EXPAND_SZ, source.file.c_str(), DWORD(source.file.size() + 1)};
  PlannedChange named = RegistrationWrite("EventMessageFile", file);
  if (CurrentValue(system, named) ==
      DataText(file.type, reinterpret_cast<const BYTE*>(file.bytes), file.size))
    return std::string();
  return PreviewLine(system, "-", named) + kEnd +
         PreviewLine(system, "-", RegistrationWrite("TypesSupported", {REG_DWORD, "\7\0\0\0", 4})) +
         kEnd;
}

}  // namespace

std::vector<SettingId> SettingsInReports() {
  std::vector<SettingId> ids;
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    if (IsReportedSetting(id)) ids.push_back(id);
  return ids;
}

std::string StatusHeader(SystemAccess& system) {
  return std::string(kProductName) + " " + kProductVersion + "\t" + system.ComputerName() + "\t" +
         system.UserName() + "\t" + system.LocalTimeText() + "\t" +
         (system.IsDomainMember() ? "domain" : "workgroup") + (system.IsWow64() ? "\tx64" : "") +
         kEnd;
}

std::string StatusLine(SystemAccess& system, PolicyView& policies, const SettingEntry& setting,
                       bool runsAsSystem, bool* offeredAndOn) {
  static const char* const kScopes[] = {"machine", "user", "machine+user"};
  const SettingScope scope = ScopeOf(setting);
  const char* state = "per-user";
  bool byPolicy = false;
  *offeredAndOn = false;
  // Another account's hive says nothing about the people of this machine.
  if (!IsLeftToLogonScript(setting, runsAsSystem)) {
    const PolicyDecision policy = policies.Decide(setting.id);
    byPolicy = policy.decided();
    bool offered = IsSettingOffered(system, setting);
    bool off = byPolicy ? policy.state == PolicyState::kOff : IsSettingOffLocally(system, setting.id);
    // A service that could not be asked is neither off nor missing: it
    // counts as not off.
    bool unknown = !off && !byPolicy && IsSettingUnknown(system, setting);
    state = off        ? "off"
            : unknown  ? "unknown"
            : !offered ? "not-offered"
            : WasSwitchedOff(system, setting.id) ? "on-again" : "on";
    *offeredAndOn = !off && offered;
  }
  return std::to_string(setting.id) + "\t" + state + "\t" +
         (HasBackup(system, setting.id) ? "yes" : "no") + "\t" + Text(setting.labelId) + "\t" +
         kScopes[static_cast<int>(scope)] + "\t" + (byPolicy ? "policy" : "local");
}

std::string StatusReport(SystemAccess& system, const std::vector<SettingId>& ids, bool named,
                         bool runsAsSystem, bool* anyOn) {
  std::string report = StatusHeader(system);
  *anyOn = false;
  // Whether a service setting is offered and whether it is off ask the same
  // service.
  ServiceControl::SharedManager oneManager(system.Services());
  PolicyView policies(system);
  for (SettingId id : ids) {
    const SettingEntry* setting = FindSetting(id);
    if (!setting) continue;
    bool on = false;
    report += StatusLine(system, policies, *setting, runsAsSystem, &on) + kEnd;
    if (on && (named || IsRecommendedHere(system, *setting))) *anyOn = true;
  }
  return report;
}

std::string PreviewReport(SystemAccess& system, const std::vector<SettingId>& ids) {
  std::string report;
  for (SettingId id : ids) {
    const SettingEntry* setting = FindSetting(id);
    if (!setting) continue;
    const PolicyDecision policy = DecidingPolicy(system, id);
    if (policy.decided()) {
      report += std::to_string(id) + "\t" + FormatText(IDS_PREVIEW_POLICY, {policy.source}) + kEnd;
      continue;
    }
    for (const PlannedChange& change : PlanOfApply(*setting))
      report += PreviewLines(system, std::to_string(id), change);
    for (const std::string& line : ConsequencesOf(system, *setting, Text))
      report += std::to_string(id) + "\t" + line + kEnd;
  }
  return report.empty() ? report : report + RegistrationPreview(system);
}

std::string LeftToLogonScripts(const std::vector<std::string>& numbers) {
  if (numbers.empty()) return std::string();
  std::string list;
  for (const std::string& number : numbers) list += (list.empty() ? "" : " ") + number;
  return FormatText(IDS_LEFT_TO_LOGON_SCRIPT, {list}) + kEnd;
}

std::string UndoReport(const UndoablePlan& plan, const UndoResult& result) {
  static const char* const kWords[] = {"restored", "no-backup", "cannot-undo", "failed",
                                      "per-user", "policy"};
  std::string report = plan.number + "\t" + kWords[static_cast<int>(result.outcome)] + "\t" +
                       Text(plan.labelId) + kEnd;
  for (const std::string& problem : result.problems) report += "\t" + problem + kEnd;
  for (const std::string& note : result.notes) report += "\t" + note + kEnd;
  return report;
}
