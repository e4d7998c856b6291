#include "app/ProfileCommands.h"

#include <utility>
#include <vector>

#include "app/CommandChecks.h"
#include "app/CommandLineReader.h"
#include "engine/ApplyPlan.h"
#include "engine/Availability.h"
#include "engine/PolicyPlan.h"
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

// Carries one action out; true when the setting is as wanted afterwards
// (the operation reported a failure after doing its work, or the
// function was already so). A failed revert says why on the line below.
bool Carry(SystemAccess& system, SettingId id, ProfileAction action, bool* toldRefusal,
           std::string* reason) {
  int refusal = 0;
  CaptureFailure failure;
  const bool captured = action == ProfileAction::kApply ? CaptureBeforeApply(system, id, &failure)
                                                        : CaptureBeforeRevert(system, id, &failure);
  if (!captured) WriteNoBackup(id, failure, toldRefusal);
  if (action == ProfileAction::kApply)
    return ApplyAndReport(system, id) || IsSettingOff(system, id);
  const bool done = RevertAndReport(system, id, &refusal) || !IsSettingOff(system, id);
  if (!done && refusal) *reason = Text(refusal);
  return done;
}

}  // namespace

int RunProfile(SystemAccess& system, const std::string& file, bool restorePointAsked) {
  LoadedProfile loaded = LoadProfile(file);
  if (!loaded.problem.empty()) {
    Show(loaded.problem + kEnd);
    return kMistyped;
  }
  platform::WriteOutput(Lines(loaded.profile.skipped));
  const bool asSystem = platform::IsLocalSystem();
  std::vector<std::pair<SettingId, ProfileAction>> steps;
  std::vector<SettingId> changing;
  for (const auto& [id, wanted] : loaded.profile.wanted) {
    const ProfileAction action = ActionFor(system, id, wanted, asSystem);
    if (action != ProfileAction::kNone) steps.push_back({id, action});
    if (action == ProfileAction::kApply || action == ProfileAction::kRevert) changing.push_back(id);
  }
  // Nothing is changed unless everything it needs is there.
  if (!HasRightsFor(changing)) return kNothingChanged;
  RestorePoint restorePoint;
  if (!BeginRestorePointIfAsked(system, restorePointAsked, &restorePoint)) return kNothingChanged;
  bool asWanted = true;
  bool toldRefusal = false;
  std::vector<SettingId> done;
  std::vector<SettingId> decidedByPolicy;
  std::vector<std::string> passedOver;
  for (const auto& [id, action] : steps) {
    if (action == ProfileAction::kPolicy) {
      decidedByPolicy.push_back(id);
      ReportDecidedByPolicy(system, id, DecidingPolicy(system, id));
    }
    if (action == ProfileAction::kPerUser) passedOver.push_back(std::to_string(id));
    std::string reason = action == ProfileAction::kCannotUndo ? Text(IDS_CANNOT_REVERT) : "";
    const bool changes = action == ProfileAction::kApply || action == ProfileAction::kRevert;
    if (action == ProfileAction::kApply) WriteUpdateWarning(system, id);
    const bool ok = changes && Carry(system, id, action, &toldRefusal, &reason);
    if (ok) done.push_back(id);
    asWanted &= ok || action == ProfileAction::kNotOffered || action == ProfileAction::kPerUser;
    platform::WriteOutput(std::to_string(id) + "\t" + OutcomeWord(action, ok) + "\t" +
                          Text(FindSetting(id)->labelId) + kEnd +
                          (reason.empty() ? "" : "\t" + reason + kEnd));
  }
  restorePoint.End(!changing.empty());
  platform::WriteOutput(LeftToLogonScripts(passedOver));
  WriteDecidedByPolicy(decidedByPolicy);
  WriteTakingEffectLater(done);
  return Finished(loaded.profile, asWanted);
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
