#pragma once
// The words and lines of a profile file that reading and saving one share.

#include <string>

#include "system/RegistryText.h"

namespace profile_syntax {

inline constexpr char kProgramSection[] = "Hushgate";
inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kFormatKey[] = "format";
inline constexpr unsigned kFormat = 1;

inline std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  size_t last = text.find_last_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

inline bool IsComment(const std::string& line) {
  std::string trimmed = Trimmed(line);
  return trimmed.empty() || trimmed[0] == ';';
}

// Key and value of a line, trimmed and the key in lower case; false for a
// line without '='.
inline bool SplitLine(const std::string& line, std::string* key, std::string* value) {
  size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  *key = Lower(Trimmed(line.substr(0, equals)));
  *value = Lower(Trimmed(line.substr(equals + 1)));
  return true;
}

// Plain decimal digits only, few enough to fit: a setting or a format.
inline bool ReadNumber(const std::string& text, unsigned* number) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  unsigned read = 0;
  for (char c : text) read = read * 10 + unsigned(c - '0');
  *number = read;
  return true;
}

}  // namespace profile_syntax
