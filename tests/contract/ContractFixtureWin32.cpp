#include "contract/ContractFixture.h"
#include "wine/WineHarness.h"

void ClearScratchKey() { RemoveKeyTree(HKEY_CURRENT_USER, kScratchKey); }

std::string ScratchFolder() {
  char folder[MAX_PATH] = {};
  DWORD length = GetTempPathA(sizeof folder, folder);
  return std::string(folder, length > 0 ? length - 1 : 0);
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  std::string path(folder, length);
  return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}

void RemoveScratchFile(const std::string& path) { DeleteFileA(path.c_str()); }

HeldOpen::HeldOpen(const std::string& path)
    : path_(path),
      handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldOpen::~HeldOpen() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool PrepareWow64Registry() {
  if (!platform::Wow64().wow64) return false;
  for (REGSAM view : {REGSAM(KEY_WOW64_64KEY), REGSAM(0)})
    for (const char* key : {"Software\\HushgateContract", "Software\\Policies\\HushgateContract"})
      platform::DeleteKey(HKEY_LOCAL_MACHINE, key, view);
  return true;
}
