#pragma once
// The four service operations. Each opens the service control manager and the
// service with only the rights it needs (a query what XP grants every
// interactive user, a change what only administrators have), and closes both
// before it returns, unless a SharedManager is alive:
// then they share the one manager it opened on first use, and each service's
// start type is asked once.

#include <string>
#include <utility>
#include <vector>

#include "platform/WinTypes.h"

// What GetServiceStartType answers besides Windows' 0 to 4: the service
// does not exist, or it could not be asked (the manager or the service
// refused, its configuration did not read). The second says nothing about
// whether it exists or runs.
constexpr DWORD kStartTypeMissing = 5;
constexpr DWORD kStartTypeUnknown = 6;

class ServiceControl {
 public:
  // While one lives, the operations share one manager, closed when the last
  // one ends, and a start type read is remembered until it is set. Under
  // Wine each call is a round trip to another process, and building and
  // refreshing the tree ask the same services in a row.
  class SharedManager {
   public:
    explicit SharedManager(ServiceControl& services) : services_(services) { ++services_.sharing_; }
    ~SharedManager();
    SharedManager(const SharedManager&) = delete;
    SharedManager& operator=(const SharedManager&) = delete;

   private:
    ServiceControl& services_;
  };

  ServiceControl() = default;
  ServiceControl(const ServiceControl&) = delete;
  ServiceControl& operator=(const ServiceControl&) = delete;
  virtual ~ServiceControl() = default;

  DWORD GetServiceStartType(const char* serviceName);
  // Changes only the start type; nothing else of the service is passed.
  bool SetServiceStartType(DWORD startType, const char* serviceName);
  bool StartServiceByName(const char* serviceName);
  bool StopServiceByName(const char* serviceName);

  // The start types remembered while a SharedManager lives, and ones asked
  // by another ServiceControl (on another thread) taken as if asked here.
  using StartTypes = std::vector<std::pair<std::string, DWORD>>;
  const StartTypes& RememberedStartTypes() const { return knownStartTypes_; }
  void Remember(const StartTypes& startTypes);

 private:
  friend struct OpenedService;
  int sharing_ = 0;
  SC_HANDLE sharedManager_ = nullptr;
  StartTypes knownStartTypes_;
};
