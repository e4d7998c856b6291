#include "system/ProfileFile.h"

#include "platform/Platform.h"
#include "system/RegistryText.h"

namespace {

// Bounds on what is read back: no sane profile comes near them.
constexpr DWORD kSectionLimit = 32767;
constexpr size_t kSectionCount = 64;
// Above all that the sections read could hold, even in UTF-16.
constexpr DWORD kLargestFile = 8 * 1024 * 1024;

}  // namespace

FileProblem ReadProfileFile(const std::string& name, ProfileFileText* file) {
  file->path = platform::FullPathName(name);
  if (file->path.empty()) return FileProblem::kUnreadable;
  std::string start;
  DWORD error = platform::ReadFileStart(file->path, 3, &start);
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FileProblem::kMissing;
  if (error != ERROR_SUCCESS) return FileProblem::kUnreadable;
  if (start == "\xEF\xBB\xBF") return FileProblem::kUtf8Mark;
  std::vector<std::string> names;
  if (!platform::ReadProfileSectionNames(file->path, kSectionLimit, &names) ||
      names.size() > kSectionCount)
    return FileProblem::kUnreadable;
  for (const std::string& section : names) {
    file->sections.push_back({section, {}});
    if (!platform::ReadProfileSection(file->path, section, kSectionLimit,
                                      &file->sections.back().lines))
      return FileProblem::kUnreadable;
  }
  return FileProblem::kNone;
}

const ProfileSection* FindSection(const ProfileFileText& file, const std::string& name) {
  for (const ProfileSection& section : file.sections)
    if (Lower(section.name) == Lower(name)) return &section;
  return nullptr;
}

bool ReadProfileLines(const std::string& path, ProfileLines* lines) {
  std::vector<BYTE> bytes;
  return platform::ReadWholeFile(path.c_str(), kLargestFile, &bytes) &&
         lines->Read(std::string(bytes.begin(), bytes.end()));
}

bool WriteProfileLines(const std::string& path, const ProfileLines& lines) {
  return platform::WriteWholeFile(path, lines.Bytes()) == ERROR_SUCCESS;
}
