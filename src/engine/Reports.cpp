#include "engine/Reports.h"

#include "engine/Availability.h"
#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"
#include "engine/StatusCheck.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/RegistryText.h"
#include "system/SystemAccess.h"

namespace {

const char kProduct[] = "Hushgate 3.61";
const char kEnd[] = "\r\n";

std::string LabelOf(SettingId id, TextLoader loadText) {
  if (id == kTimeServerBackup) return loadText ? loadText(IDS_TIME_SERVER_LABEL) : std::string();
  const SettingEntry* setting = FindSetting(id);
  return setting && loadText ? loadText(setting->labelId) : std::string();
}

const char* RootName(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return "HKCR";
  if (root == HKEY_CURRENT_USER) return "HKCU";
  if (root == HKEY_USERS) return "HKU";
  return "HKLM";
}

std::string Location(HKEY root, const std::string& path, const std::string& name) {
  return std::string(RootName(root)) + "\\" + path + "\\" + (name.empty() ? "(Standard)" : name);
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
  if (type == REG_DWORD && size == 4)
    return "REG_DWORD " + std::to_string(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                         DWORD(bytes[3]) << 24);
  if (type == REG_SZ || type == REG_EXPAND_SZ)
    return std::string(type == REG_SZ ? "REG_SZ" : "REG_EXPAND_SZ") + " \"" +
           TextUpToZero(bytes, size) + "\" (" + std::to_string(size) + " Bytes)";
  return (type == REG_BINARY ? std::string("REG_BINARY") : "Typ " + std::to_string(type)) + " " +
         Hex(bytes, size);
}

std::string CurrentValue(SystemAccess& system, const PlannedChange& change) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!system.ReadRegistryValue(change.root, change.path.c_str(), change.name.c_str(), &type,
                                &data))
    return "fehlt";
  return DataText(type, data.data(), data.size());
}

const char* StartTypeName(DWORD type) {
  static const char* const kNames[] = {"Boot", "System", "automatisch", "manuell", "deaktiviert",
                                       "nicht erreichbar"};
  return type <= kStartTypeUnavailable ? kNames[type] : "?";
}

std::string PreviewLine(SystemAccess& system, SettingId id, const PlannedChange& change) {
  std::string line = std::to_string(id) + "\t";
  switch (change.kind) {
    case PlannedChange::Kind::kRegistryValue:
      line += "Wert\t" + Location(change.root, change.path, change.name) + "\tjetzt: " +
              CurrentValue(system, change) + "\tneu: ";
      if (change.action == RegistryAction::kWriteValue)
        line += DataText(change.data.type, reinterpret_cast<const BYTE*>(change.data.bytes),
                         change.data.size);
      else
        line += "löschen";
      return line;
    case PlannedChange::Kind::kRegistryKey:
      line += "Schlüssel\t" + std::string(RootName(change.root)) + "\\" + change.path + "\t";
      line += change.action == RegistryAction::kCreateKey ? "anlegen, wo er fehlt"
                                                          : "löschen mit allem darin";
      return line;
    case PlannedChange::Kind::kService: {
      DWORD now = system.Services().GetServiceStartType(change.path.c_str());
      return line + "Dienst\t" + change.path + "\tjetzt: " + StartTypeName(now) +
             "\tneu: " + StartTypeName(SERVICE_DISABLED) + ", beenden";
    }
    case PlannedChange::Kind::kProgram: {
      std::string parameters = change.name;
      std::string root;
      size_t at = parameters.find("%SystemRoot%");
      if (at != std::string::npos)
        parameters.replace(at, 12, system.ReadSystemRoot(&root) ? root : "(unlesbar)");
      std::string pause = change.pauseMs ? std::to_string(change.pauseMs / 1000) + " s Pause"
                                         : "ohne Pause";
      return line + "Programm\t" + system.SystemProgramPath(change.path.c_str()) + "\t" +
             parameters + "\t" + pause;
    }
    case PlannedChange::Kind::kAccount:
      return line + "Konto\t" + change.path + "\tlöschen";
  }
  return line;
}

}  // namespace

std::vector<SettingId> SettingsInReports() {
  std::vector<SettingId> ids;
  for (SettingId id = 0; id <= kLastSettingId; ++id) {
    const SettingEntry* setting = FindSetting(id);
    if (setting && !IsNoAction(*setting)) ids.push_back(id);
  }
  return ids;
}

std::string StatusReport(SystemAccess& system, const std::vector<SettingId>& ids, bool named,
                         TextLoader loadText, bool* anyOn) {
  std::string report = std::string(kProduct) + "\t" + platform::ComputerName() + "\t" +
                       platform::UserName() + "\t" + platform::LocalTimeText() + kEnd;
  *anyOn = false;
  for (SettingId id : ids) {
    const SettingEntry* setting = FindSetting(id);
    if (!setting) continue;
    bool offered = IsSettingOffered(system, *setting);
    bool off = IsSettingOff(system, id);
    const char* state = off ? "off" : !offered ? "not-offered"
                                    : WasSwitchedOff(system, id) ? "on-again" : "on";
    if (!off && offered && (named || setting->recommended)) *anyOn = true;
    report += std::to_string(id) + "\t" + state + "\t" + (HasBackup(system, id) ? "yes" : "no") +
              "\t" + LabelOf(id, loadText) + kEnd;
  }
  return report;
}

std::string PreviewReport(SystemAccess& system, const std::vector<SettingId>& ids) {
  std::string report;
  for (SettingId id : ids) {
    const SettingEntry* setting = FindSetting(id);
    if (!setting) continue;
    for (const PlannedChange& change : PlanOfApply(*setting))
      report += PreviewLine(system, id, change) + kEnd;
  }
  return report;
}

std::string UndoReport(SettingId id, const UndoResult& result, TextLoader loadText) {
  static const char* const kWords[] = {"restored", "no-backup", "cannot-undo", "failed"};
  std::string number = id == kTimeServerBackup ? std::string("-") : std::to_string(id);
  std::string report = number + "\t" + kWords[static_cast<int>(result.outcome)] + "\t" +
                       LabelOf(id, loadText) + kEnd;
  for (const std::string& problem : result.problems) report += "\t" + problem + kEnd;
  return report;
}
