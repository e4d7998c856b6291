#include "app/ProfileCommands.h"

#include <utility>
#include <vector>

#include "app/CommandChecks.h"
#include "app/CommandLineReader.h"
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

int Finished(const Profile& profile, bool asWanted) {
  if (!asWanted) return kSomeNotDone;
  return profile.skipped.empty() ? kAllDone : kEntriesSkipped;
}

// Carries one action out; true when the setting is as wanted afterwards
// (the operation reported a failure after doing its work, or the
// function was already so). A failed revert says why on the line below.
bool Carry(SystemAccess& system, SettingId id, ProfileAction action, bool* backedUp,
           std::string* reason) {
  int refusal = 0;
  const bool captured = action == ProfileAction::kApply ? CaptureBeforeApply(system, id)
                                                        : CaptureBeforeRevert(system, id);
  // A rollout must not stall for a backup it cannot write; it says so once.
  if (!captured && *backedUp) {
    *backedUp = false;
    platform::WriteOutput(Text(IDS_NO_BACKUP_GOING_ON) + kEnd);
  }
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
  bool backedUp = true;
  std::vector<SettingId> done;
  std::vector<SettingId> decidedByPolicy;
  for (const auto& [id, action] : steps) {
    if (action == ProfileAction::kPolicy) {
      decidedByPolicy.push_back(id);
      ReportDecidedByPolicy(system, id, DecidingPolicy(system, id));
    }
    std::string reason = action == ProfileAction::kCannotUndo ? Text(IDS_CANNOT_REVERT) : "";
    const bool changes = action == ProfileAction::kApply || action == ProfileAction::kRevert;
    if (action == ProfileAction::kApply) {
      WriteUpdateWarning(system, id);
      WriteUnreachable64BitPart(system, id);
    }
    const bool ok = changes && Carry(system, id, action, &backedUp, &reason);
    if (ok) done.push_back(id);
    asWanted &= ok || action == ProfileAction::kNotOffered || action == ProfileAction::kPerUser;
    platform::WriteOutput(std::to_string(id) + "\t" + OutcomeWord(action, ok) + "\t" +
                          Text(FindSetting(id)->labelId) + kEnd +
                          (reason.empty() ? "" : "\t" + reason + kEnd));
  }
  restorePoint.End(!changing.empty());
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
  std::map<SettingId, Wanted> state;
  // As LocalSystem the per-user settings read another account's hive, and a
  // setting this machine does not offer says nothing of what is wanted: both
  // are left alone rather than written from them.
  for (SettingId id : SettingsInReports()) {
    const SettingEntry& setting = *FindSetting(id);
    state[id] = !IsLeftToLogonScript(setting, asSystem) && IsSettingOffered(system, setting) &&
                        IsSettingOff(system, id)
                    ? Wanted::kOff
                    : Wanted::kLeave;
  }
  const std::string problem =
      SaveProfile(file, state, system.ComputerName(), system.LocalTimeText());
  if (problem.empty()) return kAllDone;
  Show(problem + kEnd);
  return kSomeNotDone;
}
