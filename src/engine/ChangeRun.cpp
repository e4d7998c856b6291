#include "engine/ChangeRun.h"

#include "engine/ApplyPlan.h"
#include "engine/Availability.h"
#include "engine/Consequences.h"
#include "engine/SettingCatalogue.h"
#include "engine/StatusCheck.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

const char* OutcomeWord(ChangeAction action, bool done) {
  switch (action) {
    case ChangeAction::kNotOffered:
      return "not-offered";
    case ChangeAction::kCannotUndo:
      return "cannot-undo";
    case ChangeAction::kPerUser:
      return "per-user";
    case ChangeAction::kPolicy:
      return "policy";
    case ChangeAction::kUnknown:
      return "unknown";
    default:
      return done ? "done" : "failed";
  }
}

ChangeRun::ChangeRun(SystemAccess& system, bool runsAsSystem)
    : system_(system),
      runsAsSystem_(runsAsSystem),
      policies_(system),
      decisions_(kLastSettingId + 1),
      decided_(kLastSettingId + 1),
      captures_{std::vector<int>(kLastSettingId + 1, -1), std::vector<int>(kLastSettingId + 1, -1)},
      wanted_(kLastSettingId + 1, Wanted::kOff) {}

const PolicyDecision& ChangeRun::Policy(SettingId id) {
  static const PolicyDecision kNone;
  if (id > kLastSettingId) return kNone;
  if (!decided_[id]) decisions_[id] = policies_.Decide(id);
  decided_[id] = true;
  return decisions_[id];
}

ChangeAction ChangeRun::Decide(SettingId id, Wanted wanted) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting || wanted == Wanted::kLeave) return ChangeAction::kNone;
  wanted_[id] = wanted;
  if (IsLeftToLogonScript(*setting, runsAsSystem_)) return ChangeAction::kPerUser;
  // Windows would put a policy's value back: nothing here changes it.
  const PolicyDecision& policy = Policy(id);
  if (policy.decided())
    return (policy.state == PolicyState::kOff) == (wanted == Wanted::kOff) ? ChangeAction::kNone
                                                                           : ChangeAction::kPolicy;
  // Neither off nor on is known of a service that could not be asked.
  if (IsSettingUnknown(system_, *setting)) return ChangeAction::kUnknown;
  const bool off = IsSettingOffLocally(system_, id);
  if (wanted == Wanted::kOff) {
    if (off) return ChangeAction::kNone;
    return IsSettingOffered(system_, *setting) ? ChangeAction::kApply : ChangeAction::kNotOffered;
  }
  if (!off) return ChangeAction::kNone;
  return setting->revertible ? ChangeAction::kRevert : ChangeAction::kCannotUndo;
}

ChangeAction ChangeRun::DecideApply(SettingId id) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting) return ChangeAction::kNone;
  wanted_[id] = Wanted::kOff;
  if (IsLeftToLogonScript(*setting, runsAsSystem_)) return ChangeAction::kPerUser;
  return Policy(id).decided() ? ChangeAction::kPolicy : ChangeAction::kApply;
}

bool ChangeRun::CaptureOnce(SettingId id, ChangeKind change, CaptureFailure* failure) {
  int& tried = captures_[change == ChangeKind::kApply ? 0 : 1][id];
  if (tried < 0)
    tried = change == ChangeKind::kApply ? CaptureBeforeApply(system_, id, failure)
                                         : CaptureBeforeRevert(system_, id, failure);
  return tried == 1;
}

// A backup area that refuses is told once a run, a value that cannot be read
// for each setting.
void ChangeRun::Capture(SettingId id, ChangeKind change, std::string* noBackupLine) {
  CaptureFailure failure;
  if (CaptureOnce(id, change, &failure) || failure.cause == CaptureFailure::Cause::kNone) return;
  const bool refused = failure.cause == CaptureFailure::Cause::kNotWritten;
  if (!(refused && toldRefusal_)) *noBackupLine = NoBackupLine(id, failure);
  toldRefusal_ |= refused;
}

MissedCaptures ChangeRun::CaptureAll(const std::vector<SettingId>& ids, ChangeKind change) {
  MissedCaptures missed;
  for (SettingId id : ids) {
    CaptureFailure failure;
    const bool captured = CaptureOnce(id, change, &failure);
    missed.Note(FindSetting(id)->labelId, captured, failure);
  }
  return missed;
}

// Done when apply succeeded, or when the function is off afterwards all the
// same (a value that was already deleted, an installer that returned an
// error after doing its work).
ChangeRun::Step ChangeRun::ApplyOne(SettingId id) {
  Step step;
  const bool wasOff = StatusCheck(system_, id);
  Capture(id, ChangeKind::kApply, &step.noBackupLine);
  step.done = ApplyAndReport(system_, id, Policy(id)) || IsSettingOff(system_, id, Policy(id));
  if (wasOff) return step;
  changed_ = true;
  if (step.done) changedAndDone_.push_back(id);
  return step;
}

// Done when revert succeeded, or the function is on afterwards all the same;
// a refusal is kept either way, for the window says why it did not begin.
ChangeRun::Step ChangeRun::RevertOne(SettingId id) {
  Step step;
  Capture(id, ChangeKind::kRevert, &step.noBackupLine);
  step.done = RevertAndReport(system_, id, Policy(id), &step.refusal) ||
              !IsSettingOff(system_, id, Policy(id));
  changed_ = true;
  if (step.done) changedAndDone_.push_back(id);
  return step;
}

ChangeRun::Step ChangeRun::Carry(SettingId id, ChangeAction action) {
  Step step;
  switch (action) {
    case ChangeAction::kApply:
      step = ApplyOne(id);
      break;
    case ChangeAction::kRevert:
      step = RevertOne(id);
      break;
    case ChangeAction::kPolicy:
      decidedByPolicy_.push_back(id);
      ReportDecidedByPolicy(system_, id, Policy(id));
      step.done = (Policy(id).state == PolicyState::kOff) == (wanted_[id] == Wanted::kOff);
      break;
    case ChangeAction::kPerUser:
      passedOver_.push_back(std::to_string(id));
      step.done = true;
      break;
    case ChangeAction::kCannotUndo:
      step.refusal = IDS_CANNOT_REVERT;
      break;
    case ChangeAction::kUnknown:
      break;
    case ChangeAction::kNone:
    case ChangeAction::kNotOffered:
      step.done = true;
      break;
  }
  allAsWanted_ &= step.done;
  return step;
}

UndoResult ChangeRun::Undo(const UndoablePlan& plan) {
  UndoResult result{UndoResult::Outcome::kPerUser, {}};
  if (IsLeftToLogonScript(plan.scope, runsAsSystem_))
    passedOver_.push_back(plan.number);
  else
    result = UndoAndReport(system_, plan, policies_);
  wrote_ |= result.wroteSomething;
  allAsWanted_ &= result.outcome != UndoResult::Outcome::kCannotUndo &&
                  result.outcome != UndoResult::Outcome::kFailed &&
                  result.outcome != UndoResult::Outcome::kPolicy;
  return result;
}

std::vector<SettingId> ChangeRun::TakingEffectLater() const {
  return ::TakingEffectLater(changedAndDone_);
}
