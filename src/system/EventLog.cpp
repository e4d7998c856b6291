#include "system/EventLog.h"

#include <vector>

#include "platform/Platform.h"
#include "system/ProductName.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"
#include "system/SystemAccess.h"

const char kEventSourceKey[] = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\Hushgate";

namespace {

const char kApplicationLog[] = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application";
const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// XP Professional's EventCreate.exe shows an entry's text as it is (its
// messages 1 to 1000 are "%1"); every XP's netmsg.dll does with message 3299
// ("%1 %2 ... %9"), given eight empty texts after it.
struct SystemMessageFile {
  const char* name;
  DWORD eventId;
  DWORD strings;
};
const SystemMessageFile kSystemMessageFiles[] = {
    {"EventCreate.exe", 1, 1},
    {"netmsg.dll", 3299, 9},
};

std::string ReadText(SystemAccess& system, const char* path, const char* name) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!system.ReadRegistryValue(HKEY_LOCAL_MACHINE, path, name, &type, &data) ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string();
  return TextUpToZero(data);
}

// Below the folder, and not out of it again through "..".
bool IsBelow(const std::string& path, const std::string& folder) {
  if (folder.size() < 3 || path.find("\\..\\") != std::string::npos) return false;
  std::string prefix = Lower(folder);
  if (prefix.back() != '\\') prefix += '\\';
  return Lower(path).compare(0, prefix.size(), prefix) == 0;
}

// The program's own message table serves only from a folder that only
// administrators can write to: the system folder or Program Files. Not the
// whole Windows folder: its Temp and others are open to every user.
bool IsInAdministratorsFolder(SystemAccess& system, const std::string& program) {
  std::string root;
  bool read = system.ReadSystemRoot(&root);
  if (read && !root.empty() && root.back() == '\\') root.pop_back();
  return (read && IsBelow(program, root + "\\System32")) ||
         IsBelow(program, ReadText(system, kCurrentVersion, "ProgramFilesDir"));
}

// The file the registration names now, when it names another than the one
// chosen and was replaced; empty otherwise.
std::string RegisterSource(SystemAccess& system, const EventMessageSource& chosen) {
  if (chosen.file.empty()) return std::string();
  const std::string named = ReadText(system, kEventSourceKey, "EventMessageFile");
  if (Lower(named) == Lower(chosen.file)) return std::string();
  // Without the log's own key there is no log to register with.
  if (!system.RegistryKeyExists(HKEY_LOCAL_MACHINE, kApplicationLog) ||
      !system.CreateRegistryKey(HKEY_LOCAL_MACHINE, kEventSourceKey))
    return std::string();
  std::vector<NamedValue> values(2);
  values[0] = {"EventMessageFile", REG_EXPAND_SZ, TextBytes(chosen.file)};
  values[1] = {"TypesSupported", REG_DWORD, {7, 0, 0, 0}};
  return system.WriteRegistryValues(HKEY_LOCAL_MACHINE, kEventSourceKey, values) ? named
                                                                                : std::string();
}

}  // namespace

EventMessageSource ChooseEventMessageSource(SystemAccess& system) {
  char folder[MAX_PATH] = {};
  UINT length = platform::SystemFolder(folder, sizeof folder);
  if (length > 0 && length < sizeof folder) {
    for (const SystemMessageFile& file : kSystemMessageFiles)
      if (platform::FileExists((std::string(folder) + "\\" + file.name).c_str()))
        return {std::string("%SystemRoot%\\System32\\") + file.name, file.eventId, file.strings};
  }
  const std::string program = platform::ProgramPath();
  if (IsInAdministratorsFolder(system, program)) return {program, 1, 1};
  return {};
}

bool ReportToEventLog(const std::string& text, bool succeeded) {
  SystemAccess system;
  const EventMessageSource source = ChooseEventMessageSource(system);
  const std::string before = RegisterSource(system, source);
  std::vector<std::string> strings(source.strings);
  strings[0] = before.empty() ? text
                              : text + "\r\n(" + kProductName + ": EventMessageFile " + before +
                                    " -> " + source.file + ")";
  return platform::WriteEventLogEntry(
      kProductName, succeeded ? EVENTLOG_INFORMATION_TYPE : EVENTLOG_ERROR_TYPE, source.eventId,
      strings);
}
