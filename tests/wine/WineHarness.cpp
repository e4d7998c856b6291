#include "wine/WineHarness.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "common/DescribeValue.h"
#include "common/SettingKeyPaths.h"

namespace {

constexpr int kMessageBoxTextId = 65535;  // Wine's static holding the text

std::string ControlText(HWND control) {
  char text[2048] = {};
  SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindDialogOfProcess(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  char className[64] = {};
  GetClassNameA(hwnd, className, sizeof className);
  if (owner == search->processId && IsWindowVisible(hwnd) &&
      std::string(className) == "#32770") {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

SeenMessageBox Read(HWND box) {
  SeenMessageBox seen;
  seen.caption = ControlText(box);
  seen.text = ControlText(GetDlgItem(box, kMessageBoxTextId));
  for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
    if (HWND button = GetDlgItem(box, id); button && IsWindowVisible(button))
      seen.buttons.push_back(id);
  return seen;
}

}  // namespace

std::string HushgateExe() {
  const char* path = std::getenv("HUSHGATE_EXE");
  return path ? path : "hushgate.exe";
}

RunResult RunHushgate(const std::string& arguments,
                      const std::function<int(const SeenMessageBox&)>& answer, DWORD timeoutMs,
                      const char* workingDirectory) {
  RunResult result;
  std::string commandLine = "\"" + HushgateExe() + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory, &startup, &process))
    return result;
  DWORD waited = 0;
  while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
    waited += 50;
    if (waited > timeoutMs) {
      TerminateProcess(process.hProcess, 0xdead);
      WaitForSingleObject(process.hProcess, 5000);
      result.timedOut = true;
      break;
    }
    Search search{process.dwProcessId, nullptr};
    EnumWindows(FindDialogOfProcess, reinterpret_cast<LPARAM>(&search));
    if (!search.found) continue;
    SeenMessageBox seen = Read(search.found);
    result.messageBoxes.push_back(seen);
    int button = answer ? answer(seen) : (seen.buttons.empty() ? IDOK : seen.buttons.front());
    PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.found, button)));
    // Give the box time to close before looking again.
    for (int i = 0; i < 100 && IsWindow(search.found) && IsWindowVisible(search.found); ++i)
      Sleep(20);
  }
  GetExitCodeProcess(process.hProcess, &result.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

int RunWithOutput(const std::string& arguments, std::string* output) {
  return RunProgramWithOutput("\"" + HushgateExe() + "\" " + arguments, output);
}

int RunProgramWithOutput(std::string commandLine, std::string* output) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  std::string file = std::string(folder) + "hushgate-output.txt";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION process = {};
  DWORD status = DWORD(-1);
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &status);
    else
      TerminateProcess(process.hProcess, 0xdead);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  std::ifstream read(file, std::ios::binary);
  output->assign(std::istreambuf_iterator<char>(read), std::istreambuf_iterator<char>());
  return int(status);
}

std::optional<std::string> DescribeRegistryValue(HKEY root, const std::string& path,
                                                 const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::string> text;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<unsigned char> bytes(size + 1);
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, bytes.data(), &size) ==
        ERROR_SUCCESS) {
      bytes.resize(size);
      text = DescribeValue(type, bytes);
    }
  }
  RegCloseKey(key);
  return text;
}

std::string Describe(HKEY root, const std::string& path, const std::string& name) {
  return DescribeRegistryValue(root, path, name).value_or("missing");
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void CreateRegistryKey(HKEY root, const std::string& path) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) == ERROR_SUCCESS)
    RegCloseKey(key);
}

void PutNumber(HKEY root, const std::string& path, const std::string& name, DWORD number) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
  RegCloseKey(key);
}

void PutString(HKEY root, const std::string& path, const std::string& name,
               const std::string& text) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 DWORD(text.size() + 1));
  RegCloseKey(key);
}

void RemoveValue(HKEY root, const std::string& path, const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

void RemoveKeyTree(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char name[256];
  DWORD length = sizeof name;
  while (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS) {
    RemoveKeyTree(key, name);
    length = sizeof name;
  }
  RegCloseKey(key);
  RegDeleteKeyA(root, path.c_str());
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of("\\/"));
}

std::string BesideTestProgram(const std::string& file) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return FolderOf(path) + "\\" + file;
}

std::string SystemFolderPath() {
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// The manager and a service, closed on every path.
struct OpenedService {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = nullptr;
  explicit OpenedService(const std::string& name) {
    if (manager) service = OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS);
  }
  ~OpenedService() {
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
  }
};

}  // namespace

ServiceSnapshot ReadService(const std::string& name) {
  ServiceSnapshot snapshot;
  OpenedService opened(name);
  if (!opened.service) return snapshot;
  DWORD needed = 0;
  QueryServiceConfigA(opened.service, nullptr, 0, &needed);
  std::vector<QUERY_SERVICE_CONFIGA> buffer(needed / sizeof(QUERY_SERVICE_CONFIGA) + 1);
  SERVICE_STATUS status = {};
  if (!QueryServiceConfigA(opened.service, buffer.data(),
                           DWORD(buffer.size() * sizeof(QUERY_SERVICE_CONFIGA)), &needed) ||
      !QueryServiceStatus(opened.service, &status))
    return snapshot;
  const QUERY_SERVICE_CONFIGA& config = buffer[0];
  snapshot.found = true;
  snapshot.startType = config.dwStartType;
  snapshot.state = status.dwCurrentState;
  snapshot.binaryPath = config.lpBinaryPathName ? config.lpBinaryPathName : "";
  snapshot.displayName = config.lpDisplayName ? config.lpDisplayName : "";
  for (const char* item = config.lpDependencies; item && *item; item += strlen(item) + 1)
    snapshot.dependencies += std::string(item) + '\0';
  return snapshot;
}

bool InstallRunningService(const std::string& name, const std::string& binaryPath) {
  std::string display = "Hushgate test " + name;
  {
    OpenedService opened(name);
    if (!opened.manager) return false;
    if (opened.service) {
      SERVICE_STATUS status;
      ControlService(opened.service, SERVICE_CONTROL_STOP, &status);
      ChangeServiceConfigA(opened.service, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                           SERVICE_ERROR_NORMAL, binaryPath.c_str(), nullptr, nullptr, "",
                           nullptr, nullptr, display.c_str());
    } else {
      SC_HANDLE created = CreateServiceA(
          opened.manager, name.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
          SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
          binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
      if (!created) return false;
      CloseServiceHandle(created);
    }
  }
  WaitForServiceState(name, SERVICE_STOPPED);
  OpenedService opened(name);
  if (!opened.service) return false;
  StartServiceA(opened.service, 0, nullptr);
  return WaitForServiceState(name, SERVICE_RUNNING);
}

bool WaitForServiceState(const std::string& name, DWORD state, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 100) {
    if (ReadService(name).state == state) return true;
    Sleep(100);
  }
  return false;
}

void CreateSettingKeys() {
  for (const char* path : kUserSettingKeys) CreateRegistryKey(HKEY_CURRENT_USER, path);
  for (const char* path : kMachineSettingKeys) CreateRegistryKey(HKEY_LOCAL_MACHINE, path);
  CreateRegistryKey(HKEY_USERS, kDefaultUserPolicies);
}
