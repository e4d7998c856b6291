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
                      DWORD timeoutMs = 60000);

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
