// The fake's files: listed by a wildcard, read whole, and read as a profile
// (INI) file the way the system's profile functions do, ANSI or UTF-16LE.

#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/fake/FakeMachine.h"

namespace {

using fake::Machine;

bool Matches(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
  return *name && (*pattern == '?' || *pattern == *name) && Matches(pattern + 1, name + 1);
}

const std::string* Contents(const char* path) {
  auto found = Machine().fileContents.find(fake::Lower(path ? path : ""));
  return found == Machine().fileContents.end() ? nullptr : &found->second;
}

// UTF-16LE with its byte-order mark, as ANSI text; other files as they are.
std::string AsAnsi(const std::string& bytes) {
  if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return bytes;
  std::string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    unsigned unit = static_cast<unsigned char>(bytes[i]) |
                    static_cast<unsigned char>(bytes[i + 1]) << 8;
    text += unit < 256 ? static_cast<char>(unit) : '?';
  }
  return text;
}

std::string Trimmed(const std::string& line) {
  size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

namespace platform {

DWORD ListFiles(const char* pattern, size_t maxCount, std::vector<std::string>* names) {
  const std::string wanted = fake::Lower(pattern);
  const size_t slash = wanted.rfind('\\');
  const std::string folder = wanted.substr(0, slash + 1);
  const std::string namePattern = wanted.substr(slash + 1);
  bool any = false;
  for (const auto& [path, bytes] : Machine().fileContents) {
    if (path.compare(0, folder.size(), folder) != 0) continue;
    const std::string name = path.substr(folder.size());
    auto shortName = Machine().shortNames.find(path);
    const bool matches = Matches(namePattern.c_str(), name.c_str()) ||
                         (shortName != Machine().shortNames.end() &&
                          Matches(namePattern.c_str(), fake::Lower(shortName->second).c_str()));
    if (name.find('\\') != std::string::npos || !matches) continue;
    any = true;
    if (names->size() < maxCount) names->push_back(name);
  }
  return any ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

DWORD ReadProfileSection(const char* file, const char* section, char* buffer, DWORD size) {
  if (size < 2) return 0;
  std::string lines;
  if (const std::string* bytes = Contents(file)) {
    const std::string text = AsAnsi(*bytes);
    bool inside = false;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = Trimmed(text.substr(start, end - start));
      start = end + 1;
      if (!line.empty() && line[0] == '[') {
        size_t close = line.find(']');
        inside = close != std::string::npos &&
                 fake::Lower(line.substr(1, close - 1)) == fake::Lower(section);
      } else if (inside && !line.empty() && line[0] != ';') {
        lines += line;
        lines += '\0';
      }
    }
  }
  if (lines.size() + 1 > size) {
    std::memcpy(buffer, lines.data(), size - 2);
    buffer[size - 2] = buffer[size - 1] = '\0';
    return size - 2;
  }
  std::memcpy(buffer, lines.data(), lines.size());
  buffer[lines.size()] = '\0';
  if (lines.empty()) buffer[1] = '\0';
  return DWORD(lines.size());
}

bool ReadWholeFile(const char* path, DWORD maxSize, std::vector<BYTE>* bytes) {
  const std::string* contents = Contents(path);
  if (!contents || contents->size() > maxSize) return false;
  bytes->assign(contents->begin(), contents->end());
  return true;
}

int JoinStatus() { return Machine().joinStatus; }

}  // namespace platform
