// The fake's files: listed by a wildcard and read whole.

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

bool ReadWholeFile(const char* path, DWORD maxSize, std::vector<BYTE>* bytes) {
  const std::string* contents = Contents(path);
  if (!contents || contents->size() > maxSize) return false;
  bytes->assign(contents->begin(), contents->end());
  return true;
}

int JoinStatus() { return Machine().joinStatus; }

}  // namespace platform
