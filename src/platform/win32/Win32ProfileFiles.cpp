// Profile files through the system's own profile functions.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {
namespace {

// Paths come from the command line in the ANSI code page; what the lines
// hold is Windows-1252, as every text of the program.
constexpr UINT kTextPage = 1252;

// Zero-terminated, in a vector: a std::wstring would link the library's whole
// wide-string instantiation (about 35 KB) for these two conversions.
std::vector<wchar_t> Wide(const std::string& text, UINT page) {
  int length = MultiByteToWideChar(page, 0, text.data(), int(text.size()), nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? length + 1 : 1, L'\0');
  if (length > 0) MultiByteToWideChar(page, 0, text.data(), int(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const wchar_t* text, int length) {
  int size = WideCharToMultiByte(kTextPage, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string narrow(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(kTextPage, 0, text, length, &narrow[0], size, nullptr, nullptr);
  return narrow;
}

// A list of zero-terminated strings ending with an empty one; the system
// answers limit - 2 when the list did not fit.
bool SplitList(const std::vector<wchar_t>& buffer, DWORD copied, DWORD limit,
               std::vector<std::string>* items) {
  if (copied >= limit - 2) return false;
  for (DWORD at = 0; at < copied;) {
    DWORD end = at;
    while (end < copied && buffer[end]) ++end;
    if (end > at) items->push_back(Narrow(&buffer[at], int(end - at)));
    at = end + 1;
  }
  return true;
}

}  // namespace

std::string FullPathName(const std::string& name) {
  char path[MAX_PATH] = {};
  char* filePart = nullptr;
  DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, path, &filePart);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

DWORD ReadFileStart(const std::string& path, DWORD size, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  std::string buffer(size, '\0');
  DWORD read = 0;
  DWORD error = ReadFile(file, &buffer[0], size, &read, nullptr) ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  if (error == ERROR_SUCCESS) *bytes = buffer.substr(0, read);
  return error;
}

bool ReadProfileSectionNames(const std::string& path, DWORD limit,
                             std::vector<std::string>* names) {
  std::vector<wchar_t> buffer(limit, L'\0');
  DWORD copied = GetPrivateProfileSectionNamesW(buffer.data(), limit, Wide(path, CP_ACP).data());
  return SplitList(buffer, copied, limit, names);
}

bool ReadProfileSection(const std::string& path, const std::string& section, DWORD limit,
                        std::vector<std::string>* lines) {
  std::vector<wchar_t> buffer(limit, L'\0');
  DWORD copied = GetPrivateProfileSectionW(Wide(section, kTextPage).data(), buffer.data(), limit,
                                           Wide(path, CP_ACP).data());
  return SplitList(buffer, copied, limit, lines);
}

namespace {

// The folder a path lies in, for the new file beside it.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

DWORD WriteNewFile(const char* scratch, const std::string& bytes) {
  HANDLE file = CreateFileA(scratch, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD written = 0;
  DWORD error = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr)
                    ? (written == bytes.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT)
                    : GetLastError();
  // What the disk has not taken yet must not be lost after the replace.
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
  return error;
}

}  // namespace

DWORD WriteWholeFile(const std::string& path, const std::string& bytes) {
  char scratch[MAX_PATH] = {};
  if (!GetTempFileNameA(FolderOf(path).c_str(), "hg", 0, scratch)) return GetLastError();
  DWORD error = WriteNewFile(scratch, bytes);
  if (error == ERROR_SUCCESS &&
      !MoveFileExA(scratch, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error != ERROR_SUCCESS) DeleteFileA(scratch);
  return error;
}

}  // namespace platform
