#pragma once
// An owned registry key: closed when it goes out of scope, so no path of an
// operation leaks a handle, and a failed open leaves nothing to use.

#include <string>
#include <vector>

#include "platform/Platform.h"

// Registry data read as text: the bytes up to the first zero, or all of them
// when no zero follows.
std::string TextUpToZero(const BYTE* data, size_t size);
inline std::string TextUpToZero(const std::vector<BYTE>& data) {
  return TextUpToZero(data.data(), data.size());
}

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
  // *size holds the bytes read and *type, when asked for, the value's type.
  // A value larger than the buffer fails with ERROR_MORE_DATA.
  LONG Read(const char* name, BYTE* buffer, DWORD capacity, DWORD* size,
            DWORD* type = nullptr) const;
  // Reads a value whole, whatever its size.
  LONG ReadWhole(const char* name, DWORD* type, std::vector<BYTE>* data) const;
  LONG Write(const char* name, DWORD type, const void* data, DWORD size) const;

 private:
  HKEY hkey_ = nullptr;
};
