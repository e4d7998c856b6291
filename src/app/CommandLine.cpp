#include "app/CommandLine.h"

#include "app/CommandChecks.h"
#include "app/CommandSwitches.h"
#include "engine/PolicyPlan.h"
#include "engine/RecordedChanges.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

int RunCommandLine(const std::string& fullTail, SystemAccess& system) {
  std::string tail = fullTail;
  const bool restorePointAsked = TakeRestorePointSwitch(&tail);
  if (StartsWithSwitch(tail)) return RunSwitch(tail, system, restorePointAsked);
  // Nothing is changed unless everything it needs is there.
  if (!HasRightsFor(NumbersBeforeMistake(tail))) return kNothingChanged;
  RestorePoint restorePoint;
  if (!BeginRestorePointIfAsked(system, restorePointAsked, &restorePoint)) return kNothingChanged;
  std::vector<SettingId> changed;      // tried on a setting that was on
  std::vector<SettingId> doneChanges;  // of those, the ones that are off now
  CommandLineReader reader(tail);
  const bool asSystem = platform::IsLocalSystem();
  std::vector<std::string> passedOver;
  std::vector<SettingId> decidedByPolicy;
  bool allDone = true;
  bool backedUp = true;
  unsigned int number = 0;
  for (;;) {
    CommandLineReader::Token token = reader.Next(&number);
    if (token == CommandLineReader::Token::kEnd) break;
    if (token == CommandLineReader::Token::kMistyped) {
      restorePoint.End(!changed.empty());
      WriteDecidedByPolicy(decidedByPolicy);
      WriteTakingEffectLater(doneChanges);
      return Mistyped();
    }
    // Done when apply succeeded, or when the function is off afterwards all
    // the same (a value that was already deleted, an installer that returned
    // an error after doing its work).
    if (!IsCommandLineSetting(number)) continue;
    if (IsLeftToLogonScript(*FindSetting(number), asSystem)) {
      passedOver.push_back(std::to_string(number));
      continue;
    }
    // Windows would put a policy's value back: done only when the policy
    // itself keeps the function off.
    const PolicyDecision policy = DecidingPolicy(system, number);
    if (policy.decided()) {
      decidedByPolicy.push_back(number);
      ReportDecidedByPolicy(system, number, policy);
      allDone &= policy.state == PolicyState::kOff;
      continue;
    }
    WriteUpdateWarning(system, number);
    WriteUnreachable64BitPart(system, number);
    const bool wasOff = StatusCheck(system, number);
    // A rollout must not stall for a backup it cannot write; it says so.
    if (!CaptureBeforeApply(system, number) && backedUp) {
      backedUp = false;
      platform::WriteOutput(Text(IDS_NO_BACKUP_GOING_ON) + "\r\n");
    }
    const bool done = ApplyAndReport(system, number) || StatusCheck(system, number);
    if (!done) allDone = false;
    if (!wasOff) changed.push_back(number);
    if (done && !wasOff) doneChanges.push_back(number);
  }
  restorePoint.End(!changed.empty());
  if (!passedOver.empty()) platform::WriteOutput(LeftToLogonScripts(passedOver));
  WriteDecidedByPolicy(decidedByPolicy);
  WriteTakingEffectLater(doneChanges);
  return allDone ? kAllDone : kSomeNotDone;
}
