// A real service program for the Wine tests: it runs until it is told to
// stop. The tests register it under the names the settings disable.

#include <windows.h>

namespace {

SERVICE_STATUS_HANDLE statusHandle;
SERVICE_STATUS status;
HANDLE stopRequested;

void Report(DWORD state) {
  status.dwCurrentState = state;
  SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
  if (control == SERVICE_CONTROL_STOP) {
    Report(SERVICE_STOP_PENDING);
    SetEvent(stopRequested);
  }
  return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, char** arguments) {
  statusHandle = RegisterServiceCtrlHandlerExA(arguments[0], Handler, nullptr);
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwControlsAccepted = SERVICE_ACCEPT_STOP;
  Report(SERVICE_RUNNING);
  WaitForSingleObject(stopRequested, INFINITE);
  Report(SERVICE_STOPPED);
}

}  // namespace

int main() {
  stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  char name[] = "";
  SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
