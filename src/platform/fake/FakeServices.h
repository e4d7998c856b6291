#pragma once
// An in-memory service control manager: services with their whole
// configuration record and a running state, handles that must be closed and
// carry the access they were opened with, XP's rights for a standard user,
// and Windows' own error codes.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace fake {

// Services, like accounts, programs and files, are named without regard to
// case: their names are kept and compared in lower case.
std::string Lower(std::string text);

struct FakeService {
  DWORD serviceType = SERVICE_WIN32_OWN_PROCESS;
  DWORD startType = SERVICE_DEMAND_START;
  DWORD errorControl = SERVICE_ERROR_NORMAL;
  std::string binaryPath = "C:\\WINDOWS\\system32\\svchost.exe -k netsvcs";
  std::string loadOrderGroup;
  std::vector<std::string> dependencies;
  std::string account = "LocalSystem";
  std::string displayName;
  bool running = false;
  bool refusesOpen = false;  // OpenService answers ERROR_ACCESS_DENIED
  int configurationChanges = 0;
  // The fields the last configuration change gave a new value, in order.
  std::vector<std::string> changedFields;
};

class FakeServices {
 public:
  // Without administrator rights the manager and a service open only for
  // what XP grants every interactive user: connecting, and asking a
  // service's configuration and state.
  DWORD OpenManager(DWORD access, SC_HANDLE* manager, bool administrator = true);
  DWORD OpenService(SC_HANDLE manager, const char* name, DWORD access, SC_HANDLE* service);
  DWORD QueryConfiguration(SC_HANDLE service, QUERY_SERVICE_CONFIGA* config, DWORD size,
                           DWORD* needed);
  DWORD ChangeConfiguration(SC_HANDLE service, DWORD serviceType, DWORD startType,
                            DWORD errorControl, const char* binaryPath, const char* loadOrderGroup,
                            const char* dependencies, const char* account, const char* password,
                            const char* displayName);
  DWORD Start(SC_HANDLE service);
  DWORD Control(SC_HANDLE service, DWORD control, SERVICE_STATUS* status);
  DWORD Close(SC_HANDLE handle);

  FakeService& Add(const std::string& name, const FakeService& service = FakeService());
  FakeService* Find(const std::string& name);

  bool refuseManager = false;  // OpenSCManager answers ERROR_ACCESS_DENIED
  int managerOpens = 0;
  size_t OpenHandleCount() const { return handles_.size(); }
  int BadHandleUses() const { return badHandleUses_; }

 private:
  struct Handle {
    bool isManager;
    std::string service;
    DWORD access = 0;
    bool administrator = true;
  };
  // The service of a handle opened with the access needed; *error says why not.
  FakeService* ServiceOf(SC_HANDLE handle, DWORD needed, DWORD* error);
  SC_HANDLE NewHandle(const Handle& handle);

  std::map<std::string, FakeService> services_;  // by lower-case name
  std::map<uintptr_t, Handle> handles_;
  uintptr_t nextHandle_ = 0x5000;
  int badHandleUses_ = 0;
};

}  // namespace fake
