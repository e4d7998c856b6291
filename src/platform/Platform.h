#pragma once
// The seam between the program and Windows. Each call stands for one Win32
// call with the same arguments and results: it returns the Win32 error code,
// and what it does to its outputs when it fails is what Windows does. The Windows program links
// win32/; tests link fake/ (an in-memory Windows) or win32/ under Wine.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

// Registry (RegOpenKeyExA, RegCreateKeyExA, RegQueryValueExA, RegSetValueExA,
// RegEnumValueA, RegDeleteKeyA, RegDeleteValueA, RegCloseKey).
LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result);
LONG CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition);
LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size);
LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size);
LONG EnumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
               DWORD* dataSize);
// RegEnumKeyExA without class or time: the name of the subkey by its index.
LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* nameLength);
// With a view (KEY_WOW64_64KEY or KEY_WOW64_32KEY) RegDeleteKeyExA, loaded at
// run time (32-bit XP lacks it): ERROR_PROC_NOT_FOUND where it is missing.
LONG DeleteKey(HKEY parent, const char* subKey, REGSAM view = 0);
LONG DeleteValue(HKEY key, const char* name);
LONG CloseKey(HKEY key);

// Service control manager (OpenSCManagerA on the local machine's active
// database, OpenServiceA, QueryServiceConfigA, ChangeServiceConfigA without a
// tag, StartServiceA without arguments, ControlService, CloseServiceHandle).
// Each answers ERROR_SUCCESS or the code GetLastError would give.
DWORD OpenServiceManager(DWORD access, SC_HANDLE* manager);
DWORD OpenServiceHandle(SC_HANDLE manager, const char* name, DWORD access, SC_HANDLE* service);
DWORD QueryServiceConfiguration(SC_HANDLE service, QUERY_SERVICE_CONFIGA* config, DWORD size,
                                DWORD* needed);
DWORD ChangeServiceConfiguration(SC_HANDLE service, DWORD serviceType, DWORD startType,
                                 DWORD errorControl, const char* binaryPath,
                                 const char* loadOrderGroup, const char* dependencies,
                                 const char* account, const char* password,
                                 const char* displayName);
DWORD StartServiceRequest(SC_HANDLE service);
DWORD SendServiceControl(SC_HANDLE service, DWORD control, SERVICE_STATUS* status);
DWORD CloseService(SC_HANDLE handle);

// LookupAccountNameA on the local system.
DWORD LookupAccount(const char* name, void* sid, DWORD* sidSize, char* domain,
                    DWORD* domainLength);

// GetVersionExA with the extended record; false when the call fails.
bool GetVersionRecord(OSVERSIONINFOEXA* info);

// Programs: ShellExecuteExA, WaitForSingleObject on the process,
// GetExitCodeProcess, CloseHandle, Sleep and GetTickCount.
bool LaunchProgram(SHELLEXECUTEINFOA* info);
DWORD WaitForProcess(HANDLE process, DWORD milliseconds);
bool GetProcessExitCode(HANDLE process, DWORD* exitCode);
void CloseProcess(HANDLE process);
void Pause(DWORD milliseconds);
DWORD TickCount();

// On the 64-bit members of the family this 32-bit program runs under WOW64,
// where HKLM\SOFTWARE and System32 are redirected to 32-bit copies. Decided
// once per process: whether it runs so (IsWow64Process), and whether the
// calls that reach the 64-bit system from it were found. All three are
// loaded at run time: XP before SP2 lacks the first, 32-bit XP the others.
struct Wow64Support {
  bool wow64 = false;
  bool redirection = false;   // Wow64DisableWow64FsRedirection and its revert
  bool deleteInView = false;  // RegDeleteKeyExA
};
Wow64Support Wow64();

// CreateProcessA of a program of the 64-bit system folder, hidden, with the
// file system redirection switched off around that one call and on again
// at once. The full command line is the quoted file and the parameters; on
// success *process is the caller's to close. False without WOW64 or the calls.
bool LaunchNativeProgram(const char* file, const char* parameters, const char* directory,
                         HANDLE* process);

// GetSystemDirectoryA: the length written, 0 on failure, or the size needed
// (with its terminating zero) when the buffer is too small.
UINT SystemFolder(char* buffer, UINT size);

// Opens a web page or mail address with the shell's "open" verb, shown
// normally (ShellExecuteA); true when the shell took it.
bool OpenWithShell(const char* target);

// The standard message box (MessageBoxA), owned by the given window or, for
// none, by the thread's active window; returns the button pressed.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// The executable's file name without folder and extension: the caption of
// every message box.
std::string ProgramName();
// The executable's full path (GetModuleFileNameA).
std::string ProgramPath();

// Who and where: the user (GetUserNameA), the computer (GetComputerNameA),
// and the local date and time as "YYYY-MM-DD hh:mm:ss" (GetLocalTime).
std::string UserName();
std::string ComputerName();
std::string LocalTimeText();

// Whether the process runs as LocalSystem (S-1-5-18), as a computer startup
// script does: its HKEY_CURRENT_USER is that account's own, no person's.
bool IsLocalSystem();

// One entry in the Application event log under the source (RegisterEventSourceA,
// ReportEventA with the texts as its strings); true when it was written.
bool WriteEventLogEntry(const char* source, WORD type, DWORD eventId,
                        const std::vector<std::string>& strings);

// Whether a file (not a folder) is there (GetFileAttributesA).
bool FileExists(const char* path);

// The names of the files (not folders) that match a wildcard pattern such
// as "C:\\WINDOWS\\x\\gpt*.inf" (FindFirstFileA, FindNextFileA, FindClose), at
// most maxCount of them; ERROR_SUCCESS, or the error of FindFirstFileA.
DWORD ListFiles(const char* pattern, size_t maxCount, std::vector<std::string>* names);

// A whole file of at most maxSize bytes (CreateFileA, GetFileSize, ReadFile);
// false when it cannot be read or is larger.
bool ReadWholeFile(const char* path, DWORD maxSize, std::vector<BYTE>* bytes);

// NetGetJoinInformation of netapi32.dll for the local machine, loaded at the
// call so the exe imports nothing of it: 3 a domain member, 2 a workgroup,
// 0 when it cannot be told.
int JoinStatus();

// Profile files, named on the command line or in the Save dialog. Paths
// are in the ANSI code page, section lines in Windows-1252.
// GetFullPathNameA: the full path the name stands for from the current
// folder; empty when it cannot be made.
std::string FullPathName(const std::string& name);
// CreateFileA and ReadFile: up to size bytes from the start of the file; the
// Win32 error code (ERROR_SUCCESS when it was read).
DWORD ReadFileStart(const std::string& path, DWORD size, std::string* bytes);
// GetPrivateProfileSectionNamesW and GetPrivateProfileSectionW, through a
// buffer of limit characters: the names, or the section's lines as the
// system gives them. False when they do not fit.
bool ReadProfileSectionNames(const std::string& path, DWORD limit,
                             std::vector<std::string>* names);
bool ReadProfileSection(const std::string& path, const std::string& section, DWORD limit,
                        std::vector<std::string>* lines);
// The bytes written to a new file beside the path (GetTempFileNameA in its
// folder, WriteFile, FlushFileBuffers), which then takes the path's place
// (MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH): the
// file holds exactly the bytes afterwards, or on any failure is as it was,
// with the new file removed. The Win32 error code.
DWORD WriteWholeFile(const std::string& path, const std::string& bytes);

// Writes Windows-1252 text to the standard output when the program was given
// one (a file or a pipe), else to the console of the process that started it
// (in its code page); false when there is neither.
bool WriteOutput(const std::string& text);

// Whether the process's token holds the local Administrators group
// (AllocateAndInitializeSid, CheckTokenMembership); false when the check fails.
bool IsAdministrator();

// SRSetRestorePointA of srclient.dll with the event, the kind of point, the
// sequence number (for an end) and the description. The library is loaded
// from the system folder at each call, so the exe imports nothing of it
// (XP Embedded has none). ERROR_SUCCESS with *newSequence set; the status's
// error when the call returns FALSE (ERROR_INVALID_FUNCTION when it gives
// none); the loader's error when the library or the function is missing.
DWORD SetRestorePoint(DWORD eventType, DWORD pointType, int64_t sequence,
                      const char* description, int64_t* newSequence);

}  // namespace platform
