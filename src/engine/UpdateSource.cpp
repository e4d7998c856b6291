#include "engine/UpdateSource.h"

#include <vector>

#include "system/RegistryValues.h"
#include "system/SystemAccess.h"

namespace {

// Below HKLM: a key that must exist, or a value that must be there (and be
// the number 1, where one is given).
struct UpdateSourceMark {
  const char* path;
  const char* value;  // nullptr: the key alone
  bool mustBeOne;
};

const UpdateSourceMark kMarks[] = {
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Legacy Update", nullptr, false},
    {"Software\\Hashbang Productions\\Legacy Update", nullptr, false},
    {"Software\\Policies\\Microsoft\\Windows\\WindowsUpdate", "WUServer", false},
    {"System\\WPA\\PosReady", "Installed", true},
};

bool IsOne(SystemAccess& system, const char* path, const char* name) {
  DWORD type = 0;
  DWORD number = 0;
  std::vector<BYTE> data;
  return system.ReadRegistryValue(HKEY_LOCAL_MACHINE, path, name, &type, &data) &&
         DecodeNumber(type, data, &number) && number == 1;
}

bool IsMarked(SystemAccess& system, const UpdateSourceMark& mark) {
  if (!mark.value) return system.RegistryKeyExists(HKEY_LOCAL_MACHINE, mark.path);
  if (mark.mustBeOne) return IsOne(system, mark.path, mark.value);
  return system.RegistryValueExists(HKEY_LOCAL_MACHINE, mark.path, mark.value);
}

}  // namespace

bool GetsUpdatesThroughService(SystemAccess& system) {
  for (const UpdateSourceMark& mark : kMarks)
    if (IsMarked(system, mark)) return true;
  return false;
}

bool StopsUpdatesHere(SystemAccess& system, const SettingEntry& setting) {
  return setting.updatesNoteId && GetsUpdatesThroughService(system);
}

bool IsRecommendedHere(SystemAccess& system, const SettingEntry& setting) {
  return setting.recommended && !StopsUpdatesHere(system, setting);
}
