#pragma once
// Runs hushgate.exe as its own process under Wine and looks at it from
// outside: the message boxes it shows (read and answered here), its exit
// status, and the registry it leaves.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct SeenMessageBox {
  std::string caption;
  std::string text;
  std::vector<int> buttons;  // ids of the push buttons it offers
};

struct RunResult {
  DWORD exitCode = 0xdeadbeef;
  bool timedOut = false;
  std::vector<SeenMessageBox> messageBoxes;
};

// The program under test, from the HUSHGATE_EXE environment variable.
std::string HushgateExe();

// Starts hushgate.exe with the arguments (appended verbatim after the quoted
// program path), answers each message box it shows with the button that
// `answer` picks, and waits for it to end.
RunResult RunHushgate(const std::string& arguments,
                      const std::function<int(const SeenMessageBox&)>& answer = nullptr,
                      DWORD timeoutMs = 60000, const char* workingDirectory = nullptr);

// Runs hushgate.exe with its standard output written to a file, as a batch
// file's "> bericht.txt" does, and puts what it wrote into *output; returns
// the exit status, -1 when it hung.
int RunWithOutput(const std::string& arguments, std::string* output);
// The same for any program, by its whole command line.
int RunProgramWithOutput(std::string commandLine, std::string* output);

// A file built beside the running test program (helper programs, libraries).
std::string BesideTestProgram(const std::string& file);
std::string FolderOf(const std::string& path);
std::string SystemFolderPath();
bool FileExists(const std::string& path);

// Creates every key the registry settings write into (they never create
// them themselves), as an installed system has them.
void CreateSettingKeys();

// A service as the service control manager reports it.
struct ServiceSnapshot {
  bool found = false;
  DWORD startType = 0;
  DWORD state = 0;
  std::string binaryPath;
  std::string displayName;
  std::string dependencies;  // the list with its zero separators
};
ServiceSnapshot ReadService(const std::string& name);
// Registers the name (or re-points an existing service of that name) to the
// given program, on demand, and starts it; true when it runs.
bool InstallRunningService(const std::string& name, const std::string& binaryPath);
// Waits until the service reaches the state; true when it did.
bool WaitForServiceState(const std::string& name, DWORD state, DWORD timeoutMs = 10000);

// Registry access from outside the program.
std::optional<std::string> DescribeRegistryValue(HKEY root, const std::string& path,
                                                 const std::string& name);
std::string Describe(HKEY root, const std::string& path, const std::string& name);
bool KeyExists(HKEY root, const std::string& path);
void CreateRegistryKey(HKEY root, const std::string& path);
void PutNumber(HKEY root, const std::string& path, const std::string& name, DWORD number);
void PutString(HKEY root, const std::string& path, const std::string& name,
               const std::string& text);
void RemoveValue(HKEY root, const std::string& path, const std::string& name);
void RemoveKeyTree(HKEY root, const std::string& path);
