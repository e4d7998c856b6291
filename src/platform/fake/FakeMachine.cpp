#include "platform/fake/FakeMachine.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Platform.h"

namespace fake {
namespace {
std::unique_ptr<FakeMachine> machine = std::make_unique<FakeMachine>();

constexpr DWORD kStillActive = 259;
}  // namespace

FakeMachine& Machine() { return *machine; }

void ResetMachine() { machine = std::make_unique<FakeMachine>(); }

void MakeXpX64() {
  machine->majorVersion = 5;
  machine->minorVersion = 2;
  machine->productType = VER_NT_WORKSTATION;
  machine->registry.SetWow64(true);
}

}  // namespace fake

namespace platform {

using fake::Machine;

LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result) {
  return Machine().registry.OpenKey(parent, subKey, access, result);
}

LONG CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition) {
  return Machine().registry.CreateKey(parent, subKey, access, result, disposition);
}

LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
  return Machine().registry.QueryValue(key, name, type, data, size);
}

LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) {
  return Machine().registry.SetValue(key, name, type, data, size);
}

LONG EnumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
               DWORD* dataSize) {
  return Machine().registry.EnumValue(key, index, name, nameLength, type, data, dataSize);
}

LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* nameLength) {
  return Machine().registry.EnumKey(key, index, name, nameLength);
}

LONG DeleteKey(HKEY parent, const char* subKey, REGSAM view) {
  if (view && !Wow64().deleteInView) return ERROR_PROC_NOT_FOUND;
  return Machine().registry.DeleteKey(parent, subKey, view);
}

Wow64Support Wow64() {
  const fake::FakeMachine& m = Machine();
  const bool wow64 = m.registry.IsWow64();
  return {wow64, wow64 && m.redirectionCalls, wow64 && m.deleteKeyExCall};
}

LONG DeleteValue(HKEY key, const char* name) { return Machine().registry.DeleteValue(key, name); }

LONG CloseKey(HKEY key) { return Machine().registry.CloseKey(key); }

DWORD OpenServiceManager(DWORD access, SC_HANDLE* manager) {
  return Machine().services.OpenManager(access, manager, Machine().administrator);
}

DWORD OpenServiceHandle(SC_HANDLE manager, const char* name, DWORD access, SC_HANDLE* service) {
  return Machine().services.OpenService(manager, name, access, service);
}

DWORD QueryServiceConfiguration(SC_HANDLE service, QUERY_SERVICE_CONFIGA* config, DWORD size,
                                DWORD* needed) {
  return Machine().services.QueryConfiguration(service, config, size, needed);
}

DWORD ChangeServiceConfiguration(SC_HANDLE service, DWORD serviceType, DWORD startType,
                                 DWORD errorControl, const char* binaryPath,
                                 const char* loadOrderGroup, const char* dependencies,
                                 const char* account, const char* password,
                                 const char* displayName) {
  return Machine().services.ChangeConfiguration(service, serviceType, startType, errorControl,
                                                binaryPath, loadOrderGroup, dependencies, account,
                                                password, displayName);
}

DWORD StartServiceRequest(SC_HANDLE service) { return Machine().services.Start(service); }

DWORD SendServiceControl(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) {
  return Machine().services.Control(service, control, status);
}

DWORD CloseService(SC_HANDLE handle) { return Machine().services.Close(handle); }

DWORD LookupAccount(const char* name, void* sid, DWORD* sidSize, char* domain,
                    DWORD* domainLength) {
  const auto& accounts = Machine().accounts;
  bool known = std::any_of(accounts.begin(), accounts.end(), [&](const std::string& account) {
    return fake::Lower(account) == fake::Lower(name);
  });
  if (!known) return ERROR_NONE_MAPPED;
  static const BYTE kSid[28] = {1, 5, 0, 0, 0, 0, 0, 5, 21};
  static const char kDomain[] = "HUSHGATE-PC";
  if (*sidSize < sizeof kSid || *domainLength < sizeof kDomain) {
    *sidSize = sizeof kSid;
    *domainLength = sizeof kDomain;
    return ERROR_INSUFFICIENT_BUFFER;
  }
  std::memcpy(sid, kSid, sizeof kSid);
  std::memcpy(domain, kDomain, sizeof kDomain);
  *sidSize = sizeof kSid;
  *domainLength = sizeof kDomain - 1;
  return ERROR_SUCCESS;
}

bool GetVersionRecord(OSVERSIONINFOEXA* info) {
  if (Machine().versionCallFails || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA))
    return false;
  info->dwMajorVersion = Machine().majorVersion;
  info->dwMinorVersion = Machine().minorVersion;
  info->wSuiteMask = Machine().suiteMask;
  info->wProductType = Machine().productType;
  return true;
}

namespace {

std::string TextOf(const char* text) { return text ? text : ""; }

// Logs the launch and runs the program as scripted; false when it does not
// start. The process handle is made only when asked for.
bool Start(const fake::LaunchRecord& record,
           const std::map<std::string, fake::ScriptedProgram>& programs, HANDLE* process) {
  fake::FakeMachine& m = Machine();
  m.launches.push_back(record);
  fake::ScriptedProgram program;
  for (const auto& [file, scripted] : programs)
    if (fake::Lower(file) == fake::Lower(record.file)) program = scripted;
  if (program.startFails) return false;
  if (m.onLaunch) m.onLaunch(record);
  if (process) {
    uintptr_t handle = m.nextProcess;
    m.nextProcess += 4;
    m.processes[handle] = {m.clock + program.runsFor, program.exitCode};
    *process = reinterpret_cast<HANDLE>(handle);
  }
  return true;
}

}  // namespace

bool LaunchProgram(SHELLEXECUTEINFOA* info) {
  fake::LaunchRecord record{TextOf(info->lpFile), TextOf(info->lpParameters),
                            TextOf(info->lpDirectory), info->nShow, info->fMask,
                            info->lpVerb != nullptr, info->hwnd != nullptr};
  return Start(record, Machine().programs,
               info->fMask & SEE_MASK_NOCLOSEPROCESS ? &info->hProcess : nullptr);
}

bool LaunchNativeProgram(const char* file, const char* parameters, const char* directory,
                         HANDLE* process) {
  if (!Wow64().redirection) return false;
  fake::LaunchRecord record{TextOf(file), TextOf(parameters), TextOf(directory), SW_HIDE, 0,
                            false, false, true};
  return Start(record, Machine().nativePrograms, process);
}

DWORD WaitForProcess(HANDLE process, DWORD milliseconds) {
  fake::FakeMachine& m = Machine();
  auto found = m.processes.find(reinterpret_cast<uintptr_t>(process));
  if (found == m.processes.end()) return WAIT_FAILED;
  DWORD exitsAt = found->second.exitsAt;
  if (exitsAt <= m.clock) return WAIT_OBJECT_0;
  if (exitsAt - m.clock <= milliseconds) {
    m.clock = exitsAt;
    return WAIT_OBJECT_0;
  }
  m.clock += milliseconds;
  return WAIT_TIMEOUT;
}

bool GetProcessExitCode(HANDLE process, DWORD* exitCode) {
  fake::FakeMachine& m = Machine();
  auto found = m.processes.find(reinterpret_cast<uintptr_t>(process));
  if (found == m.processes.end()) return false;
  *exitCode = found->second.exitsAt <= m.clock ? found->second.exitCode : fake::kStillActive;
  return true;
}

void CloseProcess(HANDLE process) {
  Machine().processes.erase(reinterpret_cast<uintptr_t>(process));
}

void Pause(DWORD milliseconds) {
  Machine().pauses.push_back(milliseconds);
  Machine().clock += milliseconds;
}

DWORD TickCount() { return Machine().clock; }

UINT SystemFolder(char* buffer, UINT size) {
  const std::string& folder = Machine().systemFolder;
  if (folder.size() + 1 > size) return UINT(folder.size() + 1);
  std::memcpy(buffer, folder.c_str(), folder.size() + 1);
  return UINT(folder.size());
}

bool OpenWithShell(const char* target) {
  Machine().shellOpens.push_back(target ? target : "");
  return true;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  Machine().messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
  if (!Machine().messageBoxAnswers.empty()) {
    int answer = Machine().messageBoxAnswers.front();
    Machine().messageBoxAnswers.pop_front();
    return answer;
  }
  return (type & 0xF) == MB_YESNO ? IDYES : IDOK;
}

std::string ProgramName() { return Machine().programName; }

std::string ProgramPath() { return Machine().programPath; }
std::string UserName() { return Machine().userName; }
std::string ComputerName() { return Machine().computerName; }
std::string LocalTimeText() { return Machine().localTime; }
bool IsLocalSystem() { return Machine().localSystem; }

bool WriteEventLogEntry(const char* source, WORD type, DWORD eventId,
                        const std::vector<std::string>& strings) {
  Machine().events.push_back({source, type, eventId, strings.empty() ? "" : strings[0],
                              strings.size()});
  return true;
}

bool FileExists(const char* path) { return Machine().files.count(fake::Lower(path)) > 0; }

bool WriteOutput(const std::string& text) {
  if (!Machine().hasOutput) return false;
  Machine().output += text;
  return true;
}

bool IsAdministrator() { return Machine().administrator; }

DWORD SetRestorePoint(DWORD eventType, DWORD pointType, int64_t sequence,
                      const char* description, int64_t* newSequence) {
  fake::FakeMachine& machine = Machine();
  if (!machine.restoreLibraryPresent) return ERROR_MOD_NOT_FOUND;
  machine.restorePoints.push_back({eventType, pointType, sequence, description ? description : "",
                                   machine.registry.Changes().size()});
  if (machine.restorePointError != ERROR_SUCCESS) return machine.restorePointError;
  *newSequence = eventType == BEGIN_SYSTEM_CHANGE ? machine.nextRestoreSequence++ : sequence;
  return ERROR_SUCCESS;
}

}  // namespace platform
