#pragma once
// An owned registry key: closed when it goes out of scope, so no path of an
// operation leaks a handle, and a failed open leaves nothing to use.

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"
#include "system/RegistryView.h"

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Below a root in the view, which the key keeps for what is made or
  // deleted below it: a 64-bit key's subkeys are in the 64-bit view too.
  LONG Open(HKEY root, const char* path, REGSAM access,
            RegistryView view = RegistryView::kSystem);
  LONG Create(HKEY root, const char* path, REGSAM access,
              RegistryView view = RegistryView::kSystem);
  LONG CreateBelow(const RegistryKey& parent, const char* name, REGSAM access);
  void Close();

  HKEY Handle() const { return hkey_; }

  // Reads a value's data into a buffer of the given capacity; on success
  // *size holds the bytes read and *type, when asked for, the value's type.
  // A value larger than the buffer fails with ERROR_MORE_DATA.
  LONG Read(const char* name, BYTE* buffer, DWORD capacity, DWORD* size,
            DWORD* type = nullptr) const;
  // Reads a value whole, whatever its size.
  LONG ReadWhole(const char* name, DWORD* type, std::vector<BYTE>* data) const;
  LONG Write(const char* name, DWORD type, const void* data, DWORD size) const;
  // The size of a value's data, whatever it is.
  LONG QuerySize(const char* name, DWORD* size) const;
  LONG DeleteValue(const char* name) const;
  // Deletes a subkey that has no subkeys of its own.
  LONG DeleteSubKey(const char* name) const;

  // One value by its index, for walking all values of the key: its name and
  // data whole, whatever their size. ERROR_NO_MORE_ITEMS after the last.
  LONG EnumValue(DWORD index, NamedValue* value) const;
  // The name of one subkey by its index; ERROR_NO_MORE_ITEMS after the last.
  LONG EnumSubKey(DWORD index, std::string* name) const;

 private:
  LONG CreateIn(HKEY parent, const char* path, REGSAM access, REGSAM viewAccess);

  HKEY hkey_ = nullptr;
  REGSAM viewAccess_ = 0;
};
