#pragma once
// Apply, revert and undo as the program carries them out for its user: what
// a change is about to write is captured into the backup first (a separate
// step, so that the window can ask before going on without one), then the
// change runs and is reported to the Application event log.

#include "engine/Backup.h"
#include "engine/SettingId.h"

class SystemAccess;

// False when the backup could not be written (no rights below HKLM\SOFTWARE).
bool CaptureBeforeApply(SystemAccess& system, SettingId id);
bool CaptureBeforeRevert(SystemAccess& system, SettingId id);

// The operations themselves, with their results as Apply and Revert give them.
bool ApplyAndReport(SystemAccess& system, SettingId id);
bool RevertAndReport(SystemAccess& system, SettingId id, int* refusal = nullptr);
UndoResult UndoAndReport(SystemAccess& system, const UndoablePlan& plan);

// The time-server dialog's change, for the server number it chose.
void ReportTimeServerChange(SystemAccess& system, bool applied, const char* host);
