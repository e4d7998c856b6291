#pragma once
// A profile file as the system's profile functions read it: its sections
// and their lines, every one bounded. Written whole, in Windows-1252.

#include <string>
#include <utility>
#include <vector>

enum class FileProblem { kNone, kMissing, kUnreadable, kUtf8Mark };

struct ProfileSection {
  std::string name;
  std::vector<std::string> lines;  // as the system gives them, comments too where it does
};

struct ProfileFileText {
  std::string path;  // the full path, from the current folder
  std::vector<ProfileSection> sections;
};

// Reads the file by its full path, never by a bare name (which the profile
// functions look for in the Windows folder). A file that begins with
// UTF-8's byte-order mark is not read: XP's profile functions take the mark
// for part of the first section's name.
FileProblem ReadProfileFile(const std::string& name, ProfileFileText* file);

// The section of that name (case does not matter), or nullptr.
const ProfileSection* FindSection(const ProfileFileText& file, const std::string& name);

// Writes the sections, each after a blank line but the first; the full path
// it wrote to goes to *path. False when it could not be written.
bool WriteProfileFile(const std::string& name, const std::vector<ProfileSection>& sections,
                      std::string* path);
