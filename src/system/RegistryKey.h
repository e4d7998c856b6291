#pragma once
// An owned registry key: closed when it goes out of scope, so no path of an
// operation leaks a handle, and a failed open leaves nothing to use.

#include "platform/Platform.h"

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  LONG Open(HKEY parent, const char* path, REGSAM access);
  LONG Create(HKEY parent, const char* path, REGSAM access);
  void Close();

  bool IsOpen() const { return hkey_ != nullptr; }
  HKEY Handle() const { return hkey_; }

  // Reads a value's data into a buffer of the given capacity; on success
  // *size holds the bytes read. A value larger than the buffer fails with
  // ERROR_MORE_DATA.
  LONG Read(const char* name, BYTE* buffer, DWORD capacity, DWORD* size) const;
  LONG Write(const char* name, DWORD type, const void* data, DWORD size) const;

 private:
  HKEY hkey_ = nullptr;
};
