#include "system/PolicyFiles.h"

#include <algorithm>
#include <cstddef>

#include "platform/Platform.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"
#include "system/SystemAccess.h"

namespace {

// Bounds on what an administrator's files may make the program read. Names
// are cheap: far more are listed than read, so that the templates that
// decide (the highest-numbered) are among those read.
constexpr size_t kMostTemplates = 64;
constexpr size_t kMostListed = 4096;
constexpr DWORD kSectionLimit = 64 * 1024;
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

// The wildcard also matches a file by its 8.3 short name ("gpt00001.info"
// is GPT000~1.INF): only the long name counts.
bool IsTemplateName(const std::string& name) {
  const std::string lower = Lower(name);
  return lower.size() > 7 && lower.compare(0, 3, "gpt") == 0 &&
         (lower.compare(lower.size() - 4, 4, ".inf") == 0 ||
          lower.compare(lower.size() - 4, 4, ".dom") == 0);
}

std::vector<std::string> Templates(const std::string& folder) {
  std::vector<std::string> listed;
  for (const char* pattern : {"gpt*.inf", "gpt*.dom"})
    platform::ListFiles((folder + "\\" + pattern).c_str(), kMostListed, &listed);
  std::vector<std::string> names;
  for (const std::string& name : listed)
    if (IsTemplateName(name)) names.push_back(name);
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    unsigned long left = TemplateNumber(Lower(a)), right = TemplateNumber(Lower(b));
    return left != right ? left > right : Lower(a) > Lower(b);
  });
  if (names.size() > kMostTemplates) names.resize(kMostTemplates);
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
  DecodeNumber(REG_DWORD, &bytes[*at], 4, number);
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
  *mode = 0;
  for (char digit : digits) *mode = *mode * 10 + static_cast<DWORD>(digit - '0');
  return true;
}

std::vector<PolicyTemplate> ReadPolicyTemplates(SystemAccess& system) {
  std::vector<PolicyTemplate> templates;
  std::string root;
  if (!system.ReadSystemRoot(&root)) return templates;
  const std::string folder = root + "\\security\\templates\\policies";
  for (const std::string& name : Templates(folder)) {
    PolicyTemplate read{folder + "\\" + name, {}};
    // A section too large for the bound is passed over: it decides nothing.
    if (!platform::ReadProfileSection(read.file, "Service General Setting", kSectionLimit,
                                      &read.lines))
      read.lines.clear();
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

namespace {

// The value names a "**DeleteValues" record lists in its data, a UTF-16LE
// text separated by ';'.
bool ListsName(const std::vector<BYTE>& data, const std::string& wanted) {
  std::string names;
  size_t at = 0;
  ReadWideText(data, &at, &names);
  for (size_t start = 0; start <= names.size();) {
    size_t end = std::min(names.find(';', start), names.size());
    if (Lower(Trim(names.substr(start, end - start))) == wanted) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

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
    } else if (entryName == "**del." + wantedName || entryName == "**delvals." ||
               (entryName == "**deletevalues" && ListsName(entry.data, wantedName))) {
      found = false;
    }
  }
  return found;
}
