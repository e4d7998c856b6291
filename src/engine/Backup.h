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
#include "platform/WinTypes.h"

class SystemAccess;

// The backup of the time-server dialog's values, beside the settings'.
constexpr SettingId kTimeServerBackup = 100;

// One place a change writes to.
struct BackupLocation {
  enum class Kind : DWORD { kValue = 1, kKeyTree = 2, kService = 3, kKeyChain = 4 };
  Kind kind;
  HKEY root;         // registry kinds; services live in HKLM's backup
  std::string path;  // key path
  std::string name;  // value name, or the service's name
  DWORD requiredKeys = 0;  // kKeyChain: the keys along the path apply needs to exist
};

enum class ChangeKind { kApply, kRevert };

// The locations the change of the setting writes to.
std::vector<BackupLocation> LocationsOfChange(SettingId id, ChangeKind change);
// The time-server dialog's values, for the server number it writes.
std::vector<BackupLocation> TimeServerLocations(int serverNumber);

// Captures each location that the backup of the setting does not hold yet:
// the first capture wins, so the backup keeps what the machine had before
// the program first touched it. False when the backup could not be written.
bool Capture(SystemAccess& system, SettingId id, const std::vector<BackupLocation>& locations);

// Notes whether the program has switched the setting off, for telling a
// setting that was switched on again since. False when it was not written.
bool MarkSwitchedOff(SystemAccess& system, SettingId id, bool off);

bool HasBackup(SystemAccess& system, SettingId id);
bool WasSwitchedOff(SystemAccess& system, SettingId id);
// Settings (and kTimeServerBackup) whose backup holds captured locations.
std::vector<SettingId> SettingsWithBackup(SystemAccess& system);

struct UndoResult {
  // kPerUser: left alone, as run as LocalSystem.
  enum class Outcome { kRestored, kNoBackup, kCannotUndo, kFailed, kPerUser };
  Outcome outcome;
  std::vector<std::string> problems;  // one line each, for kFailed
};

// Puts back what the backup of the setting holds, trusting none of it: only
// locations the setting itself changes, with valid types and sizes, are
// written. Reads every location back; restored entries leave the backup.
UndoResult Undo(SystemAccess& system, SettingId id);
