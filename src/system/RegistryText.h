#pragma once
// Registry data and roots read as text.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

// The bytes up to the first zero, or all of them when no zero follows.
std::string TextUpToZero(const BYTE* data, size_t size);
inline std::string TextUpToZero(const std::vector<BYTE>& data) {
  return TextUpToZero(data.data(), data.size());
}

// The number made by the decimal digits the text begins with, of which at
// most nine are read, so it always fits; false when it begins with none.
bool LeadingNumber(const std::string& text, unsigned* number);

// A text as a REG_SZ value's bytes, with its terminating zero.
inline std::vector<BYTE> TextBytes(const std::string& text) {
  std::vector<BYTE> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

// Key and value names, and paths, compare without regard to case.
inline std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The short name administrators know a root by.
inline const char* RootName(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return "HKCR";
  if (root == HKEY_CURRENT_USER) return "HKCU";
  if (root == HKEY_USERS) return "HKU";
  return "HKLM";
}
