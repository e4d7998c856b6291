#include "engine/ProfileChecks.h"

#include "engine/Availability.h"
#include "engine/PolicyPlan.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/ApplyPlan.h"
#include "engine/SettingPlan.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

namespace {

const char kEnd[] = "\r\n";

const char* Verdict(ProfileAction action) {
  switch (action) {
    case ProfileAction::kNone:
      return "match";
    case ProfileAction::kNotOffered:
    case ProfileAction::kPerUser:
      return "n/a";
    case ProfileAction::kPolicy:
      return "policy";
    case ProfileAction::kUnknown:
      return "unknown";
    default:
      return "drift";
  }
}

}  // namespace

ProfileAction ActionFor(SystemAccess& system, SettingId id, Wanted wanted, bool runsAsSystem) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting || wanted == Wanted::kLeave) return ProfileAction::kNone;
  if (IsLeftToLogonScript(*setting, runsAsSystem)) return ProfileAction::kPerUser;
  // Windows would put a policy's value back: nothing here changes it.
  const PolicyDecision policy = DecidingPolicy(system, id);
  if (policy.decided())
    return (policy.state == PolicyState::kOff) == (wanted == Wanted::kOff) ? ProfileAction::kNone
                                                                           : ProfileAction::kPolicy;
  // Neither off nor on is known of a service that could not be asked.
  if (IsSettingUnknown(system, *setting)) return ProfileAction::kUnknown;
  const bool off = IsSettingOffLocally(system, id);
  if (wanted == Wanted::kOff) {
    if (off) return ProfileAction::kNone;
    return IsSettingOffered(system, *setting) ? ProfileAction::kApply : ProfileAction::kNotOffered;
  }
  if (!off) return ProfileAction::kNone;
  return setting->revertible ? ProfileAction::kRevert : ProfileAction::kCannotUndo;
}

const char* OutcomeWord(ProfileAction action, bool done) {
  switch (action) {
    case ProfileAction::kNotOffered:
      return "not-offered";
    case ProfileAction::kCannotUndo:
      return "cannot-undo";
    case ProfileAction::kPerUser:
      return "per-user";
    case ProfileAction::kPolicy:
      return "policy";
    case ProfileAction::kUnknown:
      return "unknown";
    default:
      return done ? "done" : "failed";
  }
}

std::string ProfileStatusReport(SystemAccess& system, const Profile& profile, bool runsAsSystem,
                                bool* drift) {
  std::string report = StatusHeader(system);
  *drift = false;
  ServiceControl::SharedManager oneManager(system.Services());
  PolicyView policies(system);
  std::vector<std::string> passedOver;
  for (const auto& [id, wanted] : profile.wanted) {
    if (wanted == Wanted::kLeave) continue;
    bool on = false;
    const ProfileAction action = ActionFor(system, id, wanted, runsAsSystem);
    const std::string verdict = Verdict(action);
    *drift |= verdict == "drift" || verdict == "policy" || verdict == "unknown";
    if (action == ProfileAction::kPerUser) passedOver.push_back(std::to_string(id));
    report += StatusLine(system, policies, *FindSetting(id), runsAsSystem, &on) + "\t" +
              WantedWord(wanted) + "\t" + verdict + kEnd;
  }
  return report + LeftToLogonScripts(passedOver);
}

SwitchOns SwitchOnsOf(SystemAccess& system, const Profile& profile) {
  SwitchOns switchOns;
  PolicyView policies(system);
  for (const auto& [id, wanted] : profile.wanted) {
    const PolicyDecision policy = policies.Decide(id);
    const bool heldOtherwise =
        policy.decided() && (policy.state == PolicyState::kOff) != (wanted == Wanted::kOff);
    if (wanted != Wanted::kLeave && heldOtherwise)
      switchOns.byPolicy.push_back(id);
    else if (wanted == Wanted::kOn && !policy.decided() && IsSettingOffLocally(system, id))
      (FindSetting(id)->revertible ? switchOns.revert : switchOns.cannotUndo).push_back(id);
  }
  return switchOns;
}

std::string ProfilePreview(SystemAccess& system, const Profile& profile, bool runsAsSystem) {
  std::vector<SettingId> applied;
  std::string others;
  for (const auto& [id, wanted] : profile.wanted) {
    const ProfileAction action = ActionFor(system, id, wanted, runsAsSystem);
    if (action == ProfileAction::kApply) applied.push_back(id);
    if (action == ProfileAction::kApply || action == ProfileAction::kNone) continue;
    const std::string what =
        action == ProfileAction::kRevert   ? Text(IDS_PREVIEW_SWITCH_ON)
        : action == ProfileAction::kPolicy ? FormatText(IDS_PREVIEW_POLICY, {DecidingPolicy(system, id).source})
                                           : OutcomeWord(action, false);
    others += std::to_string(id) + "\t" + what + "\t" + Text(FindSetting(id)->labelId) + kEnd;
  }
  return PreviewReport(system, applied) + others;
}
