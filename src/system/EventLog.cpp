#include "system/EventLog.h"

#include <vector>

#include "platform/Platform.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"
#include "system/SystemAccess.h"

namespace {

const char kSource[] = "Hushgate";
const char kApplicationLog[] = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application";
const char kSourceKey[] = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\Hushgate";
constexpr DWORD kChangeEvent = 1;  // the message table's only message: "%1"

// The event viewer finds the entry's message in the file the source names.
void RegisterSource(SystemAccess& system) {
  const std::string program = platform::ProgramPath();
  DWORD type = 0;
  std::vector<BYTE> named;
  if (system.ReadRegistryValue(HKEY_LOCAL_MACHINE, kSourceKey, "EventMessageFile", &type, &named) &&
      TextUpToZero(named) == program)
    return;
  // Without the log's own key there is no log to register with.
  if (!RegistryKeyExists(HKEY_LOCAL_MACHINE, kApplicationLog)) return;
  std::vector<BYTE> file(program.begin(), program.end());
  file.push_back(0);
  CreateRegistryKey(HKEY_LOCAL_MACHINE, kSourceKey);
  WriteRegistryValues(HKEY_LOCAL_MACHINE, kSourceKey, KEY_WRITE,
                      {NamedValue{"EventMessageFile", REG_EXPAND_SZ, file},
                       NamedValue{"TypesSupported", REG_DWORD, {7, 0, 0, 0}}});
}

}  // namespace

bool ReportToEventLog(const std::string& text, bool succeeded) {
  SystemAccess system;
  RegisterSource(system);
  return platform::WriteEventLogEntry(
      kSource, succeeded ? EVENTLOG_INFORMATION_TYPE : EVENTLOG_ERROR_TYPE, kChangeEvent,
      text.c_str());
}
