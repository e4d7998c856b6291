#include "system/ServiceControl.h"

#include <algorithm>
#include <memory>

#include "platform/Platform.h"

namespace {

// An open service-manager or service handle, closed when it goes out of scope.
class ServiceHandle {
 public:
  ServiceHandle() = default;
  ~ServiceHandle() {
    if (handle_) platform::CloseService(handle_);
  }
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
  SC_HANDLE* Receive() { return &handle_; }
  SC_HANDLE Get() const { return handle_; }

 private:
  SC_HANDLE handle_ = nullptr;
};

}  // namespace

// The manager, opened only to connect (every operation opens its service
// through it), and one service with the access given; members close in
// reverse order, the service before the manager. The shared manager, when
// there is one, is used and left open. Open answers the Win32 error.
struct OpenedService {
  ServiceHandle ownManager;
  ServiceHandle service;

  DWORD Open(ServiceControl& control, const char* name, DWORD access) {
    SC_HANDLE manager = control.sharedManager_;
    if (!manager) {
      SC_HANDLE* into = control.sharing_ > 0 ? &control.sharedManager_ : ownManager.Receive();
      if (DWORD error = platform::OpenServiceManager(SC_MANAGER_CONNECT, into)) return error;
      manager = *into;
    }
    return platform::OpenServiceHandle(manager, name, access, service.Receive());
  }
};

namespace {

// A service's configuration record with the texts that follow it, in a buffer
// made of records (so aligned for one) and as large as the manager says.
class ServiceConfiguration {
 public:
  bool Query(SC_HANDLE service) {
    DWORD needed = 0;
    Allocate(kUsualSize);
    DWORD error = platform::QueryServiceConfiguration(service, records_.get(), size_, &needed);
    if (error == ERROR_INSUFFICIENT_BUFFER && needed > size_) {
      Allocate(needed);
      error = platform::QueryServiceConfiguration(service, records_.get(), size_, &needed);
    }
    return error == ERROR_SUCCESS;
  }
  const QUERY_SERVICE_CONFIGA& Record() const { return records_[0]; }

 private:
  static constexpr DWORD kUsualSize = 1024;

  void Allocate(DWORD size) {
    size_t count = (size + sizeof(QUERY_SERVICE_CONFIGA) - 1) / sizeof(QUERY_SERVICE_CONFIGA);
    records_.reset(new QUERY_SERVICE_CONFIGA[count]());
    size_ = size;
  }

  std::unique_ptr<QUERY_SERVICE_CONFIGA[]> records_;
  DWORD size_ = 0;
};

}  // namespace

ServiceControl::SharedManager::~SharedManager() {
  if (--services_.sharing_ > 0) return;
  services_.knownStartTypes_.clear();
  if (services_.sharedManager_) platform::CloseService(services_.sharedManager_);
  services_.sharedManager_ = nullptr;
}

DWORD ServiceControl::GetServiceStartType(const char* serviceName) {
  for (const auto& [name, known] : knownStartTypes_)
    if (name == serviceName) return known;
  OpenedService opened;
  ServiceConfiguration configuration;
  // Only Windows' own answer means missing; any other failure, and a start
  // type Windows never gives, is a service that could not be asked.
  DWORD startType = kStartTypeUnknown;
  DWORD error = opened.Open(*this, serviceName, SERVICE_QUERY_CONFIG);
  if (error == ERROR_SERVICE_DOES_NOT_EXIST)
    startType = kStartTypeMissing;
  else if (error == ERROR_SUCCESS && configuration.Query(opened.service.Get()) &&
           configuration.Record().dwStartType <= SERVICE_DISABLED)
    startType = configuration.Record().dwStartType;
  if (sharing_ > 0) knownStartTypes_.emplace_back(serviceName, startType);
  return startType;
}

void ServiceControl::Remember(const StartTypes& startTypes) {
  if (sharing_ > 0)
    knownStartTypes_.insert(knownStartTypes_.end(), startTypes.begin(), startTypes.end());
}

bool ServiceControl::SetServiceStartType(DWORD startType, const char* serviceName) {
  knownStartTypes_.erase(std::remove_if(knownStartTypes_.begin(), knownStartTypes_.end(),
                                        [&](const auto& known) { return known.first == serviceName; }),
                         knownStartTypes_.end());
  OpenedService opened;
  ServiceConfiguration configuration;
  // The query tells whether the service can be reached; its record is not
  // written back, since the ANSI texts would replace every character outside
  // the code page in the display name and program path.
  if (opened.Open(*this, serviceName, SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG) !=
          ERROR_SUCCESS ||
      !configuration.Query(opened.service.Get()))
    return false;
  return platform::ChangeServiceConfiguration(opened.service.Get(), SERVICE_NO_CHANGE, startType,
                                              SERVICE_NO_CHANGE, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool ServiceControl::StartServiceByName(const char* serviceName) {
  OpenedService opened;
  return opened.Open(*this, serviceName, SERVICE_START) == ERROR_SUCCESS &&
         platform::StartServiceRequest(opened.service.Get()) == ERROR_SUCCESS;
}

bool ServiceControl::StopServiceByName(const char* serviceName) {
  OpenedService opened;
  SERVICE_STATUS status = {};
  return opened.Open(*this, serviceName, SERVICE_STOP) == ERROR_SUCCESS &&
         platform::SendServiceControl(opened.service.Get(), SERVICE_CONTROL_STOP, &status) ==
             ERROR_SUCCESS;
}
