#include "system/SystemAccess.h"

#include <cstring>
#include <string>

#include "platform/Platform.h"
#include "system/RegistryKey.h"
#include "system/RegistryText.h"

namespace {

bool IsKeyAbsent(HKEY root, const char* path, RegistryView view) {
  RegistryKey key;
  return key.Open(root, path, KEY_READ, view) == ERROR_FILE_NOT_FOUND;
}

// Windows XP deletes only keys without subkeys: the leaves go first. The
// depth is bounded so that a key that keeps growing cannot hold us.
bool DeleteTree(SystemAccess& system, HKEY root, const std::string& path, int depth,
                RegistryView view) {
  constexpr int kMaxDepth = 32;
  std::vector<std::string> children;
  if (!system.ReadRegistrySubKeys(root, path.c_str(), &children, view))
    return !system.RegistryKeyExists(root, path.c_str(), view);
  if (depth >= kMaxDepth) return false;
  for (const std::string& child : children)
    DeleteTree(system, root, path + '\\' + child, depth + 1, view);
  // A key right below the root has the root itself ("") as its parent.
  size_t last = path.rfind('\\');
  if (last == std::string::npos)
    system.DeleteRegistryKey(root, "", path.c_str(), view);
  else
    system.DeleteRegistryKey(root, path.substr(0, last).c_str(), path.c_str() + last + 1, view);
  return !system.RegistryKeyExists(root, path.c_str(), view);
}

const char kVersionVector[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector";
const char kMediaPlayerSetup[] =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{6BF52A52-394A-11d3-B153-00C04F79FAA6}";

// A REG_SZ value that fits the text buffer, up to its first zero.
bool ReadShortText(const RegistryKey& key, const char* name, std::string* text) {
  BYTE buffer[SystemAccess::kTextBufferSize] = {};
  DWORD size = 0;
  DWORD type = 0;
  if (key.Read(name, buffer, sizeof buffer, &size, &type) != ERROR_SUCCESS || type != REG_SZ)
    return false;
  *text = TextUpToZero(buffer, size);
  return true;
}

// The number 1 stored as a REG_DWORD of four bytes, and nothing else.
bool ReadsAsOne(const RegistryKey& key, const char* name) {
  BYTE buffer[4] = {};
  DWORD size = 0;
  DWORD type = 0;
  return key.Read(name, buffer, sizeof buffer, &size, &type) == ERROR_SUCCESS &&
         type == REG_DWORD && size == 4 && buffer[0] == 1 && !buffer[1] && !buffer[2] && !buffer[3];
}

}  // namespace

bool SystemAccess::WriteRegistryValue(HKEY root, const char* path, const char* name,
                                      const void* data, DWORD type, DWORD size,
                                      RegistryView view) {
  RegistryKey key;
  if (key.Open(root, path, KEY_ALL_ACCESS, view) != ERROR_SUCCESS) return false;
  return key.Write(name, type, data, size) == ERROR_SUCCESS;
}

int SystemAccess::CompareRegistryValue(HKEY root, const char* path, const char* name, int kind,
                                       DWORD expectedNumber, const char* expectedText,
                                       RegistryView view) {
  RegistryKey key;
  if (key.Open(root, path, KEY_READ, view) != ERROR_SUCCESS) return kValueUnreadable;
  if (kind == kKindText || kind == kKindBinary) {
    BYTE buffer[kTextBufferSize] = {};
    DWORD size = 0;
    if (key.Read(name, buffer, sizeof buffer, &size) != ERROR_SUCCESS) return kValueUnreadable;
    if (!expectedText) return kValueDiffers;
    return TextUpToZero(buffer, size) == expectedText ? kValueEquals : kValueDiffers;
  }
  if (kind == kKindNumber) {
    BYTE buffer[4] = {};
    DWORD size = 0;
    if (key.Read(name, buffer, sizeof buffer, &size) != ERROR_SUCCESS) return kValueUnreadable;
    // A shorter value reads as its bytes with zeros after them, as Windows
    // leaves the rest of the buffer: whatever its type, the number it holds.
    DWORD number = 0;
    DecodeNumber(REG_DWORD, buffer, sizeof buffer, &number);
    return number == expectedNumber ? kValueEquals : kValueDiffers;
  }
  return kValueDiffers;
}

bool SystemAccess::ReadRegistryValue(HKEY root, const char* path, const char* name, DWORD* type,
                                     std::vector<BYTE>* data, RegistryView view) {
  RegistryKey key;
  return key.Open(root, path, KEY_READ, view) == ERROR_SUCCESS &&
         key.ReadWhole(name, type, data) == ERROR_SUCCESS;
}

bool SystemAccess::DeleteRegistryKey(HKEY root, const char* parentPath, const char* subKey,
                                     RegistryView view) {
  RegistryKey parent;
  if (parent.Open(root, parentPath, KEY_ALL_ACCESS, view) != ERROR_SUCCESS) return false;
  return parent.DeleteSubKey(subKey) == ERROR_SUCCESS;
}

bool SystemAccess::DeleteRegistryKey(HKEY root, const char* path, RegistryView view) {
  const char* last = std::strrchr(path, '\\');
  return last && DeleteRegistryKey(root, std::string(path, last).c_str(), last + 1, view);
}

bool SystemAccess::DeleteRegistryValue(HKEY root, const char* path, const char* name,
                                       RegistryView view) {
  RegistryKey key;
  if (key.Open(root, path, KEY_ALL_ACCESS, view) != ERROR_SUCCESS) return false;
  return key.DeleteValue(name) == ERROR_SUCCESS;
}

bool SystemAccess::RegistryValueExists(HKEY root, const char* path, const char* name,
                                       RegistryView view) {
  RegistryKey key;
  DWORD size = 0;
  return key.Open(root, path, KEY_READ, view) == ERROR_SUCCESS &&
         key.QuerySize(name, &size) == ERROR_SUCCESS;
}

bool SystemAccess::RegistryValueAbsent(HKEY root, const char* path, const char* name,
                                       RegistryView view) {
  RegistryKey key;
  LONG opened = key.Open(root, path, KEY_READ, view);
  if (opened != ERROR_SUCCESS) return opened == ERROR_FILE_NOT_FOUND;
  DWORD size = 0;
  return key.QuerySize(name, &size) == ERROR_FILE_NOT_FOUND;
}

bool SystemAccess::RegistryKeyAbsent(HKEY root, const char* path, RegistryView view) {
  return IsKeyAbsent(root, path, view);
}

bool SystemAccess::CreateRegistryKeyChain(HKEY root, const char* path, size_t createdKeys,
                                          RegistryView view) {
  constexpr size_t kMaxChain = 8;
  if (createdKeys > kMaxChain) return false;
  std::string basePath = path;
  std::string names[kMaxChain];
  for (size_t i = createdKeys; i-- > 0;) {
    size_t last = basePath.rfind('\\');
    if (last == std::string::npos) return false;
    names[i] = basePath.substr(last + 1);
    basePath.erase(last);
  }
  RegistryKey base;
  if (base.Open(root, basePath.c_str(), KEY_ALL_ACCESS, view) != ERROR_SUCCESS) return false;
  // Every key of the chain stays open until the whole chain is made, then all
  // close together as they go out of scope.
  RegistryKey chain[kMaxChain];
  const RegistryKey* parent = &base;
  for (size_t i = 0; i < createdKeys; ++i) {
    if (chain[i].CreateBelow(*parent, names[i].c_str(), KEY_CREATE_SUB_KEY) != ERROR_SUCCESS)
      return false;
    parent = &chain[i];
  }
  return true;
}

bool SystemAccess::WriteQosPolicy(int mode) {
  static const DWORD kNoLimit = 0;
  bool done = true;
  if (mode == kQosWrite) {
    for (const char* key : kQosPolicyKeys) {
      CreateRegistryKeyChain(HKEY_CURRENT_USER, key, kQosCreatedKeys);
      done &= WriteRegistryValue(HKEY_CURRENT_USER, key, kQosLimitValue, &kNoLimit, REG_DWORD,
                                 sizeof kNoLimit);
    }
    return done;
  }
  if (mode == kQosRemove) {
    for (const char* key : kQosPolicyKeys) {
      done &= DeleteRegistryKey(HKEY_CURRENT_USER, key) ||
              IsKeyAbsent(HKEY_CURRENT_USER, key, RegistryView::kSystem);
    }
    return done;
  }
  return false;
}

bool SystemAccess::IsInternetExplorer6() {
  RegistryKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kVersionVector, KEY_READ) != ERROR_SUCCESS) return false;
  BYTE buffer[kTextBufferSize] = {};
  DWORD size = 0;
  return key.Read("IE", buffer, sizeof buffer, &size) == ERROR_SUCCESS && size > 0 &&
         buffer[0] == '6';
}

bool SystemAccess::IsQosInstalled() {
  return CompareRegistryValue(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\PSched\\Enum",
                              "Count", kKindNumber, 1, nullptr) != kValueUnreadable;
}

// Office XP is a 32-bit program only: it keeps its keys in the 32-bit view.
bool SystemAccess::IsOfficeXpInstalled() {
  return CompareRegistryValue(HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot",
                              "InstallCount", kKindText, 0, "",
                              RegistryView::k32Bit) == kValueDiffers;
}

bool SystemAccess::IsMediaPlayer8Installed() {
  return CompareRegistryValue(HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\MediaPlayer\\8.0\\Registration",
                              "UDBVersion", kKindText, 0, "") == kValueDiffers;
}

bool SystemAccess::IsMediaPlayer9OrLater() {
  RegistryKey key;
  std::string version;
  unsigned major = 0;
  return key.Open(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, KEY_READ) == ERROR_SUCCESS &&
         ReadsAsOne(key, "IsInstalled") && ReadShortText(key, "Version", &version) &&
         LeadingNumber(version, &major) && major >= 9;
}

int SystemAccess::InternetExplorerVersion() {
  RegistryKey key;
  std::string text;
  unsigned version = 0;
  return key.Open(HKEY_LOCAL_MACHINE, kVersionVector, KEY_READ) == ERROR_SUCCESS &&
                 ReadShortText(key, "IE", &text) && LeadingNumber(text, &version)
             ? int(version)
             : 0;
}

bool SystemAccess::IsServiceInstalled(const char* serviceName) {
  return services_.GetServiceStartType(serviceName) != kStartTypeMissing;
}

bool SystemAccess::ReadRegistryValues(HKEY root, const char* path,
                                      std::vector<NamedValue>* values, RegistryView view) {
  RegistryKey key;
  if (key.Open(root, path, KEY_READ, view) != ERROR_SUCCESS) return false;
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

bool SystemAccess::WriteRegistryValues(HKEY root, const char* path,
                                       const std::vector<NamedValue>& values, RegistryView view) {
  RegistryKey key;
  if (key.Open(root, path, KEY_WRITE, view) != ERROR_SUCCESS) return false;
  bool all = true;
  for (const NamedValue& value : values)
    all &= key.Write(value.name.c_str(), value.type, value.data.data(),
                     DWORD(value.data.size())) == ERROR_SUCCESS;
  return all;
}

bool SystemAccess::ReadRegistrySubKeys(HKEY root, const char* path,
                                       std::vector<std::string>* names, RegistryView view) {
  RegistryKey key;
  if (key.Open(root, path, KEY_READ, view) != ERROR_SUCCESS) return false;
  std::string name;
  for (DWORD index = 0; key.EnumSubKey(index, &name) == ERROR_SUCCESS; ++index)
    names->push_back(name);
  return true;
}

bool SystemAccess::CreateRegistryKey(HKEY root, const char* path, RegistryView view) {
  RegistryKey key;
  return key.Create(root, path, KEY_WRITE, view) == ERROR_SUCCESS;
}

bool SystemAccess::RegistryKeyExists(HKEY root, const char* path, RegistryView view) {
  RegistryKey key;
  return key.Open(root, path, KEY_READ, view) == ERROR_SUCCESS;
}

bool SystemAccess::DeleteRegistryTree(HKEY root, const char* path, RegistryView view) {
  return DeleteTree(*this, root, path, 0, view);
}

DWORD SystemAccess::SetRestorePoint(DWORD eventType, DWORD pointType, int64_t sequence,
                                    const char* name, int64_t* newSequence) {
  return platform::SetRestorePoint(eventType, pointType, sequence, name, newSequence);
}

std::string SystemAccess::UserName() { return platform::UserName(); }
std::string SystemAccess::ComputerName() { return platform::ComputerName(); }

bool SystemAccess::IsDomainMember() {
  constexpr int kDomainName = 3;  // NetSetupDomainName
  return platform::JoinStatus() == kDomainName;
}
std::string SystemAccess::LocalTimeText() { return platform::LocalTimeText(); }
