#include "system/RegistryKey.h"

LONG RegistryKey::Open(HKEY parent, const char* path, REGSAM access) {
  HKEY opened = nullptr;
  LONG error = platform::OpenKey(parent, path, access, &opened);
  Close();
  if (error == ERROR_SUCCESS) hkey_ = opened;
  return error;
}

LONG RegistryKey::Create(HKEY parent, const char* path, REGSAM access) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  LONG error = platform::CreateKey(parent, path, access, &created, &disposition);
  Close();
  if (error == ERROR_SUCCESS) hkey_ = created;
  return error;
}

void RegistryKey::Close() {
  if (hkey_) platform::CloseKey(hkey_);
  hkey_ = nullptr;
}

LONG RegistryKey::Read(const char* name, BYTE* buffer, DWORD capacity, DWORD* size) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  DWORD length = capacity;
  DWORD type = 0;
  LONG error = platform::QueryValue(hkey_, name, &type, buffer, &length);
  if (error == ERROR_SUCCESS && length > capacity) error = ERROR_MORE_DATA;
  if (error == ERROR_SUCCESS) *size = length;
  return error;
}

LONG RegistryKey::Write(const char* name, DWORD type, const void* data, DWORD size) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  return platform::SetValue(hkey_, name, type, static_cast<const BYTE*>(data), size);
}
