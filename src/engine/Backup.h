#pragma once
// What the machine had before the program first changed it, kept in the
// registry so that undo can put it back exactly: machine-wide locations and
// services below HKLM\SOFTWARE\Hushgate\Backup (on XP administrators and
// Power Users can write there), the user's own below
// HKCU\Software\Hushgate\Backup, which the user can write. One key per
// setting, one subkey per location, in the order they were captured.

#include <string>
#include <vector>

#include "engine/SettingId.h"
#include "engine/ApplyPlan.h"
#include "engine/SettingPlan.h"
#include "platform/WinTypes.h"
#include "system/RegistryView.h"

class SystemAccess;

// One place a change writes to.
struct BackupLocation {
  enum class Kind : DWORD { kValue = 1, kKeyTree = 2, kService = 3, kKeyChain = 4 };
  Kind kind;
  HKEY root;         // registry kinds; services live in HKLM's backup
  std::string path;  // key path
  std::string name;  // value name, or the service's name
  DWORD requiredKeys = 0;  // kKeyChain: the keys along the path apply needs to exist
  bool anyServerNumber = false;  // a time-server value: undo accepts it named by any server's number
  // Which registry of a 64-bit Windows: each item records it there, and undo
  // puts the item back where it was; an item without one, from an earlier
  // version, means the 32-bit view that version wrote. Undo takes an item of
  // the plan's own location in either view.
  RegistryView view = RegistryView::kSystem;
};

// A plan whose changes the backup keeps and undo gives back: one setting's,
// or the time-server dialog's. Capture, undo, their reports and the event
// log take every plan alike.
struct SettingEntry;

struct UndoablePlan {
  const SettingEntry* setting = nullptr;  // the setting's own plan; nullptr for the time server's
  std::string entry;   // its key in the backup
  std::string number;  // how reports name it: the setting's number, or "-"
  int labelId = 0;
  int eventNameId = 0;  // what the event log calls it, given its number
  bool byPrograms = false;  // carried out by launched programs: nothing to capture or undo
  SettingScope scope = SettingScope::kMachine;
  std::vector<BackupLocation> locations;  // every place it may write: all undo accepts
};

// The plan of a setting; one without locations for a number that names none.
UndoablePlan PlanOf(SettingId id);

enum class ChangeKind { kApply, kRevert };

// The locations the change of the setting writes to.
std::vector<BackupLocation> LocationsOfChange(SettingId id, ChangeKind change);

// Why a capture was not made: a location that could not be read (neither
// what is there nor that nothing is there is known), or a backup area
// (HKLM's or the user's) that could not be written.
struct CaptureFailure {
  enum class Cause { kNone, kUnreadable, kNotWritten };
  Cause cause = Cause::kNone;
  HKEY area = nullptr;  // kNotWritten: the backup area's root
};

// Captures each location that the plan's backup does not hold yet as an
// item undo would take: the first capture wins, so the backup keeps what the
// machine had before the program first touched it. False when the backup
// could not be written or a location could not be read (nothing is kept for
// it, so a later capture can still be the first); *failure, when given, gets
// the cause, an unreadable location before an area that refused.
bool Capture(SystemAccess& system, const UndoablePlan& plan,
             const std::vector<BackupLocation>& locations, CaptureFailure* failure = nullptr);

// Notes whether the program has switched the setting off, for telling a
// setting that was switched on again since. False when it was not written.
bool MarkSwitchedOff(SystemAccess& system, SettingId id, bool off);

bool HasBackup(SystemAccess& system, const UndoablePlan& plan);
inline bool HasBackup(SystemAccess& system, SettingId id) { return HasBackup(system, PlanOf(id)); }
bool WasSwitchedOff(SystemAccess& system, SettingId id);
// The plans, the settings' and the time server's, whose backup holds
// captured locations.
std::vector<UndoablePlan> PlansWithBackup(SystemAccess& system);

// True when the setting's backup holds what the value was before the program
// first changed it, and it is something else now (or it was not there): the
// value as it stands is the program's doing.
bool ChangedSinceCapture(SystemAccess& system, SettingId id, HKEY root, const std::string& path,
                         const std::string& name);

struct UndoResult {
  // kPerUser: left alone, as run as LocalSystem; kPolicy: left alone, as a
  // Group Policy decides the setting.
  enum class Outcome { kRestored, kNoBackup, kCannotUndo, kFailed, kPerUser, kPolicy };
  Outcome outcome;
  std::vector<std::string> problems;  // one line each, for kFailed
  // An item was put back, whether or not it read back so: the machine may
  // have changed, as a restore point must know.
  bool wroteSomething = false;
  // One line each about what was restored: under WOW64, an item of an
  // earlier version restored in the 32-bit view.
  std::vector<std::string> notes = {};
};

// Puts back what the plan's backup holds, trusting none of it: only
// locations the plan itself changes, with valid types and sizes, are
// written. Reads every location back; restored entries leave the backup.
UndoResult Undo(SystemAccess& system, const UndoablePlan& plan);
inline UndoResult Undo(SystemAccess& system, SettingId id) { return Undo(system, PlanOf(id)); }
