#include "engine/ProfileChecks.h"

#include "engine/ChangeRun.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

namespace {

const char kEnd[] = "\r\n";

const char* Verdict(ChangeAction action) {
  switch (action) {
    case ChangeAction::kNone:
      return "match";
    case ChangeAction::kNotOffered:
    case ChangeAction::kPerUser:
      return "n/a";
    case ChangeAction::kPolicy:
      return "policy";
    case ChangeAction::kUnknown:
      return "unknown";
    default:
      return "drift";
  }
}

}  // namespace

std::string ProfileStatusReport(SystemAccess& system, const Profile& profile, bool runsAsSystem,
                                bool* drift) {
  std::string report = StatusHeader(system);
  *drift = false;
  ServiceControl::SharedManager oneManager(system.Services());
  ChangeRun run(system, runsAsSystem);
  std::vector<std::string> passedOver;
  for (const auto& [id, wanted] : profile.wanted) {
    if (wanted == Wanted::kLeave) continue;
    bool on = false;
    const ChangeAction action = run.Decide(id, wanted);
    const std::string verdict = Verdict(action);
    *drift |= verdict == "drift" || verdict == "policy" || verdict == "unknown";
    if (action == ChangeAction::kPerUser) passedOver.push_back(std::to_string(id));
    report += StatusLine(system, run.Policies(), *FindSetting(id), runsAsSystem, &on) + "\t" +
              WantedWord(wanted) + "\t" + verdict + kEnd;
  }
  return report + LeftToLogonScripts(passedOver);
}

SwitchOns SwitchOnsOf(SystemAccess& system, const Profile& profile) {
  SwitchOns switchOns;
  ChangeRun run(system, false);
  for (const auto& [id, wanted] : profile.wanted) {
    const ChangeAction action = run.Decide(id, wanted);
    if (action == ChangeAction::kPolicy) switchOns.byPolicy.push_back(id);
    if (action == ChangeAction::kRevert) switchOns.revert.push_back(id);
    if (action == ChangeAction::kCannotUndo) switchOns.cannotUndo.push_back(id);
  }
  return switchOns;
}

std::string ProfilePreview(SystemAccess& system, const Profile& profile, bool runsAsSystem) {
  std::vector<SettingId> applied;
  std::string others;
  ChangeRun run(system, runsAsSystem);
  for (const auto& [id, wanted] : profile.wanted) {
    const ChangeAction action = run.Decide(id, wanted);
    if (action == ChangeAction::kApply) applied.push_back(id);
    if (action == ChangeAction::kApply || action == ChangeAction::kNone) continue;
    const std::string what =
        action == ChangeAction::kRevert   ? Text(IDS_PREVIEW_SWITCH_ON)
        : action == ChangeAction::kPolicy ? FormatText(IDS_PREVIEW_POLICY, {run.Policy(id).source})
                                          : OutcomeWord(action, false);
    others += std::to_string(id) + "\t" + what + "\t" + Text(FindSetting(id)->labelId) + kEnd;
  }
  return PreviewReport(system, applied) + others;
}
