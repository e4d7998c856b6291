#include "system/PolicyFiles.h"

#include <algorithm>
#include <cstddef>

#include "platform/Platform.h"
#include "system/RegistryText.h"
#include "system/SystemAccess.h"

namespace {

// Bounds on what an administrator's files may make the program read.
constexpr size_t kMostTemplates = 64;
constexpr DWORD kSectionBuffer = 64 * 1024;
constexpr DWORD kLargestPolicyFile = 1024 * 1024;

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Unquoted(const std::string& text) {
  std::string trimmed = Trim(text);
  if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"')
    return trimmed.substr(1, trimmed.size() - 2);
  return trimmed;
}

// The number after "gpt" in a template's name; files without one come first.
unsigned long TemplateNumber(const std::string& name) {
  unsigned long number = 0;
  for (size_t i = 3; i < name.size() && i < 12 && name[i] >= '0' && name[i] <= '9'; ++i)
    number = number * 10 + static_cast<unsigned long>(name[i] - '0');
  return number;
}

std::vector<std::string> Templates(const std::string& folder) {
  std::vector<std::string> names;
  for (const char* pattern : {"gpt*.inf", "gpt*.dom"})
    platform::ListFiles((folder + "\\" + pattern).c_str(), kMostTemplates, &names);
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    unsigned long left = TemplateNumber(Lower(a)), right = TemplateNumber(Lower(b));
    return left != right ? left > right : Lower(a) > Lower(b);
  });
  return names;
}

// Reads a zero-ended UTF-16LE text from *at; false when no zero comes
// before the end. Characters beyond Latin-1 become '?', which matches no name.
bool ReadWideText(const std::vector<BYTE>& bytes, size_t* at, std::string* text) {
  for (; *at + 1 < bytes.size(); *at += 2) {
    unsigned unit = bytes[*at] | bytes[*at + 1] << 8;
    if (unit == 0) {
      *at += 2;
      return true;
    }
    *text += unit < 256 ? static_cast<char>(unit) : '?';
  }
  return false;
}

bool ReadWideChar(const std::vector<BYTE>& bytes, size_t* at, char wanted) {
  if (*at + 1 >= bytes.size() || bytes[*at] != BYTE(wanted) || bytes[*at + 1] != 0) return false;
  *at += 2;
  return true;
}

bool ReadNumber(const std::vector<BYTE>& bytes, size_t* at, DWORD* number) {
  if (*at + 4 > bytes.size()) return false;
  *number = bytes[*at] | bytes[*at + 1] << 8 | bytes[*at + 2] << 16 | DWORD(bytes[*at + 3]) << 24;
  *at += 4;
  return true;
}

bool ReadEntry(const std::vector<BYTE>& bytes, size_t* at, PolicyFileValue* value) {
  DWORD size = 0;
  if (!ReadWideChar(bytes, at, '[') || !ReadWideText(bytes, at, &value->key) ||
      !ReadWideChar(bytes, at, ';') || !ReadWideText(bytes, at, &value->name) ||
      !ReadWideChar(bytes, at, ';') || !ReadNumber(bytes, at, &value->type) ||
      !ReadWideChar(bytes, at, ';') || !ReadNumber(bytes, at, &size) ||
      !ReadWideChar(bytes, at, ';') || size > bytes.size() - *at)
    return false;
  value->data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(*at),
                     bytes.begin() + static_cast<std::ptrdiff_t>(*at + size));
  *at += size;
  return ReadWideChar(bytes, at, ']');
}

}  // namespace

bool ParseServiceLine(const std::string& line, const char* service, DWORD* mode) {
  size_t comma = line.find(',');
  if (comma == std::string::npos || Lower(Unquoted(line.substr(0, comma))) != Lower(service))
    return false;
  size_t next = line.find(',', comma + 1);
  std::string digits = Trim(line.substr(comma + 1, next == std::string::npos ? std::string::npos
                                                                          : next - comma - 1));
  if (digits.empty() || digits.size() > 2 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  unsigned number = 0;
  LeadingNumber(digits, &number);
  *mode = number;
  return true;
}

std::vector<PolicyTemplate> ReadPolicyTemplates(SystemAccess& system) {
  std::vector<PolicyTemplate> templates;
  std::string root;
  if (!system.ReadSystemRoot(&root)) return templates;
  const std::string folder = root + "\\security\\templates\\policies";
  std::vector<char> buffer(kSectionBuffer);
  for (const std::string& name : Templates(folder)) {
    PolicyTemplate read{folder + "\\" + name, {}};
    DWORD length = platform::ReadProfileSection(read.file.c_str(), "Service General Setting",
                                                buffer.data(), kSectionBuffer);
    // Lines are zero-ended; a section cut short loses only its last line.
    const bool cut = length >= kSectionBuffer - 2;
    for (size_t start = 0; start < length;) {
      size_t end = start;
      while (end < length && buffer[end] != '\0') ++end;
      if (cut && end >= length) break;
      read.lines.emplace_back(buffer.data() + start, end - start);
      start = end + 1;
    }
    templates.push_back(std::move(read));
  }
  return templates;
}

bool FindPolicyServiceMode(const std::vector<PolicyTemplate>& templates, const char* service,
                           DWORD* mode, std::string* file) {
  for (const PolicyTemplate& read : templates) {
    for (const std::string& line : read.lines) {
      DWORD found = 0;
      if (ParseServiceLine(line, service, &found) && found >= SERVICE_AUTO_START &&
          found <= SERVICE_DISABLED) {
        *mode = found;
        *file = read.file;
        return true;
      }
    }
  }
  return false;
}

bool ParsePolicyRegistryFile(const std::vector<BYTE>& bytes, std::vector<PolicyFileValue>* values) {
  static const BYTE kHeader[] = {'P', 'R', 'e', 'g', 1, 0, 0, 0};
  if (bytes.size() < sizeof kHeader || !std::equal(kHeader, kHeader + sizeof kHeader, bytes.begin()))
    return false;
  std::vector<PolicyFileValue> read;
  size_t at = sizeof kHeader;
  while (at < bytes.size()) {
    PolicyFileValue value;
    if (!ReadEntry(bytes, &at, &value)) return false;
    read.push_back(std::move(value));
  }
  *values = std::move(read);
  return true;
}

std::vector<PolicyFileValue> ReadLocalPolicyFile(bool machine, std::string* file) {
  *file = SystemAccess::SystemProgramPath(machine ? "GroupPolicy\\Machine\\Registry.pol"
                                                  : "GroupPolicy\\User\\Registry.pol");
  std::vector<BYTE> bytes;
  std::vector<PolicyFileValue> values;
  if (!file->empty() && platform::ReadWholeFile(file->c_str(), kLargestPolicyFile, &bytes))
    ParsePolicyRegistryFile(bytes, &values);
  return values;
}

bool FindPolicyFileValue(const std::vector<PolicyFileValue>& values, const char* key,
                         const char* name, PolicyFileValue* value) {
  const std::string wantedKey = Lower(key);
  const std::string wantedName = Lower(name);
  bool found = false;
  for (const PolicyFileValue& entry : values) {
    if (Lower(entry.key) != wantedKey) continue;
    const std::string entryName = Lower(entry.name);
    if (entryName == wantedName) {
      *value = entry;
      found = true;
    } else if (entryName == "**del." + wantedName || entryName.rfind("**delvals", 0) == 0) {
      found = false;
    }
  }
  return found;
}
