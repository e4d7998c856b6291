#pragma once
// Apply, revert and undo as the program carries them out for its user: what
// a change is about to write is captured into the backup first (a separate
// step, so that the window can ask before going on without one), then the
// change runs and is reported to the Application event log.

#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/PolicyPlan.h"
#include "engine/SettingId.h"

class SystemAccess;

// False when the backup could not be written (no rights below HKLM\SOFTWARE)
// or a location could not be read; *failure, when given, gets the cause.
bool CaptureBeforeApply(SystemAccess& system, SettingId id, CaptureFailure* failure = nullptr);
bool CaptureBeforeRevert(SystemAccess& system, SettingId id, CaptureFailure* failure = nullptr);

// What the captures of a change could not keep, for the one question the
// window asks before it goes on without a backup: it names the cause that
// holds, the settings whose values could not be read before a backup area
// that refused.
class MissedCaptures {
 public:
  // Notes a capture of the plan's label; returns whether it was made.
  bool Note(int labelId, bool captured, const CaptureFailure& failure);
  bool Any() const { return any_; }
  std::string Question() const;

 private:
  bool any_ = false;
  std::vector<int> unreadable_;
  HKEY refusedArea_ = nullptr;
};

// The command line's line for a capture that failed before the setting's
// change: why, naming the setting where one of its values could not be read.
std::string NoBackupLine(SettingId id, const CaptureFailure& failure);

// The operations themselves, with their results as Apply and Revert give
// them; given what the policies make of the setting, they look at them no
// more.
bool ApplyAndReport(SystemAccess& system, SettingId id);
bool ApplyAndReport(SystemAccess& system, SettingId id, const PolicyDecision& policy);
bool RevertAndReport(SystemAccess& system, SettingId id, int* refusal = nullptr);
bool RevertAndReport(SystemAccess& system, SettingId id, const PolicyDecision& policy,
                     int* refusal);
// Undo passes over a setting a policy decides (kPolicy), as apply does.
UndoResult UndoAndReport(SystemAccess& system, const UndoablePlan& plan);
UndoResult UndoAndReport(SystemAccess& system, const UndoablePlan& plan, PolicyView& policies);

// A setting passed over because a policy decides it: logged as done when the
// policy keeps its function off, as failed otherwise.
void ReportDecidedByPolicy(SystemAccess& system, SettingId id, const PolicyDecision& policy);

// The time-server dialog's change, for the server number it chose.
void ReportTimeServerChange(SystemAccess& system, bool applied, const char* host);
