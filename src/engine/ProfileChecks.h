#pragma once
// What a profile asks of this machine, setting by setting, without changing
// it: whether the machine is as the profile wants it, and what carrying the
// profile out would do.

#include <string>
#include <vector>

#include "engine/Profile.h"
#include "engine/SettingId.h"

class SystemAccess;

// The status report of every setting the profile wants off or on, each line
// ending in the wanted state and the verdict: match, drift, n/a where it is
// not offered or left to a logon script, policy where a Group Policy holds
// it otherwise, or unknown where its service could not be asked. *drift
// tells whether any is not known to be as wanted. Run as LocalSystem, a
// line after them names the settings left to a logon script.
std::string ProfileStatusReport(SystemAccess& system, const Profile& profile, bool runsAsSystem,
                                bool* drift);

// What loading the profile into the window's choice would switch back on:
// the settings it wants on that are off now and can be reverted, those that
// cannot, and those a Group Policy holds otherwise (never offered).
struct SwitchOns {
  std::vector<SettingId> revert;
  std::vector<SettingId> cannotUndo;
  std::vector<SettingId> byPolicy;
};
SwitchOns SwitchOnsOf(SystemAccess& system, const Profile& profile);

// What carrying the profile out would do: the operations of each apply as
// the preview of numbers lists them, then a line for each other action.
std::string ProfilePreview(SystemAccess& system, const Profile& profile, bool runsAsSystem);
