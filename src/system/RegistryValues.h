#pragma once
// A value with its name, type and bytes, as whole keys are read and written.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

// A REG_DWORD's number: type and size are checked before *number is
// touched, so data of any other type or size is never taken for one.
inline bool DecodeNumber(DWORD type, const BYTE* data, size_t size, DWORD* number) {
  if (type != REG_DWORD || size != 4) return false;
  *number = data[0] | data[1] << 8 | data[2] << 16 | DWORD(data[3]) << 24;
  return true;
}
inline bool DecodeNumber(DWORD type, const std::vector<BYTE>& data, DWORD* number) {
  return DecodeNumber(type, data.data(), data.size(), number);
}

struct NamedValue {
  std::string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};
