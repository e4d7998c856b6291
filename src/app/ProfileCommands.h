#pragma once
// The command line's profile switches: /profile:FILE carries a profile out,
// /status and /preview before it report on it and change nothing, and
// /saveprofile:FILE writes this machine's state as a profile.

#include <string>

class SystemAccess;

// The run of the profile: its off settings as an apply, its on settings as
// a revert, each with its backup first, one line per setting acted on.
// 0 when every named setting is as wanted afterwards or not offered here,
// 1 when one is not, 2 when the file cannot be used, 3 as apply, 4 when
// entries were skipped and nothing worse happened.
int RunProfile(SystemAccess& system, const std::string& file, bool restorePointAsked);

// The status report with the wanted state and the verdict: 0 when nothing
// drifts, 1 when something does, 2 and 4 as above.
int ShowProfileStatus(SystemAccess& system, const std::string& file);
int ShowProfilePreview(SystemAccess& system, const std::string& file);

// Every setting of the tree: off where it is off here, leave for the
// others. 0 when written, 1 when not.
int SaveMachineProfile(SystemAccess& system, const std::string& file);
