#pragma once
// Apply, revert and undo as the program carries them out for its user: what
// a change is about to write is captured into the backup first (a separate
// step, so that the window can ask before going on without one), then the
// change runs and is reported to the Application event log.

#include "engine/Backup.h"
#include "engine/PolicyPlan.h"
#include "engine/SettingId.h"

class SystemAccess;

// False when the backup could not be written (no rights below HKLM\SOFTWARE).
bool CaptureBeforeApply(SystemAccess& system, SettingId id);
bool CaptureBeforeRevert(SystemAccess& system, SettingId id);

// The operations themselves, with their results as Apply and Revert give them.
bool ApplyAndReport(SystemAccess& system, SettingId id);
bool RevertAndReport(SystemAccess& system, SettingId id, int* refusal = nullptr);
// Undo passes over a setting a policy decides (kPolicy), as apply does.
UndoResult UndoAndReport(SystemAccess& system, const UndoablePlan& plan);

// A setting passed over because a policy decides it: logged as done when the
// policy keeps its function off, as failed otherwise.
void ReportDecidedByPolicy(SystemAccess& system, SettingId id, const PolicyDecision& policy);

// The time-server dialog's change, for the server number it chose.
void ReportTimeServerChange(SystemAccess& system, bool applied, const char* host);
