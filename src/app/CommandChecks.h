#pragma once
// What a command-line run that changes the system makes sure of first, and
// the lines it writes for that: administrator rights for machine-wide
// settings, the restore point when asked for, which settings take effect
// later. Lines go to the output only: a rollout without one must not stall.

#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/Safeguards.h"
#include "engine/SettingId.h"

class ChangeRun;
class SystemAccess;

// The accepted numbers of the tail before its first mistyped token: what an
// apply of it would carry out.
std::vector<SettingId> NumbersBeforeMistake(const std::string& tail);

// True when the running account may change every one of the settings (or
// plans, for undo); else writes which of them need an administrator.
bool HasRightsFor(const std::vector<SettingId>& ids);
bool HasRightsFor(const std::vector<UndoablePlan>& plans);

// Begins the restore point when asked for; false, with a line saying so,
// when it is not available.
bool BeginRestorePointIfAsked(SystemAccess& system, bool asked, RestorePoint* point);

// The closing lines of a run, whichever way it ends, each only where it has
// something to say: the settings passed over as run as LocalSystem, those a
// Group Policy decides, those of the changed ones that take effect only
// after a logon or a restart.
std::string RunTail(const ChangeRun& run);
void WriteRunTail(const ChangeRun& run);

// Scripts read the standard output; a person at a console reads the
// console; otherwise a message box shows the text.
void Show(const std::string& text);

// The lines before a setting's apply, each when it holds: why it would stop
// this machine's updates, and that it needs a part of 64-bit Windows this
// program cannot reach there.
void WriteBeforeApply(SystemAccess& system, SettingId id);
