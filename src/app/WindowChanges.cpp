#include "app/WindowChanges.h"

#include <algorithm>

#include "engine/ChangeRun.h"
#include "engine/Consequences.h"
#include "engine/Mechanisms.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"

namespace {

// What failed, then what changed but waits for a logon or restart; empty
// when there is nothing to say.
std::string ApplyOutcome(const std::vector<SettingId>& wereOn,
                         const std::vector<SettingId>& notApplied) {
  std::vector<SettingId> changed;
  for (SettingId id : wereOn)
    if (std::find(notApplied.begin(), notApplied.end(), id) == notApplied.end())
      changed.push_back(id);
  std::string message;
  if (!notApplied.empty()) message = FormatText(IDS_NOT_APPLIED, {Labels(notApplied)});
  std::vector<SettingId> later = TakingEffectLater(changed);
  if (!later.empty())
    message += (message.empty() ? "" : "\n") + FormatText(IDS_EFFECT_LATER, {Labels(later)});
  return message;
}

// The settings that cannot come back and were switched off here, without a
// backup that would tell otherwise.
std::vector<UndoablePlan> LostForGood(SystemAccess& system) {
  std::vector<UndoablePlan> lost;
  for (const SettingEntry& setting : AllSettings())
    if (!setting.revertible && !IsNoAction(setting) && WasSwitchedOff(system, setting.id) &&
        !HasBackup(system, setting.id))
      lost.push_back(PlanOf(setting.id));
  return lost;
}

}  // namespace

std::string Labels(const std::vector<UndoablePlan>& plans) {
  std::string text;
  for (const UndoablePlan& plan : plans) text += Text(plan.labelId) + "\n";
  return text;
}

std::string Labels(const std::vector<SettingId>& ids) {
  std::vector<UndoablePlan> plans;
  for (SettingId id : ids) plans.push_back(PlanOf(id));
  return Labels(plans);
}

WindowChanges::WindowChanges(SystemAccess& system, HWND owner, bool restorePointChosen)
    : system_(system), owner_(owner), restorePointChosen_(restorePointChosen) {}

int WindowChanges::ShowMessage(const std::string& text, UINT buttons) {
  return platform::ShowMessageBox(owner_, text.c_str(), platform::ProgramName().c_str(),
                                  buttons | MB_ICONEXCLAMATION);
}

// Going on without a backup or a restore point is the user's choice: No by
// default, since what is lost then cannot be had again.
bool WindowChanges::AskNoByDefault(const std::string& text) {
  return platform::ShowMessageBox(owner_, text.c_str(), platform::ProgramName().c_str(),
                                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

// A restore point that was asked for and cannot be made: going on without
// it is the user's choice. System Restore is never touched.
bool WindowChanges::RestorePointOrGoOn(RestorePoint* point) {
  return !restorePointChosen_ || point->Begin(system_) ||
         AskNoByDefault(Text(IDS_RESTORE_POINT_ASK));
}

// Without the backup, going on means the values of before are lost; the
// question names why it could not be made. When the user stops, the restore
// point begun for the change ends unused.
bool WindowChanges::CapturedOrGoOn(const MissedCaptures& missed, RestorePoint* point) {
  if (!missed.Any() || AskNoByDefault(missed.Question())) return true;
  point->End(false);
  return false;
}

// No silent failure: what was chosen and is not off afterwards is named. The
// account's deletion runs on after apply returns: its start counts.
bool WindowChanges::Apply(const std::vector<SettingId>& chosen, std::string* outcome) {
  RestorePoint restorePoint;
  if (!RestorePointOrGoOn(&restorePoint)) return false;
  ChangeRun run(system_, false);
  std::vector<SettingId> wereOn;
  for (SettingId id : chosen)
    if (!IsSettingOff(system_, id, run.Policy(id))) wereOn.push_back(id);
  if (!CapturedOrGoOn(run.CaptureAll(chosen, ChangeKind::kApply), &restorePoint)) return false;
  std::vector<SettingId> notApplied;
  for (SettingId id : chosen) {
    const SettingEntry& setting = *FindSetting(id);
    const bool applied = ApplyAndReport(system_, id, run.Policy(id));
    if (!IsNoAction(setting) && !IsSettingOff(system_, id, run.Policy(id)) &&
        (FunctionsOf(setting.mechanism).waitedFor || !applied))
      notApplied.push_back(id);
  }
  restorePoint.End(!wereOn.empty());
  *outcome = ApplyOutcome(wereOn, notApplied);
  return true;
}

bool WindowChanges::Revert(const std::vector<SettingId>& ids) {
  RestorePoint restorePoint;
  if (!RestorePointOrGoOn(&restorePoint)) return false;
  ChangeRun run(system_, false);
  if (!CapturedOrGoOn(run.CaptureAll(ids, ChangeKind::kRevert), &restorePoint)) return false;
  for (SettingId id : ids)
    if (int refusal = run.Carry(id, ChangeAction::kRevert).refusal) ShowMessage(Text(refusal), MB_OK);
  restorePoint.End(true);
  return true;
}

bool WindowChanges::Undo(std::string* outcome) {
  std::vector<UndoablePlan> restorable = PlansWithBackup(system_);
  if (restorable.empty()) {
    ShowMessage(Text(IDS_NO_BACKUP), MB_OK);
    return false;
  }
  std::vector<UndoablePlan> lost = LostForGood(system_);
  std::string list = Labels(restorable);
  if (!lost.empty()) list += "\n" + Text(IDS_UNDO_CANNOT) + "\n" + Labels(lost);
  if (platform::ShowMessageBox(owner_, FormatText(IDS_UNDO_CONFIRM, {list}).c_str(),
                               platform::ProgramName().c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  RestorePoint restorePoint;
  if (!RestorePointOrGoOn(&restorePoint)) return false;
  ChangeRun run(system_, false);
  std::string failures;
  for (const UndoablePlan& plan : restorable) {
    const UndoResult result = run.Undo(plan);
    if (result.outcome == UndoResult::Outcome::kFailed) failures += UndoReport(plan, result);
  }
  restorePoint.End(run.WroteSomething());
  *outcome = failures.empty() ? Text(IDS_UNDO_DONE) : FormatText(IDS_UNDO_FAILED, {failures});
  return true;
}
