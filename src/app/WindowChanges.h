#pragma once
// The main window's runs of changes, apart from its windows so that they run
// and can be tested without one: apply, the reverts (reset all, one setting,
// what a profile wants back on) and undo. Each asks what it must before its
// first change (the restore point, going on without a backup) and shows its
// messages in boxes the window owns; the window refreshes its tree after.

#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/RecordedChanges.h"
#include "engine/Safeguards.h"
#include "engine/SettingId.h"
#include "platform/WinTypes.h"

class SystemAccess;

// The labels of the settings or plans, one a line, as the window lists them.
std::string Labels(const std::vector<SettingId>& ids);
std::string Labels(const std::vector<UndoablePlan>& plans);

class WindowChanges {
 public:
  WindowChanges(SystemAccess& system, HWND owner, bool restorePointChosen);

  // Applies the chosen settings. False when the user stopped before any
  // change; else *outcome holds what the window says afterwards: what was
  // chosen and is not off, what takes effect later (empty: nothing to say).
  bool Apply(const std::vector<SettingId>& chosen, std::string* outcome);
  // Switches the settings back on, saying why where one cannot begin; false
  // when the user stopped before any change.
  bool Revert(const std::vector<SettingId>& ids);
  // Lists what comes back and what cannot, asks, and restores: false when
  // there was nothing or the user said no, else *outcome holds how it went.
  bool Undo(std::string* outcome);

 private:
  int ShowMessage(const std::string& text, UINT buttons);
  bool AskNoByDefault(const std::string& text);
  bool RestorePointOrGoOn(RestorePoint* point);
  bool CapturedOrGoOn(const MissedCaptures& missed, RestorePoint* point);

  SystemAccess& system_;
  HWND owner_;
  bool restorePointChosen_;
};
