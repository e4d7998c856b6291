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
    error = platform::QueryValue(hkey_, name, nullptr, nullptr, &size);
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

std::string TextUpToZero(const BYTE* data, size_t size) {
  size_t length = 0;
  while (length < size && data[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(data), length);
}

LONG RegistryKey::Write(const char* name, DWORD type, const void* data, DWORD size) const {
  if (!hkey_) return ERROR_INVALID_HANDLE;
  return platform::SetValue(hkey_, name, type, static_cast<const BYTE*>(data), size);
}
