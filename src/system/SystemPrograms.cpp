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

// Starts the program hidden; on success the caller owns *process. The
// native one is the 64-bit program of that name, under WOW64.
bool Launch(const ProgramLaunch& launch, const char* directory, bool native, HANDLE* process) {
  std::string file = SystemAccess::SystemProgramPath(launch.program);
  if (file.empty()) return false;
  if (native)
    return platform::LaunchNativeProgram(file.c_str(), launch.parameters.c_str(), directory,
                                         process);
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
bool LaunchAndPause(const ProgramLaunch& launch, const char* directory, bool native) {
  DWORD start = platform::TickCount();
  HANDLE process = nullptr;
  bool succeeded = false;
  if (Launch(launch, directory, native, &process) && process) {
    DWORD exitCode = 1;
    succeeded = platform::WaitForProcess(process, launch.pause) == WAIT_OBJECT_0 &&
                platform::GetProcessExitCode(process, &exitCode) && exitCode == 0;
  }
  DWORD elapsed = platform::TickCount() - start;
  if (elapsed < launch.pause) platform::Pause(launch.pause - elapsed);
  if (process) platform::CloseProcess(process);
  return succeeded;
}

// A component of both widths: on a 64-bit Windows the 64-bit program does
// for the 64-bit system what the 32-bit one did for the 32-bit part. Where
// it cannot be started the change is not done.
bool LaunchEachWidth(const ProgramLaunch& launch, const char* directory = nullptr) {
  bool done = LaunchAndPause(launch, directory, false);
  const platform::Wow64Support wow64 = platform::Wow64();
  if (wow64.wow64) done = wow64.redirection && LaunchAndPause(launch, directory, true) && done;
  return done;
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
  return LaunchEachWidth({kRegistrar, std::string("/s ") + library, kRegistrationPause});
}

bool SystemAccess::UnregisterComponent(const char* library) {
  return LaunchEachWidth(ComponentRemoval(library));
}

bool SystemAccess::UninstallMessenger() {
  // Without the system root there is no INF file to name: launch nothing
  // rather than a path that is empty or cut.
  std::string root;
  if (!ReadSystemRoot(&root)) return false;
  return LaunchEachWidth(MessengerRemoval(root), root.c_str());
}

bool SystemAccess::DeleteSupportAccount() {
  HANDLE process = nullptr;
  if (!Launch(SupportAccountRemoval(), nullptr, false, &process)) return false;
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

// Server 2003 is 5.2 as well, but a server; and only the 64-bit edition of
// XP is 5.2, so it is the one that runs this program under WOW64.
bool SystemAccess::IsWindowsXpX64() {
  OSVERSIONINFOEXA info;
  return ReadVersion(&info) && info.dwMajorVersion == 5 && info.dwMinorVersion == 2 &&
         info.wProductType == VER_NT_WORKSTATION && IsWow64();
}

bool SystemAccess::IsWow64() { return platform::Wow64().wow64; }

bool SystemAccess::CanLaunchNativePrograms() {
  const platform::Wow64Support wow64 = platform::Wow64();
  return !wow64.wow64 || wow64.redirection;
}

bool SystemAccess::CanDeleteNativeKeys() {
  const platform::Wow64Support wow64 = platform::Wow64();
  return !wow64.wow64 || wow64.deleteInView;
}
