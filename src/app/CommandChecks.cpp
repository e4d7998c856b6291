#include "app/CommandChecks.h"

#include "app/CommandLine.h"
#include "engine/Consequences.h"
#include "engine/ChangeRun.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"
#include "engine/TextSource.h"
#include "engine/UpdateSource.h"
#include "platform/Platform.h"
#include "res/resource.h"

namespace {

const char kEnd[] = "\r\n";

std::string Joined(const std::vector<SettingId>& ids, bool withLabels) {
  std::string text;
  for (SettingId id : ids) {
    if (!text.empty()) text += ", ";
    text += std::to_string(id);
    const SettingEntry* setting = FindSetting(id);
    if (withLabels && setting) text += " (" + Text(setting->labelId) + ")";
  }
  return text;
}

}  // namespace

std::vector<SettingId> NumbersBeforeMistake(const std::string& tail) {
  std::vector<SettingId> ids;
  CommandLineReader reader(tail);
  unsigned int number = 0;
  while (reader.Next(&number) == CommandLineReader::Token::kNumber)
    if (IsCommandLineSetting(number)) ids.push_back(number);
  return ids;
}

bool HasRightsFor(const std::vector<SettingId>& ids) {
  std::vector<UndoablePlan> plans;
  for (SettingId id : ids) plans.push_back(PlanOf(id));
  return HasRightsFor(plans);
}

bool HasRightsFor(const std::vector<UndoablePlan>& plans) {
  std::string needing;
  for (const UndoablePlan& plan : plans)
    if (NeedsAdministrator(plan.scope)) needing += (needing.empty() ? "" : ", ") + plan.number;
  if (needing.empty() || platform::IsAdministrator()) return true;
  platform::WriteOutput(FormatText(IDS_NEEDS_ADMINISTRATOR, {needing}) + kEnd);
  return false;
}

bool BeginRestorePointIfAsked(SystemAccess& system, bool asked, RestorePoint* point) {
  if (!asked || point->Begin(system)) return true;
  platform::WriteOutput(Text(IDS_RESTORE_POINT_MISSING) + kEnd);
  return false;
}

std::string RunTail(const ChangeRun& run) {
  std::string tail = LeftToLogonScripts(run.PassedOver());
  if (!run.DecidedByPolicy().empty())
    tail += FormatText(IDS_POLICY_NOT_CHANGED, {Joined(run.DecidedByPolicy(), false)}) + kEnd;
  const std::vector<SettingId> later = run.TakingEffectLater();
  if (!later.empty()) tail += FormatText(IDS_EFFECT_LATER_LINE, {Joined(later, true)}) + kEnd;
  return tail;
}

void WriteRunTail(const ChangeRun& run) {
  const std::string tail = RunTail(run);
  if (!tail.empty()) platform::WriteOutput(tail);
}

void WriteBeforeApply(SystemAccess& system, SettingId id) {
  const SettingEntry* setting = FindSetting(id);
  if (!setting) return;
  if (StopsUpdatesHere(system, *setting))
    platform::WriteOutput(Text(setting->updatesNoteId) + kEnd);
  if (NeedsUnreachable64BitPart(system, *setting))
    platform::WriteOutput(FormatText(IDS_64BIT_UNREACHABLE, {std::to_string(id)}) + kEnd);
}

void Show(const std::string& text) {
  if (platform::WriteOutput(text)) return;
  platform::ShowMessageBox(nullptr, text.c_str(), platform::ProgramName().c_str(),
                           MB_OK | MB_ICONINFORMATION);
}
