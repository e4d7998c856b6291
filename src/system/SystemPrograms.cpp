// The operations of SystemAccess that launch system programs, look up the
// support account and read the Windows version.

#include <string>

#include "platform/Platform.h"
#include "system/RegistryKey.h"
#include "system/SystemAccess.h"

namespace {

const char kSupportAccount[] = "SUPPORT_388945a0";

// The full path of a program in the system directory: the tool runs with
// administrator rights, so nothing is looked up through the search path,
// where a planted copy could be found first.
bool SystemProgramPath(const char* program, std::string* path) {
  char folder[MAX_PATH];
  UINT length = platform::SystemFolder(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return false;
  *path = std::string(folder, length) + "\\" + program;
  return true;
}

// Starts the program hidden; on success the caller owns *process.
bool Launch(const char* program, const std::string& parameters, const char* directory,
            HANDLE* process) {
  std::string file;
  if (!SystemProgramPath(program, &file)) return false;
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = directory;
  info.nShow = SW_HIDE;
  if (!platform::LaunchProgram(&info)) return false;
  *process = info.hProcess;
  return true;
}

// Launches the program and always takes the whole pause, watching the
// program meanwhile so that its outcome can be reported.
bool LaunchAndPause(const char* program, const std::string& parameters, const char* directory,
                    DWORD pause) {
  DWORD start = platform::TickCount();
  HANDLE process = nullptr;
  bool succeeded = false;
  if (Launch(program, parameters, directory, &process) && process) {
    DWORD exitCode = 1;
    succeeded = platform::WaitForProcess(process, pause) == WAIT_OBJECT_0 &&
                platform::GetProcessExitCode(process, &exitCode) && exitCode == 0;
  }
  DWORD elapsed = platform::TickCount() - start;
  if (elapsed < pause) platform::Pause(pause - elapsed);
  if (process) platform::CloseProcess(process);
  return succeeded;
}

}  // namespace

// The system root is a text that ends within the bytes read; one that fills
// them all without a zero may go on beyond them, so it is not used.
bool SystemAccess::ReadSystemRoot(std::string* root) {
  RegistryKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", KEY_READ) !=
      ERROR_SUCCESS)
    return false;
  BYTE buffer[SystemAccess::kTextBufferSize];
  DWORD size = 0;
  DWORD type = 0;
  if (key.Read("SystemRoot", buffer, sizeof buffer, &size, &type) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  *root = TextUpToZero(buffer, size);
  if (root->size() == sizeof buffer) return false;
  return !root->empty();
}

namespace {

bool ReadVersion(OSVERSIONINFOEXA* info) {
  *info = OSVERSIONINFOEXA();
  info->dwOSVersionInfoSize = sizeof *info;
  return platform::GetVersionRecord(info);
}

}  // namespace

std::string SystemAccess::SystemProgramPath(const char* program) {
  std::string path;
  return ::SystemProgramPath(program, &path) ? path : std::string();
}

bool SystemAccess::RegisterComponent(const char* library) {
  return LaunchAndPause("regsvr32.exe", std::string("/s ") + library, nullptr, kRegistrationPause);
}

bool SystemAccess::UnregisterComponent(const char* library) {
  return LaunchAndPause("regsvr32.exe", std::string("/s /u ") + library, nullptr,
                        kRegistrationPause);
}

bool SystemAccess::UninstallMessenger() {
  // Without the system root there is no INF file to name: launch nothing
  // rather than a path that is empty or cut.
  std::string root;
  if (!ReadSystemRoot(&root)) return false;
  std::string parameters = "advpack.dll,LaunchINFSection " + root + "\\INF\\msmsgs.inf,BLC.Remove";
  return LaunchAndPause("RunDll32.exe", parameters, root.c_str(), kMessengerPause);
}

bool SystemAccess::DeleteSupportAccount() {
  HANDLE process = nullptr;
  if (!Launch("net.exe", std::string(" user ") + kSupportAccount + " /delete", nullptr, &process))
    return false;
  if (process) platform::CloseProcess(process);
  return true;
}

bool SystemAccess::SupportAccountExists() {
  BYTE sid[1024];
  char domain[1024];
  DWORD sidSize = sizeof sid;
  DWORD domainLength = sizeof domain;
  return platform::LookupAccount(kSupportAccount, sid, &sidSize, domain, &domainLength) ==
         ERROR_SUCCESS;
}

int SystemAccess::GetWindowsPlatform() {
  OSVERSIONINFOEXA info;
  return ReadVersion(&info) && info.wSuiteMask == VER_SUITE_SINGLEUSERTS ? 2 : -1;
}

bool SystemAccess::IsWindowsXp() {
  OSVERSIONINFOEXA info;
  return ReadVersion(&info) && info.dwMajorVersion == 5 && info.dwMinorVersion == 1;
}
