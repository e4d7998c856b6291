// The operations of SystemAccess that launch system programs, look up the
// support account and read the Windows version.

#include <string>

#include "platform/Platform.h"
#include "system/RegistryKey.h"
#include "system/SystemAccess.h"

namespace {

const char kRegistrar[] = "regsvr32.exe";
constexpr DWORD kRegistrationPause = 3000;
constexpr DWORD kInstallerPause = 10000;

// Starts the program hidden; on success the caller owns *process.
bool Launch(const ProgramLaunch& launch, const char* directory, HANDLE* process) {
  std::string file = SystemAccess::SystemProgramPath(launch.program);
  if (file.empty()) return false;
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = file.c_str();
  info.lpParameters = launch.parameters.c_str();
  info.lpDirectory = directory;
  info.nShow = SW_HIDE;
  if (!platform::LaunchProgram(&info)) return false;
  *process = info.hProcess;
  return true;
}

// Launches the program and always takes the whole pause, watching the
// program meanwhile so that its outcome can be reported.
bool LaunchAndPause(const ProgramLaunch& launch, const char* directory = nullptr) {
  DWORD start = platform::TickCount();
  HANDLE process = nullptr;
  bool succeeded = false;
  if (Launch(launch, directory, &process) && process) {
    DWORD exitCode = 1;
    succeeded = platform::WaitForProcess(process, launch.pause) == WAIT_OBJECT_0 &&
                platform::GetProcessExitCode(process, &exitCode) && exitCode == 0;
  }
  DWORD elapsed = platform::TickCount() - start;
  if (elapsed < launch.pause) platform::Pause(launch.pause - elapsed);
  if (process) platform::CloseProcess(process);
  return succeeded;
}

bool ReadVersion(OSVERSIONINFOEXA* info) {
  *info = OSVERSIONINFOEXA();
  info->dwOSVersionInfoSize = sizeof *info;
  return platform::GetVersionRecord(info);
}

}  // namespace

// The full path of a program in the system directory: the tool runs with
// administrator rights, so nothing is looked up through the search path,
// where a planted copy could be found first.
std::string SystemAccess::SystemProgramPath(const char* program) {
  char folder[MAX_PATH];
  UINT length = platform::SystemFolder(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return std::string();
  return std::string(folder, length) + "\\" + program;
}

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

ProgramLaunch SystemAccess::ComponentRemoval(const char* library) {
  return {kRegistrar, std::string("/s /u ") + library, kRegistrationPause};
}

ProgramLaunch SystemAccess::MessengerRemoval(const std::string& systemRoot) {
  return {"RunDll32.exe",
          "advpack.dll,LaunchINFSection " + systemRoot + "\\INF\\msmsgs.inf,BLC.Remove",
          kInstallerPause};
}

ProgramLaunch SystemAccess::SupportAccountRemoval() {
  return {"net.exe", std::string(" user ") + kSupportAccount + " /delete", 0};
}

bool SystemAccess::RegisterComponent(const char* library) {
  return LaunchAndPause({kRegistrar, std::string("/s ") + library, kRegistrationPause});
}

bool SystemAccess::UnregisterComponent(const char* library) {
  return LaunchAndPause(ComponentRemoval(library));
}

bool SystemAccess::UninstallMessenger() {
  // Without the system root there is no INF file to name: launch nothing
  // rather than a path that is empty or cut.
  std::string root;
  if (!ReadSystemRoot(&root)) return false;
  return LaunchAndPause(MessengerRemoval(root), root.c_str());
}

bool SystemAccess::DeleteSupportAccount() {
  HANDLE process = nullptr;
  if (!Launch(SupportAccountRemoval(), nullptr, &process)) return false;
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
