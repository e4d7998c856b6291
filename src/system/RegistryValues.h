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

// Opens the key once with the given access and stores each value; false when
// the key cannot be opened. Every value is stored even after one fails.
bool WriteRegistryValues(HKEY root, const char* path, REGSAM access,
                         const std::vector<NamedValue>& values);
