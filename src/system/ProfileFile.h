#pragma once
// A profile file as the system's profile functions read it: its sections
// and their lines, every one bounded; and as its lines, to be rewritten.

#include <string>
#include <utility>
#include <vector>

#include "system/ProfileLines.h"

enum class FileProblem { kNone, kMissing, kUnreadable, kUtf8Mark };

struct ProfileSection {
  std::string name;
  std::vector<std::string> lines;  // as the system gives them, without comments
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

// The file's lines as its bytes hold them, for a save that keeps what it
// does not own; false when it cannot be read whole or kept as it is.
bool ReadProfileLines(const std::string& path, ProfileLines* lines);

// Writes the lines beside the file and then puts them in its place, so a
// failure leaves the old file as it was; false when it could not be written.
bool WriteProfileLines(const std::string& path, const ProfileLines& lines);
