#pragma once
// The four service operations. No state: each call opens the service control
// manager and the service afresh and closes both before it returns.

#include "platform/WinTypes.h"

// What GetServiceStartType answers when the manager, the service or its
// configuration cannot be reached; Windows uses 0 to 4.
constexpr DWORD kStartTypeUnavailable = 5;

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;

  DWORD GetServiceStartType(const char* serviceName);
  // Changes only the start type; nothing else of the service is passed.
  bool SetServiceStartType(DWORD startType, const char* serviceName);
  bool StartServiceByName(const char* serviceName);
  bool StopServiceByName(const char* serviceName);
};
