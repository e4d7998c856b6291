#include "app/ProfileCommands.h"

#include <utility>
#include <vector>

#include "app/CommandChecks.h"
#include "app/CommandLineReader.h"
#include "engine/ApplyPlan.h"
#include "engine/Availability.h"
#include "engine/PolicyPlan.h"
#include "engine/ChangeRun.h"
#include "engine/ProfileChecks.h"
#include "engine/RecordedChanges.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

namespace {

const char kEnd[] = "\r\n";

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + kEnd;
  return text;
}

std::string Numbers(const std::vector<SettingId>& ids) {
  std::string text;
  for (SettingId id : ids) text += (text.empty() ? "" : ", ") + std::to_string(id);
  return text;
}

int Finished(const Profile& profile, bool asWanted) {
  if (!asWanted) return kSomeNotDone;
  return profile.skipped.empty() ? kAllDone : kEntriesSkipped;
}

// What the profile asks of each setting, decided once for the run; the
// settings already as wanted are not touched.
std::vector<std::pair<SettingId, ChangeAction>> StepsOf(ChangeRun& run, const Profile& profile,
                                                       std::vector<SettingId>* changing) {
  std::vector<std::pair<SettingId, ChangeAction>> steps;
  for (const auto& [id, wanted] : profile.wanted) {
    const ChangeAction action = run.Decide(id, wanted);
    if (action != ChangeAction::kNone) steps.push_back({id, action});
    if (action == ChangeAction::kApply || action == ChangeAction::kRevert) changing->push_back(id);
  }
  return steps;
}

// One line per setting acted on, and below it why, where it is not as
// wanted for a reason the user can act on.
void CarryStep(ChangeRun& run, SystemAccess& system, SettingId id, ChangeAction action) {
  if (action == ChangeAction::kApply) WriteBeforeApply(system, id);
  const ChangeRun::Step step = run.Carry(id, action);
  const bool why = !step.done && step.refusal;
  platform::WriteOutput((step.noBackupLine.empty() ? "" : step.noBackupLine + kEnd) +
                        std::to_string(id) + "\t" + OutcomeWord(action, step.done) + "\t" +
                        Text(FindSetting(id)->labelId) + kEnd +
                        (why ? "\t" + Text(step.refusal) + kEnd : ""));
}

}  // namespace

int RunProfile(SystemAccess& system, const std::string& file, bool restorePointAsked) {
  LoadedProfile loaded = LoadProfile(file);
  if (!loaded.problem.empty()) {
    Show(loaded.problem + kEnd);
    return kMistyped;
  }
  platform::WriteOutput(Lines(loaded.profile.skipped));
  ChangeRun run(system, platform::IsLocalSystem());
  std::vector<SettingId> changing;
  const auto steps = StepsOf(run, loaded.profile, &changing);
  // Nothing is changed unless everything it needs is there.
  if (!HasRightsFor(changing)) return kNothingChanged;
  RestorePoint restorePoint;
  if (!BeginRestorePointIfAsked(system, restorePointAsked, &restorePoint)) return kNothingChanged;
  for (const auto& [id, action] : steps) CarryStep(run, system, id, action);
  restorePoint.End(run.ChangedAnything());
  WriteRunTail(run);
  return Finished(loaded.profile, run.AllAsWanted());
}

int ShowProfileStatus(SystemAccess& system, const std::string& file) {
  LoadedProfile loaded = LoadProfile(file);
  if (!loaded.problem.empty()) {
    Show(loaded.problem + kEnd);
    return kMistyped;
  }
  bool drift = false;
  Show(ProfileStatusReport(system, loaded.profile, platform::IsLocalSystem(), &drift) +
       Lines(loaded.profile.skipped));
  return Finished(loaded.profile, !drift);
}

int ShowProfilePreview(SystemAccess& system, const std::string& file) {
  LoadedProfile loaded = LoadProfile(file);
  if (!loaded.problem.empty()) {
    Show(loaded.problem + kEnd);
    return kMistyped;
  }
  Show(Lines(loaded.profile.skipped) +
       ProfilePreview(system, loaded.profile, platform::IsLocalSystem()));
  return Finished(loaded.profile, true);
}

int SaveMachineProfile(SystemAccess& system, const std::string& file) {
  const bool asSystem = platform::IsLocalSystem();
  ServiceControl::SharedManager oneManager(system.Services());
  std::map<SettingId, Wanted> state;
  std::vector<std::string> passedOver;
  std::vector<SettingId> unknown;
  // As LocalSystem the per-user settings read another account's hive, a
  // setting this machine does not offer says nothing of what is wanted, and
  // a service that could not be asked is neither off nor on: all are left
  // alone rather than written from them, and the first and last are named.
  for (SettingId id : SettingsInReports()) {
    const SettingEntry& setting = *FindSetting(id);
    state[id] = Wanted::kLeave;
    if (IsLeftToLogonScript(setting, asSystem))
      passedOver.push_back(std::to_string(id));
    else if (IsSettingUnknown(system, setting))
      unknown.push_back(id);
    else if (IsSettingOffered(system, setting) && IsSettingOff(system, id))
      state[id] = Wanted::kOff;
  }
  const SavedProfile saved =
      SaveProfile(file, state, system.ComputerName(), system.LocalTimeText());
  if (!saved.problem.empty()) {
    Show(saved.problem + kEnd);
    return saved.refused ? kMistyped : kSomeNotDone;
  }
  platform::WriteOutput(LeftToLogonScripts(passedOver));
  if (unknown.empty()) return kAllDone;
  platform::WriteOutput(FormatText(IDS_PROFILE_UNKNOWN_SERVICES, {Numbers(unknown)}) + kEnd);
  return kSomeNotDone;
}
