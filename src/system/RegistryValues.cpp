#include "system/RegistryValues.h"

#include "system/RegistryKey.h"

bool ReadRegistryValues(HKEY root, const char* path, std::vector<NamedValue>* values) {
  RegistryKey key;
  if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return false;
  NamedValue value;
  for (DWORD index = 0;; ++index) {
    LONG error = key.EnumValue(index, &value);
    // A value that cannot be read whole is passed over.
    if (error == ERROR_MORE_DATA) continue;
    if (error != ERROR_SUCCESS) break;
    values->push_back(value);
  }
  return true;
}

bool WriteRegistryValues(HKEY root, const char* path, REGSAM access,
                         const std::vector<NamedValue>& values) {
  RegistryKey key;
  if (key.Open(root, path, access) != ERROR_SUCCESS) return false;
  for (const NamedValue& value : values)
    key.Write(value.name.c_str(), value.type, value.data.data(), DWORD(value.data.size()));
  return true;
}
