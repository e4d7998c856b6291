#pragma once
// The start types of the service settings, asked on a thread of its own
// while the window's libraries load and its controls are made. Under Wine
// each answer is a round trip to the service manager's process, and the tree
// cannot be built without them.

#include <windows.h>

#include "system/ServiceControl.h"

class ServiceProbe {
 public:
  ServiceProbe();  // starts asking
  ~ServiceProbe();
  ServiceProbe(const ServiceProbe&) = delete;
  ServiceProbe& operator=(const ServiceProbe&) = delete;

  // Waits for the answers and gives them to services, which must be sharing
  // one manager. Without a thread it gives none, and services asks itself.
  void HandTo(ServiceControl& services);

 private:
  static unsigned __stdcall Ask(void* probe);
  void Wait();

  HANDLE thread_ = nullptr;
  ServiceControl::StartTypes startTypes_;
};
