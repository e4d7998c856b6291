#pragma once
// A profile: the state an administrator wants for the settings of many
// machines, read from an INI file, and the file written from a choice.
//
//   [Hushgate]
//   Format=1
//   [Settings]
//   4=off      switch off, as apply does
//   10=on      switch back on to the fresh-installation value, as revert does
//   21=leave   do not touch; an unnamed setting is left alone as well

#include <map>
#include <string>
#include <vector>

#include "engine/SettingId.h"
#include "system/ProfileFile.h"

enum class Wanted { kOff, kOn, kLeave };

struct Profile {
  std::map<SettingId, Wanted> wanted;  // in ascending order
  std::vector<std::string> skipped;    // one line per entry skipped
  unsigned format = 1;                 // the file's Format, 1 when not given
  bool formatUnreadable = false;       // a Format that is not plain digits
};

// What a loaded file gives: the profile, or the line that says which file
// could not be used and why (nothing is done then).
struct LoadedProfile {
  std::string problem;
  Profile profile;
};


// Reads the file's [Hushgate] and [Settings] lines: values without regard
// to case and the blanks around them, ';' lines as comments. An unknown key
// or value, or a key given twice with different values, is skipped and
// named; the rest stands.
Profile ParseProfile(const ProfileFileText& file);

LoadedProfile LoadProfile(const std::string& name);

// The word a profile uses for the wanted state.
const char* WantedWord(Wanted wanted);

// What a save gives: nothing when written, else the line why not, and
// whether the file was refused for its format (newer or unreadable).
struct SavedProfile {
  std::string problem;
  bool refused = false;
};

// Writes the choice as a profile: every setting of the tree explicitly, each
// after a comment with its label, the computer and time in a comment on top.
// Onto an existing file only the Format line, that comment and the lines of
// the settings this version knows are rewritten; every other line keeps its
// bytes, its place and the file's encoding. The old file is replaced only
// once the new one is written whole.
SavedProfile SaveProfile(const std::string& name, const std::map<SettingId, Wanted>& choice,
                         const std::string& computer, const std::string& time);
