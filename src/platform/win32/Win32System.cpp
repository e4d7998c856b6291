#include "platform/Platform.h"

namespace platform {
namespace {

DWORD Outcome(BOOL succeeded) { return succeeded ? ERROR_SUCCESS : GetLastError(); }

}  // namespace

DWORD OpenServiceManager(DWORD access, SC_HANDLE* manager) {
  SC_HANDLE handle = OpenSCManagerA(nullptr, nullptr, access);
  if (handle) *manager = handle;
  return Outcome(handle != nullptr);
}

DWORD OpenServiceHandle(SC_HANDLE manager, const char* name, DWORD access, SC_HANDLE* service) {
  SC_HANDLE handle = OpenServiceA(manager, name, access);
  if (handle) *service = handle;
  return Outcome(handle != nullptr);
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

DWORD CloseService(SC_HANDLE handle) { return Outcome(CloseServiceHandle(handle)); }

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

}  // namespace platform
