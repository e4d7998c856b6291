#pragma once
// One run of changes, whichever front end asks for it: the command line's
// numbers, a profile, /undo, and the window's apply, reverts, undo and
// profile load. It looks at the policies once for the whole run, decides
// each setting once, captures what a change writes before its first change,
// carries the change out and logs it, and keeps what the front end prints or
// asks afterwards. The front ends keep their parsing, rights, restore point,
// questions and printing.

#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/PolicyPlan.h"
#include "engine/Profile.h"
#include "engine/RecordedChanges.h"
#include "engine/SettingId.h"

class SystemAccess;

// What bringing a setting to a wanted state means on this machine.
enum class ChangeAction {
  kNone,        // as wanted already, or left alone
  kApply,
  kRevert,
  kNotOffered,  // wanted off, but this machine does not offer it
  kCannotUndo,  // wanted on, but it cannot be brought back
  kPerUser,     // run as LocalSystem: left to a logon script
  kPolicy,      // a Group Policy decides it, and not as wanted
  kUnknown,     // its service could not be asked: whether it is as wanted is not known
};

// The word a run reports for the outcome of the action.
const char* OutcomeWord(ChangeAction action, bool done);

class ChangeRun {
 public:
  ChangeRun(SystemAccess& system, bool runsAsSystem);
  ChangeRun(const ChangeRun&) = delete;
  ChangeRun& operator=(const ChangeRun&) = delete;

  // What the run's one look at the policies makes of the setting, and that
  // look itself, for reports made in the run.
  const PolicyDecision& Policy(SettingId id);
  PolicyView& Policies() { return policies_; }

  // A profile's entry: what bringing the setting to the wanted state means
  // here; a setting already as wanted is left alone.
  ChangeAction Decide(SettingId id, Wanted wanted);
  // The command line's number: an apply whatever the setting's state,
  // unless it is left to a logon script or a policy decides it.
  ChangeAction DecideApply(SettingId id);

  // The window asks before any change: every capture first, and what they
  // could not keep. A step does not capture again what was tried here.
  MissedCaptures CaptureAll(const std::vector<SettingId>& ids, ChangeKind change);

  // One step carried out, for the front end's line.
  struct Step {
    bool done = false;         // the setting is as wanted afterwards
    std::string noBackupLine;  // why its capture failed; empty when it did not, or told already
    int refusal = 0;           // why a revert could not begin, or could not be had at all
  };
  // Carries the action out: an apply or revert captured first and logged; a
  // policy's pass-over logged; every action counted.
  Step Carry(SettingId id, ChangeAction action);

  // Puts back what the plan's backup holds, as the run's account may.
  UndoResult Undo(const UndoablePlan& plan);

  // What the front end prints or asks afterwards.
  bool ChangedAnything() const { return changed_; }  // a change was tried on one not as wanted
  bool WroteSomething() const { return wrote_; }     // an undo wrote something back
  bool AllAsWanted() const { return allAsWanted_; }
  const std::vector<std::string>& PassedOver() const { return passedOver_; }
  const std::vector<SettingId>& DecidedByPolicy() const { return decidedByPolicy_; }
  // Of the settings changed, those that take effect only after a logon or a restart.
  std::vector<SettingId> TakingEffectLater() const;

 private:
  bool CaptureOnce(SettingId id, ChangeKind change, CaptureFailure* failure);
  void Capture(SettingId id, ChangeKind change, std::string* noBackupLine);
  Step ApplyOne(SettingId id);
  Step RevertOne(SettingId id);

  SystemAccess& system_;
  const bool runsAsSystem_;
  PolicyView policies_;
  // By setting: the policies' decision once looked at; the capture before
  // apply and before revert once tried (1 made, 0 failed, -1 not tried);
  // the state wanted.
  std::vector<PolicyDecision> decisions_;
  std::vector<bool> decided_;
  std::vector<int> captures_[2];
  std::vector<Wanted> wanted_;
  bool toldRefusal_ = false;
  bool changed_ = false;
  bool wrote_ = false;
  bool allAsWanted_ = true;
  std::vector<std::string> passedOver_;
  std::vector<SettingId> decidedByPolicy_;
  std::vector<SettingId> changedAndDone_;
};
