#include "app/ServiceProbe.h"

#include <process.h>

#include "engine/SettingCatalogue.h"
#include "system/ServiceControl.h"

ServiceProbe::ServiceProbe() {
  thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Ask, this, 0, nullptr));
}

ServiceProbe::~ServiceProbe() { Wait(); }

unsigned __stdcall ServiceProbe::Ask(void* parameter) {
  auto* probe = static_cast<ServiceProbe*>(parameter);
  ServiceControl services;
  ServiceControl::SharedManager oneManager(services);
  for (const SettingEntry& setting : AllSettings())
    if (setting.serviceName) services.GetServiceStartType(setting.serviceName);
  probe->startTypes_ = services.RememberedStartTypes();
  return 0;
}

void ServiceProbe::Wait() {
  if (!thread_) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

void ServiceProbe::HandTo(ServiceControl& services) {
  Wait();
  services.Remember(startTypes_);
}
