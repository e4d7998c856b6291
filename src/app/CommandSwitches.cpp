#include "app/CommandSwitches.h"

#include <vector>

#include "app/CommandChecks.h"
#include "app/CommandLineReader.h"
#include "app/ProfileCommands.h"
#include "engine/ChangeRun.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/ApplyPlan.h"
#include "engine/SettingPlan.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/RegistryText.h"

namespace {

enum class Switch { kStatus, kPreview, kUndo, kUsage, kUnknown };

// The tail's first word in lower case, and where it ends.
std::string FirstWord(const std::string& tail, size_t* end) {
  size_t start = SkipBlanks(tail, 0);
  *end = WordEnd(tail, start);
  return Lower(tail.substr(start, *end - start));
}

Switch SwitchOf(const std::string& word) {
  if (word == "/status") return Switch::kStatus;
  if (word == "/preview") return Switch::kPreview;
  if (word == "/undo") return Switch::kUndo;
  if (word == "/?") return Switch::kUsage;
  return Switch::kUnknown;
}

// Reads every number first: a mistyped one changes nothing at all. Numbers
// that the switch does not take are passed over; *named tells whether any
// number was given at all, so that passing over never widens a run. Numbers
// of which not one names a setting of the tree are mistyped: a typo in a
// script must not read as "all off" or "nothing to restore".
bool ReadNumbers(const std::string& rest, bool (*takes)(SettingId), std::vector<SettingId>* ids,
                 bool* named) {
  CommandLineReader reader(rest);
  unsigned int number = 0;
  bool namesSetting = false;
  for (;;) {
    CommandLineReader::Token token = reader.Next(&number);
    if (token == CommandLineReader::Token::kEnd) return !*named || namesSetting;
    if (token == CommandLineReader::Token::kMistyped) return false;
    *named = true;
    namesSetting |= FindSetting(number) != nullptr;
    if (takes(number)) ids->push_back(number);
  }
}

enum class FileSwitch { kAbsent, kMistyped, kGiven };

// A switch that names a file, as the tail's only argument: the prefix (in
// lower case) and the file, quoted where it holds blanks.
FileSwitch ReadFileSwitch(const std::string& tail, const std::string& prefix, std::string* file) {
  size_t at = SkipBlanks(tail, 0);
  if (Lower(tail.substr(at, prefix.size())) != prefix) return FileSwitch::kAbsent;
  at += prefix.size();
  size_t end = WordEnd(tail, at);
  if (at < tail.size() && tail[at] == '"') {
    end = tail.find('"', at + 1);
    if (end == std::string::npos) return FileSwitch::kMistyped;
    *file = tail.substr(at + 1, end - at - 1);
    ++end;
  } else {
    *file = tail.substr(at, end - at);
  }
  // Nothing may follow: a profile with numbers would say two things at once.
  return file->empty() || SkipBlanks(tail, end) != tail.size() ? FileSwitch::kMistyped
                                                               : FileSwitch::kGiven;
}

// The switches that take a profile; -1 when the tail is none of them.
int RunProfileSwitch(const std::string& tail, SystemAccess& system, bool restorePointAsked) {
  std::string file;
  switch (ReadFileSwitch(tail, "/profile:", &file)) {
    case FileSwitch::kGiven:
      return RunProfile(system, file, restorePointAsked);
    case FileSwitch::kMistyped:
      return Mistyped();
    case FileSwitch::kAbsent:
      break;
  }
  size_t end = 0;
  const std::string word = FirstWord(tail, &end);
  const FileSwitch save = ReadFileSwitch(tail, "/saveprofile:", &file);
  const bool reports = word == "/status" || word == "/preview";
  const FileSwitch named = reports ? ReadFileSwitch(tail.substr(end), "/profile:", &file)
                                   : FileSwitch::kAbsent;
  if (save == FileSwitch::kAbsent && named == FileSwitch::kAbsent) return -1;
  // Only what changes the system by settings takes a restore point.
  if (save == FileSwitch::kMistyped || named == FileSwitch::kMistyped || restorePointAsked)
    return Mistyped();
  if (save == FileSwitch::kGiven) return SaveMachineProfile(system, file);
  return word == "/status" ? ShowProfileStatus(system, file) : ShowProfilePreview(system, file);
}

int Undo(SystemAccess& system, const std::vector<SettingId>& ids, bool named,
         bool restorePointAsked) {
  std::vector<UndoablePlan> plans = named ? std::vector<UndoablePlan>() : PlansWithBackup(system);
  for (SettingId id : ids) plans.push_back(PlanOf(id));
  if (!HasRightsFor(plans)) return kNothingChanged;
  RestorePoint restorePoint;
  if (!BeginRestorePointIfAsked(system, restorePointAsked, &restorePoint)) return kNothingChanged;
  ChangeRun run(system, platform::IsLocalSystem());
  std::string report;
  for (const UndoablePlan& plan : plans) report += UndoReport(plan, run.Undo(plan));
  // A partial undo changed the machine too.
  restorePoint.End(run.WroteSomething());
  if (plans.empty()) report = Text(IDS_NO_BACKUP) + "\r\n";
  Show(report + RunTail(run));
  return run.AllAsWanted() ? kAllDone : kSomeNotDone;
}

}  // namespace

LanguageSwitch TakeLanguageSwitch(std::string* tail) {
  size_t end = 0;
  const std::string word = FirstWord(*tail, &end);
  LanguageSwitch language = word == "/lang:de"   ? LanguageSwitch::kGerman
                            : word == "/lang:en" ? LanguageSwitch::kEnglish
                                                 : LanguageSwitch::kNone;
  if (language != LanguageSwitch::kNone) tail->erase(0, SkipBlanks(*tail, end));
  return language;
}

bool TakeRestorePointSwitch(std::string* tail) {
  size_t end = 0;
  if (FirstWord(*tail, &end) != "/restorepoint") return false;
  tail->erase(0, SkipBlanks(*tail, end));
  return true;
}

bool StartsWithSwitch(const std::string& tail) {
  size_t at = SkipBlanks(tail, 0);
  return at < tail.size() && tail[at] == '/';
}

int RunSwitch(const std::string& tail, SystemAccess& system, bool restorePointAsked) {
  const int profileRun = RunProfileSwitch(tail, system, restorePointAsked);
  if (profileRun >= 0) return profileRun;
  size_t end = 0;
  Switch chosen = SwitchOf(FirstWord(tail, &end));
  std::vector<SettingId> ids;
  bool named = false;
  // /status and /undo take every setting a report lists, also those the
  // command line does not apply; /preview and /? what apply takes.
  bool reported = chosen == Switch::kStatus || chosen == Switch::kUndo;
  if (chosen == Switch::kUnknown ||
      !ReadNumbers(tail.substr(end), reported ? IsReportedSetting : IsCommandLineSetting, &ids, &named))
    return Mistyped();
  // Only what changes the system takes a restore point.
  if (restorePointAsked && chosen != Switch::kUndo) return Mistyped();
  switch (chosen) {
    case Switch::kStatus: {
      bool anyOn = false;
      Show(StatusReport(system, named ? ids : SettingsInReports(), named,
                        platform::IsLocalSystem(), &anyOn));
      return anyOn ? kSomeNotDone : kAllDone;
    }
    case Switch::kPreview:
      if (ids.empty()) return Mistyped();
      Show(PreviewReport(system, ids));
      return kAllDone;
    case Switch::kUndo:
      return Undo(system, ids, named, restorePointAsked);
    case Switch::kUsage:
      if (!ids.empty()) return Mistyped();
      Show(Text(IDS_USAGE));
      return kAllDone;
    case Switch::kUnknown:
      break;
  }
  return Mistyped();
}
