#include "app/CommandLine.h"

#include "app/CommandSwitches.h"
#include "engine/RecordedChanges.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

int RunCommandLine(const std::string& tail, SystemAccess& system) {
  if (StartsWithSwitch(tail)) return RunSwitch(tail, system);
  CommandLineReader reader(tail);
  const bool asSystem = platform::IsLocalSystem();
  std::vector<std::string> passedOver;
  bool allDone = true;
  bool backedUp = true;
  unsigned int number = 0;
  for (;;) {
    CommandLineReader::Token token = reader.Next(&number);
    if (token == CommandLineReader::Token::kEnd) break;
    if (token == CommandLineReader::Token::kMistyped) return Mistyped();
    // Done when apply succeeded, or when the function is off afterwards all
    // the same (a value that was already deleted, an installer that returned
    // an error after doing its work).
    if (!IsCommandLineSetting(number)) continue;
    if (IsLeftToLogonScript(*FindSetting(number), asSystem)) {
      passedOver.push_back(std::to_string(number));
      continue;
    }
    // A rollout must not stall for a backup it cannot write; it says so.
    if (!CaptureBeforeApply(system, number) && backedUp) {
      backedUp = false;
      platform::WriteOutput(Text(IDS_NO_BACKUP_GOING_ON) + "\r\n");
    }
    if (!ApplyAndReport(system, number) && !StatusCheck(system, number)) allDone = false;
  }
  if (!passedOver.empty()) platform::WriteOutput(LeftToLogonScripts(passedOver));
  return allDone ? kAllDone : kSomeNotDone;
}
