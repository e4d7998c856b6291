#pragma once
// What a profile asks of this machine, setting by setting: what carrying it
// out would do, and whether the machine is as the profile wants it.

#include <string>
#include <vector>

#include "engine/Profile.h"
#include "engine/SettingId.h"

class SystemAccess;

enum class ProfileAction {
  kNone,        // as wanted already, or left alone
  kApply,
  kRevert,
  kNotOffered,  // wanted off, but this machine does not offer it
  kCannotUndo,  // wanted on, but it cannot be brought back
  kPerUser,     // run as LocalSystem: left to a logon script
  kPolicy,      // a Group Policy decides it, and not as wanted
};

ProfileAction ActionFor(SystemAccess& system, SettingId id, Wanted wanted, bool runsAsSystem);

// The word a run reports for the outcome of the action.
const char* OutcomeWord(ProfileAction action, bool done);

// The status report of every setting the profile wants off or on, each line
// ending in the wanted state and the verdict: match, drift, n/a where it is
// not offered or left to a logon script, or policy where a Group Policy
// holds it otherwise. *drift tells whether any is not as wanted.
std::string ProfileStatusReport(SystemAccess& system, const Profile& profile, bool runsAsSystem,
                                bool* drift);

// What carrying the profile out would do: the operations of each apply as
// the preview of numbers lists them, then a line for each other action.
std::string ProfilePreview(SystemAccess& system, const Profile& profile, bool runsAsSystem);
