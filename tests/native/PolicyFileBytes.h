#pragma once
// A local policy's registry file (Registry.pol) as Windows writes it: a
// header, then entries of UTF-16LE key and value names with the data.

#include <string>
#include <vector>

#include "platform/WinTypes.h"

// One entry of a registry policy file.
inline std::string Wide(const std::string& text) {
  std::string bytes;
  for (char c : text) bytes += {c, '\0'};
  return bytes;
}
// claimedSize: the size the entry gives for its data, when not the true one.
inline std::string PolEntry(const std::string& key, const std::string& name, DWORD type,
                     const std::vector<BYTE>& data, DWORD claimedSize = 0) {
  auto number = [](DWORD n) { return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)}; };
  return Wide("[" + key) + std::string(2, '\0') + Wide(";" + name) + std::string(2, '\0') +
         Wide(";") + number(type) + Wide(";") + number(claimedSize ? claimedSize : DWORD(data.size())) + Wide(";") +
         std::string(data.begin(), data.end()) + Wide("]");
}
inline const std::string kPolHeader("PReg\1\0\0\0", 8);
// A REG_SZ's data as a policy file holds it: UTF-16LE with its zero.
inline std::vector<BYTE> WideText(const std::string& text) {
  const std::string wide = Wide(text) + std::string(2, '\0');
  return std::vector<BYTE>(wide.begin(), wide.end());
}
