#pragma once
// One text for a registry value's type and bytes ("type 4: 0A 00 00 00"), so
// a single comparison checks type, size and content and shows all three.

#include <string>
#include <vector>

inline std::string DescribeValue(unsigned long type, const std::vector<unsigned char>& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text = "type " + std::to_string(type) + ":";
  for (unsigned char b : bytes) {
    text += ' ';
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}
