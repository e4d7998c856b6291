#pragma once
// Registry data and roots read as text.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

// The bytes up to the first zero, or all of them when no zero follows.
std::string TextUpToZero(const BYTE* data, size_t size);
inline std::string TextUpToZero(const std::vector<BYTE>& data) {
  return TextUpToZero(data.data(), data.size());
}

// The short name administrators know a root by.
inline const char* RootName(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return "HKCR";
  if (root == HKEY_CURRENT_USER) return "HKCU";
  if (root == HKEY_USERS) return "HKU";
  return "HKLM";
}
