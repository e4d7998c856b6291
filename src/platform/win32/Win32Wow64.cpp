// This 32-bit program on a 64-bit Windows (WOW64): whether it runs so, and
// the calls that reach past the redirection of the registry and of System32.
// Each is found at run time, so the exe imports nothing that 32-bit XP lacks.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {
namespace {

using IsWow64ProcessCall = BOOL(WINAPI*)(HANDLE, PBOOL);
using DisableRedirection = BOOL(WINAPI*)(PVOID*);
using RevertRedirection = BOOL(WINAPI*)(PVOID);
using DeleteKeyExCall = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);

template <class Function>
Function Find(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  return module ? reinterpret_cast<Function>(
                      reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

struct Calls {
  Wow64Support support;
  DisableRedirection disable = nullptr;
  RevertRedirection revert = nullptr;
  DeleteKeyExCall deleteKeyEx = nullptr;
};

Calls Resolve() {
  Calls calls;
  auto isWow64 = Find<IsWow64ProcessCall>("kernel32.dll", "IsWow64Process");
  BOOL wow64 = FALSE;
  // On 32-bit Windows nothing more is looked for: none of it may be used there.
  if (!isWow64 || !isWow64(GetCurrentProcess(), &wow64) || !wow64) return calls;
  calls.support.wow64 = true;
  calls.disable = Find<DisableRedirection>("kernel32.dll", "Wow64DisableWow64FsRedirection");
  calls.revert = Find<RevertRedirection>("kernel32.dll", "Wow64RevertWow64FsRedirection");
  calls.deleteKeyEx = Find<DeleteKeyExCall>("advapi32.dll", "RegDeleteKeyExA");
  calls.support.redirection = calls.disable && calls.revert;
  calls.support.deleteInView = calls.deleteKeyEx != nullptr;
  return calls;
}

const Calls& Wow64Calls() {
  static const Calls calls = Resolve();
  return calls;
}

}  // namespace

Wow64Support Wow64() { return Wow64Calls().support; }

LONG DeleteKeyInView(HKEY parent, const char* subKey, REGSAM view) {
  const Calls& calls = Wow64Calls();
  return calls.deleteKeyEx ? calls.deleteKeyEx(parent, subKey, view, 0) : ERROR_PROC_NOT_FOUND;
}

// CreateProcessA, not ShellExecuteExA: while the redirection is off, every
// DLL this thread loads comes from the 64-bit folder and fails, and the shell
// loads and delay-loads DLLs inside its call. CreateProcessA loads nothing
// into this process; the program it starts runs as a process of its own.
bool LaunchNativeProgram(const char* file, const char* parameters, const char* directory,
                         HANDLE* process) {
  const Calls& calls = Wow64Calls();
  if (!calls.support.redirection) return false;
  std::string text = std::string("\"") + file + "\" " + parameters;
  std::vector<char> commandLine(text.begin(), text.end());
  commandLine.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started = {};
  PVOID redirection = nullptr;
  if (!calls.disable(&redirection)) return false;
  BOOL launched = CreateProcessA(file, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 directory, &startup, &started);
  calls.revert(redirection);
  if (!launched) return false;
  CloseHandle(started.hThread);
  *process = started.hProcess;
  return true;
}

}  // namespace platform
