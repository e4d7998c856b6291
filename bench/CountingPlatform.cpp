// The real Win32 seam with the opens and closes of registry keys and service
// handles counted. The seam's own sources are built a second time for this
// program with these six functions renamed (see CMakeLists.txt); the
// functions here take their names and forward to them.

#include "CountingPlatform.h"

#include "CountedFunctions.h"
#include "platform/Platform.h"
#include "CountedFunctions.h"

SeamCounts& Counts() {
  static SeamCounts counts;
  return counts;
}

namespace platform {
namespace {

template <class Result>
Result CountOpen(Result result, int& opened) {
  if (result == ERROR_SUCCESS) ++opened;
  return result;
}

}  // namespace

LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result) {
  ++Counts().openKeyCalls;
  return CountOpen(RealOpenKey(parent, subKey, access, result), Counts().keysOpened);
}

LONG CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition) {
  return CountOpen(RealCreateKey(parent, subKey, access, result, disposition), Counts().keysOpened);
}

LONG CloseKey(HKEY key) { return CountOpen(RealCloseKey(key), Counts().keysClosed); }

DWORD OpenServiceManager(DWORD access, SC_HANDLE* manager) {
  ++Counts().managerOpenCalls;
  return CountOpen(RealOpenServiceManager(access, manager), Counts().serviceHandlesOpened);
}

DWORD OpenServiceHandle(SC_HANDLE manager, const char* name, DWORD access, SC_HANDLE* service) {
  return CountOpen(RealOpenServiceHandle(manager, name, access, service),
                   Counts().serviceHandlesOpened);
}

DWORD CloseService(SC_HANDLE handle) {
  return CountOpen(RealCloseService(handle), Counts().serviceHandlesClosed);
}

}  // namespace platform
