#include "system/RegistryKey.h"

#include <algorithm>

REGSAM ViewAccess(RegistryView view, HKEY root) {
  if (view == RegistryView::k32Bit || (root != HKEY_LOCAL_MACHINE && root != HKEY_CLASSES_ROOT) ||
      !platform::Wow64().wow64)
    return 0;
  return KEY_WOW64_64KEY;
}

LONG RegistryKey::Open(HKEY root, const char* path, REGSAM access, RegistryView view) {
  HKEY opened = nullptr;
  const REGSAM viewAccess = ViewAccess(view, root);
  LONG error = platform::OpenKey(root, path, access | viewAccess, &opened);
  Close();
  if (error == ERROR_SUCCESS) hkey_ = opened;
  viewAccess_ = viewAccess;
  return error;
}

LONG RegistryKey::Create(HKEY root, const char* path, REGSAM access, RegistryView view) {
  return CreateIn(root, path, access, ViewAccess(view, root));
}

LONG RegistryKey::CreateBelow(const RegistryKey& parent, const char* name, REGSAM access) {
  if (!parent.hkey_) return ERROR_INVALID_HANDLE;
  return CreateIn(parent.hkey_, name, access, parent.viewAccess_);
}

LONG RegistryKey::CreateIn(HKEY parent, const char* path, REGSAM access, REGSAM viewAccess) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  LONG error = platform::CreateKey(parent, path, access | viewAccess, &created, &disposition);
  Close();
  if (error == ERROR_SUCCESS) hkey_ = created;
  viewAccess_ = viewAccess;
  return error;
}

void RegistryKey::Close() {
  if (hkey_) platform::CloseKey(hkey_);
  hkey_ = nullptr;
}

LONG RegistryKey::Read(const char* name, BYTE* buffer, DWORD capacity, DWORD* size,
                       DWORD* type) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  DWORD length = capacity;
  DWORD readType = 0;
  LONG error = platform::QueryValue(hkey_, name, &readType, buffer, &length);
  if (error == ERROR_SUCCESS && length > capacity) error = ERROR_MORE_DATA;
  if (error != ERROR_SUCCESS) return error;
  *size = length;
  if (type) *type = readType;
  return error;
}

LONG RegistryKey::ReadWhole(const char* name, DWORD* type, std::vector<BYTE>* data) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  // A value that keeps growing between the size query and the read must not
  // hold the loop for ever.
  constexpr int kAttempts = 4;
  LONG error = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < kAttempts && error == ERROR_MORE_DATA; ++attempt) {
    DWORD size = 0;
    error = QuerySize(name, &size);
    if (error != ERROR_SUCCESS) return error;
    std::vector<BYTE> buffer(size);
    DWORD read = 0;
    error = Read(name, buffer.data(), size, &read, type);
    if (error == ERROR_SUCCESS) {
      buffer.resize(read);
      data->swap(buffer);
    }
  }
  return error;
}

LONG RegistryKey::QuerySize(const char* name, DWORD* size) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  DWORD length = 0;
  LONG error = platform::QueryValue(hkey_, name, nullptr, nullptr, &length);
  if (error == ERROR_SUCCESS) *size = length;
  return error;
}

LONG RegistryKey::DeleteValue(const char* name) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  return platform::DeleteValue(hkey_, name);
}

LONG RegistryKey::DeleteSubKey(const char* name) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  return platform::DeleteKey(hkey_, name, viewAccess_);
}

LONG RegistryKey::EnumValue(DWORD index, NamedValue* value) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  // Names are at most 16,383 characters; data grows to what the key reports,
  // a bounded number of times should the value keep growing meanwhile.
  constexpr DWORD kNameCapacity = 16384;
  constexpr int kAttempts = 8;
  std::vector<char> name(kNameCapacity);
  std::vector<BYTE> data(128);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    DWORD nameLength = kNameCapacity;
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    LONG error = platform::EnumValue(hkey_, index, name.data(), &nameLength, &type, data.data(),
                                     &size);
    if (error == ERROR_MORE_DATA && size > data.size()) {
      data.resize(size);
      continue;
    }
    if (error != ERROR_SUCCESS) return error;
    value->name.assign(name.data(), std::min(nameLength, kNameCapacity - 1));
    value->type = type;
    value->data.assign(data.begin(), data.begin() + std::min<size_t>(size, data.size()));
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

LONG RegistryKey::EnumSubKey(DWORD index, std::string* name) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  char buffer[256];  // key names have at most 255 characters
  DWORD length = sizeof buffer;
  LONG error = platform::EnumKey(hkey_, index, buffer, &length);
  if (error == ERROR_SUCCESS) name->assign(buffer, std::min<DWORD>(length, sizeof buffer - 1));
  return error;
}

std::string TextUpToZero(const BYTE* data, size_t size) {
  size_t length = 0;
  while (length < size && data[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(data), length);
}

bool LeadingNumber(const std::string& text, unsigned* number) {
  constexpr size_t kMostDigits = 9;
  unsigned value = 0;
  size_t digits = 0;
  while (digits < text.size() && digits < kMostDigits && text[digits] >= '0' && text[digits] <= '9')
    value = value * 10 + unsigned(text[digits++] - '0');
  if (digits > 0) *number = value;
  return digits > 0;
}

LONG RegistryKey::Write(const char* name, DWORD type, const void* data, DWORD size) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  return platform::SetValue(hkey_, name, type, static_cast<const BYTE*>(data), size);
}
