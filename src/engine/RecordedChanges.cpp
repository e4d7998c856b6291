#include "engine/RecordedChanges.h"

#include <string>

#include "engine/Apply.h"
#include "engine/Revert.h"
#include "engine/SettingCatalogue.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "system/SystemAccess.h"
#include "res/resource.h"
#include "system/EventLog.h"

namespace {

// What the event log keeps: who changed what, and how it ended.
void Report(SystemAccess& system, const std::string& what, bool succeeded) {
  ReportToEventLog(FormatText(IDS_EVENT_USER, {system.UserName()}) + "\r\n" + what + "\r\n" +
                       FormatText(IDS_EVENT_RESULT,
                                  {Text(succeeded ? IDS_EVENT_DONE : IDS_EVENT_FAILED)}),
                   succeeded);
}

std::string Setting(SettingId id) { return FormatText(IDS_EVENT_SETTING, {std::to_string(id)}); }

}  // namespace

bool CaptureBeforeApply(SystemAccess& system, SettingId id, CaptureFailure* failure) {
  return Capture(system, PlanOf(id), LocationsOfChange(id, ChangeKind::kApply), failure);
}

bool CaptureBeforeRevert(SystemAccess& system, SettingId id, CaptureFailure* failure) {
  return Capture(system, PlanOf(id), LocationsOfChange(id, ChangeKind::kRevert), failure);
}

bool MissedCaptures::Note(int labelId, bool captured, const CaptureFailure& failure) {
  if (captured) return true;
  any_ = true;
  if (failure.cause == CaptureFailure::Cause::kUnreadable)
    unreadable_.push_back(labelId);
  else if (!refusedArea_ || failure.area == HKEY_LOCAL_MACHINE)
    refusedArea_ = failure.area;
  return false;
}

std::string MissedCaptures::Question() const {
  if (unreadable_.empty())
    return Text(refusedArea_ == HKEY_CURRENT_USER ? IDS_NO_BACKUP_ASK_USER : IDS_NO_BACKUP_ASK);
  std::string labels;
  for (int labelId : unreadable_) labels += Text(labelId) + "\n";
  return FormatText(IDS_NO_BACKUP_ASK_UNREADABLE, {labels});
}

std::string NoBackupLine(SettingId id, const CaptureFailure& failure) {
  const SettingEntry* setting = FindSetting(id);
  if (failure.cause != CaptureFailure::Cause::kUnreadable || !setting)
    return Text(IDS_NO_BACKUP_GOING_ON);
  return FormatText(IDS_NO_BACKUP_GOING_ON_UNREADABLE,
                    {std::to_string(id) + " (" + Text(setting->labelId) + ")"});
}

// Numbers that change nothing leave no trace in the log.
bool ChangesSomething(SettingId id, ChangeKind change) {
  const SettingEntry* setting = FindSetting(id);
  return setting && !IsNoAction(*setting) && (change == ChangeKind::kApply || setting->revertible);
}

bool ApplyAndReport(SystemAccess& system, SettingId id) {
  return ApplyAndReport(system, id, DecidingPolicy(system, id));
}

bool ApplyAndReport(SystemAccess& system, SettingId id, const PolicyDecision& policy) {
  if (!ChangesSomething(id, ChangeKind::kApply)) return Apply(system, id, policy);
  bool applied = Apply(system, id, policy);
  if (applied || IsSettingOff(system, id, policy)) MarkSwitchedOff(system, id, true);
  Report(system, Text(IDS_EVENT_APPLY) + "\r\n" + Setting(id), applied);
  return applied;
}

bool RevertAndReport(SystemAccess& system, SettingId id, int* refusal) {
  return RevertAndReport(system, id, DecidingPolicy(system, id), refusal);
}

bool RevertAndReport(SystemAccess& system, SettingId id, const PolicyDecision& policy,
                     int* refusal) {
  if (!ChangesSomething(id, ChangeKind::kRevert)) return Revert(system, id, policy, refusal);
  // Passed over, not failed: the log says which policy value decides it.
  if (policy.decided()) {
    ReportDecidedByPolicy(system, id, policy);
    return Revert(system, id, policy, refusal);
  }
  bool reverted = Revert(system, id, policy, refusal);
  MarkSwitchedOff(system, id, false);
  Report(system, Text(IDS_EVENT_REVERT) + "\r\n" + Setting(id), reverted);
  return reverted;
}

UndoResult UndoAndReport(SystemAccess& system, const UndoablePlan& plan) {
  PolicyView policies(system);
  return UndoAndReport(system, plan, policies);
}

UndoResult UndoAndReport(SystemAccess& system, const UndoablePlan& plan, PolicyView& policies) {
  if (plan.setting) {
    const PolicyDecision policy = policies.Decide(plan.setting->id);
    if (policy.decided()) {
      ReportDecidedByPolicy(system, plan.setting->id, policy);
      return {UndoResult::Outcome::kPolicy, {}};
    }
  }
  UndoResult result = Undo(system, plan);
  if (result.outcome == UndoResult::Outcome::kRestored ||
      result.outcome == UndoResult::Outcome::kFailed) {
    std::string what =
        Text(IDS_EVENT_UNDO) + "\r\n" + FormatText(plan.eventNameId, {plan.number});
    for (const std::string& problem : result.problems) what += "\r\n" + problem;
    Report(system, what, result.outcome == UndoResult::Outcome::kRestored);
  }
  return result;
}

void ReportDecidedByPolicy(SystemAccess& system, SettingId id, const PolicyDecision& policy) {
  Report(system, FormatText(IDS_EVENT_POLICY, {policy.source}) + "\r\n" + Setting(id),
         policy.state == PolicyState::kOff);
}

void ReportTimeServerChange(SystemAccess& system, bool applied, const char* host) {
  Report(system, FormatText(IDS_EVENT_TIME_SERVER, {PrintableText(host)}), applied);
}
