#pragma once
// Whole keys' values at once, for callers above the system layer that read
// or write several values of one key (the time-server list).

#include <string>
#include <vector>

#include "platform/WinTypes.h"

struct NamedValue {
  std::string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

// Every value of the key that can be read whole, in the key's order; false
// when the key cannot be opened for reading.
bool ReadRegistryValues(HKEY root, const char* path, std::vector<NamedValue>* values);

// The names of the key's subkeys; false when the key cannot be opened.
bool ReadRegistrySubKeys(HKEY root, const char* path, std::vector<std::string>* names);

// Creates the key with every key above it that is missing; true when it
// exists afterwards.
bool CreateRegistryKey(HKEY root, const char* path);
bool RegistryKeyExists(HKEY root, const char* path);

// Deletes the key with everything below it; true when it is gone.
bool DeleteRegistryTree(HKEY root, const char* path);

// Opens the key once with the given access and stores each value; false when
// the key cannot be opened or a value was not stored. Every value is tried
// even after one fails.
bool WriteRegistryValues(HKEY root, const char* path, REGSAM access,
                         const std::vector<NamedValue>& values);
