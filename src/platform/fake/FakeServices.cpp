#include "platform/fake/FakeServices.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace fake {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

namespace {

std::vector<std::string> SplitMultiString(const char* list) {
  std::vector<std::string> items;
  for (const char* item = list; *item; item += std::strlen(item) + 1) items.push_back(item);
  return items;
}

constexpr DWORD kUserManagerAccess = SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE;
constexpr DWORD kUserServiceAccess =
    SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS | SERVICE_INTERROGATE;

}  // namespace

FakeService& FakeServices::Add(const std::string& name, const FakeService& service) {
  FakeService& added = services_[Lower(name)] = service;
  if (added.displayName.empty()) added.displayName = name;
  return added;
}

FakeService* FakeServices::Find(const std::string& name) {
  auto found = services_.find(Lower(name));
  return found == services_.end() ? nullptr : &found->second;
}

SC_HANDLE FakeServices::NewHandle(const Handle& handle) {
  uintptr_t value = nextHandle_;
  nextHandle_ += 4;
  handles_[value] = handle;
  return reinterpret_cast<SC_HANDLE>(value);
}

FakeService* FakeServices::ServiceOf(SC_HANDLE handle, DWORD needed, DWORD* error) {
  auto found = handles_.find(reinterpret_cast<uintptr_t>(handle));
  *error = ERROR_INVALID_HANDLE;
  if (found == handles_.end() || found->second.isManager) {
    ++badHandleUses_;
    return nullptr;
  }
  *error = ERROR_ACCESS_DENIED;
  if ((found->second.access & needed) != needed) return nullptr;
  *error = ERROR_SUCCESS;
  return Find(found->second.service);
}

DWORD FakeServices::OpenManager(DWORD access, SC_HANDLE* manager, bool administrator) {
  ++managerOpens;
  if (refuseManager || (!administrator && (access & ~kUserManagerAccess)))
    return ERROR_ACCESS_DENIED;
  *manager = NewHandle({true, "", access, administrator});
  return ERROR_SUCCESS;
}

DWORD FakeServices::OpenService(SC_HANDLE manager, const char* name, DWORD access,
                                SC_HANDLE* service) {
  auto found = handles_.find(reinterpret_cast<uintptr_t>(manager));
  if (found == handles_.end() || !found->second.isManager) {
    ++badHandleUses_;
    return ERROR_INVALID_HANDLE;
  }
  if (!(found->second.access & SC_MANAGER_CONNECT)) return ERROR_ACCESS_DENIED;
  FakeService* target = Find(name ? name : "");
  if (!target) return ERROR_SERVICE_DOES_NOT_EXIST;
  if (target->refusesOpen || (!found->second.administrator && (access & ~kUserServiceAccess)))
    return ERROR_ACCESS_DENIED;
  // Full access stands for every right, as Windows' mask does.
  DWORD granted = access == SERVICE_ALL_ACCESS ? 0xFFFFFFFF : access;
  *service = NewHandle({false, Lower(name), granted, found->second.administrator});
  return ERROR_SUCCESS;
}

DWORD FakeServices::QueryConfiguration(SC_HANDLE handle, QUERY_SERVICE_CONFIGA* config,
                                       DWORD size, DWORD* needed) {
  DWORD error = ERROR_SUCCESS;
  FakeService* service = ServiceOf(handle, SERVICE_QUERY_CONFIG, &error);
  if (!service) return error;
  std::string dependencies;
  for (const std::string& item : service->dependencies) dependencies += item + '\0';
  dependencies += '\0';
  const std::string* texts[] = {&service->binaryPath, &service->loadOrderGroup, &dependencies,
                                &service->account, &service->displayName};
  DWORD total = sizeof(QUERY_SERVICE_CONFIGA);
  for (const std::string* text : texts) total += DWORD(text->size() + 1);
  *needed = total;
  if (!config || size < total) return ERROR_INSUFFICIENT_BUFFER;
  // Like Windows, the texts follow the record inside the caller's buffer.
  char* cursor = reinterpret_cast<char*>(config + 1);
  char* placed[5];
  for (int i = 0; i < 5; ++i) {
    placed[i] = cursor;
    std::memcpy(cursor, texts[i]->c_str(), texts[i]->size() + 1);
    cursor += texts[i]->size() + 1;
  }
  config->dwServiceType = service->serviceType;
  config->dwStartType = service->startType;
  config->dwErrorControl = service->errorControl;
  config->lpBinaryPathName = placed[0];
  config->lpLoadOrderGroup = placed[1];
  config->dwTagId = 0;
  config->lpDependencies = placed[2];
  config->lpServiceStartName = placed[3];
  config->lpDisplayName = placed[4];
  return ERROR_SUCCESS;
}

DWORD FakeServices::ChangeConfiguration(SC_HANDLE handle, DWORD serviceType, DWORD startType,
                                        DWORD errorControl, const char* binaryPath,
                                        const char* loadOrderGroup, const char* dependencies,
                                        const char* account, const char* password,
                                        const char* displayName) {
  DWORD error = ERROR_SUCCESS;
  FakeService* service = ServiceOf(handle, SERVICE_CHANGE_CONFIG, &error);
  if (!service) return error;
  std::vector<std::string>& changed = service->changedFields;
  changed.clear();
  auto number = [&changed](DWORD value, DWORD* field, const char* label) {
    if (value == SERVICE_NO_CHANGE) return;
    *field = value;
    changed.push_back(label);
  };
  auto text = [&changed](const char* value, std::string* field, const char* label) {
    if (!value) return;
    *field = value;
    changed.push_back(label);
  };
  number(serviceType, &service->serviceType, "serviceType");
  number(startType, &service->startType, "startType");
  number(errorControl, &service->errorControl, "errorControl");
  text(binaryPath, &service->binaryPath, "binaryPath");
  text(loadOrderGroup, &service->loadOrderGroup, "loadOrderGroup");
  if (dependencies) {
    service->dependencies = SplitMultiString(dependencies);
    changed.push_back("dependencies");
  }
  text(account, &service->account, "account");
  if (password) changed.push_back("password");
  text(displayName, &service->displayName, "displayName");
  ++service->configurationChanges;
  return ERROR_SUCCESS;
}

DWORD FakeServices::Start(SC_HANDLE handle) {
  DWORD error = ERROR_SUCCESS;
  FakeService* service = ServiceOf(handle, SERVICE_START, &error);
  if (!service) return error;
  if (service->running) return ERROR_SERVICE_ALREADY_RUNNING;
  if (service->startType == SERVICE_DISABLED) return ERROR_SERVICE_DISABLED;
  service->running = true;
  return ERROR_SUCCESS;
}

DWORD FakeServices::Control(SC_HANDLE handle, DWORD control, SERVICE_STATUS* status) {
  DWORD error = ERROR_SUCCESS;
  FakeService* service = ServiceOf(handle, SERVICE_STOP, &error);
  if (!service) return error;
  if (control != SERVICE_CONTROL_STOP) return ERROR_INVALID_PARAMETER;
  if (!service->running) return ERROR_SERVICE_NOT_ACTIVE;
  service->running = false;
  *status = SERVICE_STATUS{service->serviceType, SERVICE_STOP_PENDING, 0, 0, 0, 0, 0};
  return ERROR_SUCCESS;
}

DWORD FakeServices::Close(SC_HANDLE handle) {
  if (!handles_.erase(reinterpret_cast<uintptr_t>(handle))) {
    ++badHandleUses_;
    return ERROR_INVALID_HANDLE;
  }
  return ERROR_SUCCESS;
}

}  // namespace fake
