// Who runs the program, where its reports go, and the event log.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {
namespace {

// A GUI program has no console of its own; one started from a console can
// write to its starter's, once attached.
bool WriteToParentConsole(const std::string& text) {
  static bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
  if (!attached || text.empty()) return attached;
  HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return false;
  // The text is Windows-1252; the console shows its own code page, so it
  // gets the characters, not the bytes.
  int length = MultiByteToWideChar(1252, 0, text.data(), int(text.size()), nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? length : 1);
  MultiByteToWideChar(1252, 0, text.data(), int(text.size()), wide.data(), length);
  DWORD written = 0;
  bool done = WriteConsoleW(console, wide.data(), DWORD(length), &written, nullptr) != FALSE;
  CloseHandle(console);
  return done;
}

}  // namespace

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : 0);
}

std::string UserName() {
  char name[257] = {};
  DWORD size = sizeof name;
  return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name) : std::string();
}

std::string LocalTimeText() {
  SYSTEMTIME time;
  GetLocalTime(&time);
  char text[32];
  wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
            time.wHour, time.wMinute, time.wSecond);
  return text;
}

bool IsLocalSystem() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  union {
    TOKEN_USER user;
    BYTE bytes[256];
  } info;
  DWORD size = 0;
  bool ok = GetTokenInformation(token, TokenUser, &info, sizeof info, &size) != FALSE;
  CloseHandle(token);
  if (!ok) return false;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID system = nullptr;
  if (!AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system))
    return false;
  bool same = EqualSid(info.user.User.Sid, system) != FALSE;
  FreeSid(system);
  return same;
}

bool WriteEventLogEntry(const char* source, WORD type, DWORD eventId,
                        const std::vector<std::string>& strings) {
  HANDLE log = RegisterEventSourceA(nullptr, source);
  if (!log) return false;
  std::vector<const char*> texts;
  for (const std::string& text : strings) texts.push_back(text.c_str());
  bool written = ReportEventA(log, type, 0, eventId, nullptr, WORD(texts.size()), 0,
                              texts.data(), nullptr) != FALSE;
  DeregisterEventSource(log);
  return written;
}

bool FileExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteOutput(const std::string& text) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD kind = output && output != INVALID_HANDLE_VALUE ? GetFileType(output) : FILE_TYPE_UNKNOWN;
  if (kind == FILE_TYPE_DISK || kind == FILE_TYPE_PIPE) {
    DWORD written = 0;
    return WriteFile(output, text.data(), DWORD(text.size()), &written, nullptr) &&
           written == text.size();
  }
  return WriteToParentConsole(text);
}

}  // namespace platform
