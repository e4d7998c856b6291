// Files the program reads but never writes, and whether the machine is a
// domain member.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {

DWORD ListFiles(const char* pattern, size_t maxCount, std::vector<std::string>* names) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError();
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && names->size() < maxCount)
      names->push_back(found.cFileName);
  } while (names->size() < maxCount && FindNextFileA(search, &found));
  FindClose(search);
  return ERROR_SUCCESS;
}

bool ReadWholeFile(const char* path, DWORD maxSize, std::vector<BYTE>* bytes) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  DWORD size = GetFileSize(file, &high);
  bool read = false;
  if (size != INVALID_FILE_SIZE && high == 0 && size <= maxSize) {
    bytes->assign(size, 0);
    DWORD got = 0;
    read = size == 0 || (ReadFile(file, bytes->data(), size, &got, nullptr) && got == size);
  }
  CloseHandle(file);
  return read;
}

int JoinStatus() {
  using JoinInformation = DWORD(WINAPI*)(const wchar_t*, wchar_t**, int*);
  using FreeBuffer = DWORD(WINAPI*)(void*);
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return 0;
  HMODULE library = LoadLibraryA((std::string(folder, length) + "\\netapi32.dll").c_str());
  if (!library) return 0;
  auto join = reinterpret_cast<JoinInformation>(
      reinterpret_cast<void*>(GetProcAddress(library, "NetGetJoinInformation")));
  auto free = reinterpret_cast<FreeBuffer>(
      reinterpret_cast<void*>(GetProcAddress(library, "NetApiBufferFree")));
  int status = 0;
  wchar_t* name = nullptr;
  if (join && free && join(nullptr, &name, &status) == 0) {
    free(name);
  } else {
    status = 0;
  }
  FreeLibrary(library);
  return status;
}

}  // namespace platform
