// Profile files in the fake: parsed from their bytes as the system's profile
// functions read them, so that tests can give any bytes a real file may hold.

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/fake/FakeMachine.h"

namespace {

using fake::Lower;
using fake::Machine;

const char kUtf16Mark[] = "\xFF\xFE";

bool IsUtf16(const std::string& bytes) { return bytes.compare(0, 2, kUtf16Mark) == 0; }

// Characters beyond Windows-1252's first 256 do not occur in the tests.
std::string Decoded(const std::string& bytes) {
  if (!IsUtf16(bytes)) return bytes;
  std::string text;
  for (size_t at = 2; at + 1 < bytes.size(); at += 2)
    text += bytes[at + 1] ? '?' : bytes[at];
  return text;
}

std::string Trimmed(const std::string& line) {
  size_t first = line.find_first_not_of(" \t");
  size_t last = line.find_last_not_of(" \t\r");
  return first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
}

// A file's sections in order; lines before the first belong to none, and
// comments to none either. A
// file that starts with UTF-8's byte-order mark has it in its first line,
// which then is no section header: the way XP misreads such a file.
using Sections = std::vector<std::pair<std::string, std::vector<std::string>>>;

bool IsHeader(const std::string& line) { return line.size() > 1 && line[0] == '[' && line.find(']') != std::string::npos; }

Sections Parse(const std::string& text) {
  Sections file;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = Trimmed(text.substr(at, end - at));
    at = end + 1;
    if (IsHeader(line))
      file.push_back({line.substr(1, line.find(']') - 1), {}});
    else if (!line.empty() && line[0] != ';' && !file.empty())
      file.back().second.push_back(line);
  }
  return file;
}

const std::string* Contents(const std::string& path) {
  auto found = Machine().fileContents.find(Lower(path));
  return found == Machine().fileContents.end() ? nullptr : &found->second;
}

// Whether the strings with their terminators and the list's own fit.
bool Fits(const std::vector<std::string>& items, DWORD limit) {
  size_t size = 1;
  for (const std::string& item : items) size += item.size() + 1;
  return size + 2 <= limit;
}

}  // namespace

namespace platform {

std::string FullPathName(const std::string& name) {
  if (name.empty()) return std::string();
  if (name.compare(0, 2, "\\\\") == 0 || (name.size() > 2 && name[1] == ':' && name[2] == '\\'))
    return name;
  const std::string& folder = Machine().currentFolder;
  if (name[0] == '\\') return folder.substr(0, 2) + name;
  return folder + "\\" + name;
}

DWORD ReadFileStart(const std::string& path, DWORD size, std::string* bytes) {
  if (Machine().lockedFiles.count(Lower(path))) return ERROR_SHARING_VIOLATION;
  const std::string* contents = Contents(path);
  if (!contents) return ERROR_FILE_NOT_FOUND;
  *bytes = contents->substr(0, size);
  return ERROR_SUCCESS;
}

bool ReadProfileSectionNames(const std::string& path, DWORD limit,
                             std::vector<std::string>* names) {
  const std::string* contents = Contents(path);
  if (!contents || Machine().lockedFiles.count(Lower(path))) return true;
  std::vector<std::string> found;
  for (const auto& section : Parse(Decoded(*contents))) found.push_back(section.first);
  if (!Fits(found, limit)) return false;
  names->insert(names->end(), found.begin(), found.end());
  return true;
}

bool ReadProfileSection(const std::string& path, const std::string& section, DWORD limit,
                        std::vector<std::string>* lines) {
  const std::string* contents = Contents(path);
  if (!contents || Machine().lockedFiles.count(Lower(path))) return true;
  for (const auto& [name, found] : Parse(Decoded(*contents))) {
    if (Lower(name) != Lower(section)) continue;
    if (!Fits(found, limit)) return false;
    lines->insert(lines->end(), found.begin(), found.end());
    return true;
  }
  return true;
}

// A new file beside the old one first, then in its place; a failure on the
// way leaves the old one as it was and the new one gone.
DWORD WriteWholeFile(const std::string& path, const std::string& bytes) {
  auto& files = Machine().fileContents;
  const std::string scratch = Lower(path.substr(0, path.find_last_of('\\') + 1) + "hg" +
                                    std::to_string(++Machine().scratchFiles) + ".tmp");
  files[scratch] = std::string();
  DWORD error = Machine().diskFull ? ERROR_DISK_FULL : ERROR_SUCCESS;
  if (error == ERROR_SUCCESS && Machine().lockedFiles.count(Lower(path)))
    error = ERROR_SHARING_VIOLATION;
  if (error == ERROR_SUCCESS) files[Lower(path)] = bytes;
  files.erase(scratch);
  return error;
}

}  // namespace platform
