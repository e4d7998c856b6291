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
  bool all = true;
  for (const NamedValue& value : values)
    all &= key.Write(value.name.c_str(), value.type, value.data.data(),
                     DWORD(value.data.size())) == ERROR_SUCCESS;
  return all;
}

bool ReadRegistrySubKeys(HKEY root, const char* path, std::vector<std::string>* names) {
  RegistryKey key;
  if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return false;
  std::string name;
  for (DWORD index = 0; key.EnumSubKey(index, &name) == ERROR_SUCCESS; ++index)
    names->push_back(name);
  return true;
}

bool CreateRegistryKey(HKEY root, const char* path) {
  RegistryKey key;
  return key.Create(root, path, KEY_WRITE) == ERROR_SUCCESS;
}

bool RegistryKeyExists(HKEY root, const char* path) {
  RegistryKey key;
  return key.Open(root, path, KEY_READ) == ERROR_SUCCESS;
}

bool DeleteRegistryTree(HKEY root, const char* path) {
  // Windows XP deletes only keys without subkeys: the leaves go first. The
  // depth is bounded so that a key that keeps growing cannot hold us.
  constexpr int kMaxDepth = 32;
  struct Walk {
    static bool Delete(HKEY root, const std::string& path, int depth) {
      std::vector<std::string> children;
      if (!ReadRegistrySubKeys(root, path.c_str(), &children)) return !RegistryKeyExists(root, path.c_str());
      if (depth >= kMaxDepth) return false;
      for (const std::string& child : children) Delete(root, path + "\\" + child, depth + 1);
      size_t last = path.rfind('\\');
      RegistryKey parent;
      LONG error = last == std::string::npos
                       ? parent.Open(root, "", KEY_ALL_ACCESS)
                       : parent.Open(root, path.substr(0, last).c_str(), KEY_ALL_ACCESS);
      if (error == ERROR_SUCCESS)
        parent.DeleteSubKey(last == std::string::npos ? path.c_str() : path.c_str() + last + 1);
      return !RegistryKeyExists(root, path.c_str());
    }
  };
  return Walk::Delete(root, path, 0);
}
