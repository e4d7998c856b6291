// The Win32 seam, forwarding every call as src/platform/win32 does, counting
// the registry and service handles it hands out and takes back.
#include "CountingPlatform.h"

#include "platform/Platform.h"  // brings <windows.h> and <shellapi.h>

SeamCounts& Counts() {
  static SeamCounts counts;
  return counts;
}

namespace platform {
namespace {

DWORD Outcome(BOOL succeeded) { return succeeded ? ERROR_SUCCESS : GetLastError(); }

LONG CountKeyOpen(LONG result) {
  if (result == ERROR_SUCCESS) ++Counts().keysOpened;
  return result;
}

DWORD CountServiceOpen(SC_HANDLE handle, SC_HANDLE* result) {
  if (!handle) return GetLastError();
  ++Counts().serviceHandlesOpened;
  *result = handle;
  return ERROR_SUCCESS;
}

}  // namespace

LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result) {
  ++Counts().openKeyCalls;
  return CountKeyOpen(RegOpenKeyExA(parent, subKey, 0, access, result));
}

LONG CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition) {
  return CountKeyOpen(RegCreateKeyExA(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                      nullptr, result, disposition));
}

LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
  return RegQueryValueExA(key, name, nullptr, type, data, size);
}

LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) {
  return RegSetValueExA(key, name, 0, type, data, size);
}

LONG EnumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
               DWORD* dataSize) {
  return RegEnumValueA(key, index, name, nameLength, nullptr, type, data, dataSize);
}

LONG DeleteKey(HKEY parent, const char* subKey) { return RegDeleteKeyA(parent, subKey); }

LONG DeleteValue(HKEY key, const char* name) { return RegDeleteValueA(key, name); }

LONG CloseKey(HKEY key) {
  LONG result = RegCloseKey(key);
  if (result == ERROR_SUCCESS) ++Counts().keysClosed;
  return result;
}

DWORD OpenServiceManager(DWORD access, SC_HANDLE* manager) {
  ++Counts().managerOpenCalls;
  return CountServiceOpen(OpenSCManagerA(nullptr, nullptr, access), manager);
}

DWORD OpenServiceHandle(SC_HANDLE manager, const char* name, DWORD access, SC_HANDLE* service) {
  return CountServiceOpen(OpenServiceA(manager, name, access), service);
}

DWORD QueryServiceConfiguration(SC_HANDLE service, QUERY_SERVICE_CONFIGA* config, DWORD size,
                                DWORD* needed) {
  return Outcome(QueryServiceConfigA(service, config, size, needed));
}

DWORD ChangeServiceConfiguration(SC_HANDLE service, DWORD serviceType, DWORD startType,
                                 DWORD errorControl, const char* binaryPath,
                                 const char* loadOrderGroup, const char* dependencies,
                                 const char* account, const char* password,
                                 const char* displayName) {
  return Outcome(ChangeServiceConfigA(service, serviceType, startType, errorControl, binaryPath,
                                      loadOrderGroup, nullptr, dependencies, account, password,
                                      displayName));
}

DWORD StartServiceRequest(SC_HANDLE service) { return Outcome(StartServiceA(service, 0, nullptr)); }

DWORD SendServiceControl(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) {
  return Outcome(ControlService(service, control, status));
}

DWORD CloseService(SC_HANDLE handle) {
  DWORD result = Outcome(CloseServiceHandle(handle));
  if (result == ERROR_SUCCESS) ++Counts().serviceHandlesClosed;
  return result;
}

DWORD LookupAccount(const char* name, void* sid, DWORD* sidSize, char* domain,
                    DWORD* domainLength) {
  SID_NAME_USE use;
  return Outcome(LookupAccountNameA(nullptr, name, sid, sidSize, domain, domainLength, &use));
}

bool GetVersionRecord(OSVERSIONINFOEXA* info) {
  return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(info)) != FALSE;
}

bool LaunchProgram(SHELLEXECUTEINFOA* info) { return ShellExecuteExA(info) != FALSE; }

DWORD WaitForProcess(HANDLE process, DWORD milliseconds) {
  return WaitForSingleObject(process, milliseconds);
}

bool GetProcessExitCode(HANDLE process, DWORD* exitCode) {
  return GetExitCodeProcess(process, exitCode) != FALSE;
}

void CloseProcess(HANDLE process) { CloseHandle(process); }

void Pause(DWORD milliseconds) { Sleep(milliseconds); }

DWORD TickCount() { return GetTickCount(); }

UINT SystemFolder(char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); }

bool OpenWithShell(const char* target) {
  HINSTANCE result = ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner ? owner : GetActiveWindow(), text, caption, type);
}

std::string ProgramName() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length < MAX_PATH ? length : 0);
  name.erase(0, name.find_last_of("\\/") + 1);
  std::string::size_type dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace platform
