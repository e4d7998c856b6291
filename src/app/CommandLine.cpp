#include "app/CommandLine.h"

#include "app/CommandChecks.h"
#include "app/CommandSwitches.h"
#include "engine/ChangeRun.h"
#include "engine/SettingCatalogue.h"
#include "platform/Platform.h"
#include "system/SystemAccess.h"

namespace {

// One number of the run. A rollout reads, before the number's change, what
// it costs here and why it goes on without a backup.
void CarryNumber(ChangeRun& run, SystemAccess& system, SettingId id) {
  const ChangeAction action = run.DecideApply(id);
  if (action == ChangeAction::kApply) WriteBeforeApply(system, id);
  const ChangeRun::Step step = run.Carry(id, action);
  if (!step.noBackupLine.empty()) platform::WriteOutput(step.noBackupLine + "\r\n");
}

}  // namespace

int RunCommandLine(const std::string& fullTail, SystemAccess& system) {
  std::string tail = fullTail;
  const bool restorePointAsked = TakeRestorePointSwitch(&tail);
  if (StartsWithSwitch(tail)) return RunSwitch(tail, system, restorePointAsked);
  // Nothing is changed unless everything it needs is there.
  if (!HasRightsFor(NumbersBeforeMistake(tail))) return kNothingChanged;
  RestorePoint restorePoint;
  if (!BeginRestorePointIfAsked(system, restorePointAsked, &restorePoint)) return kNothingChanged;
  ChangeRun run(system, platform::IsLocalSystem());
  CommandLineReader reader(tail);
  unsigned int number = 0;
  CommandLineReader::Token token;
  while ((token = reader.Next(&number)) == CommandLineReader::Token::kNumber)
    if (IsCommandLineSetting(number)) CarryNumber(run, system, number);
  restorePoint.End(run.ChangedAnything());
  WriteRunTail(run);
  if (token == CommandLineReader::Token::kMistyped) return Mistyped();
  return run.AllAsWanted() ? kAllDone : kSomeNotDone;
}
