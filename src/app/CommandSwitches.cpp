#include "app/CommandSwitches.h"

#include <cctype>
#include <vector>

#include "app/CommandChecks.h"
#include "app/CommandLine.h"
#include "engine/RecordedChanges.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"

namespace {

const char kMistypedMessage[] = "You mistyped some of the commandline aguments!";

enum class Switch { kStatus, kPreview, kUndo, kUsage, kUnknown };

// A switch ends where a number would: at the blanks the numbers' reader skips.
bool IsBlank(char c) { return IsCommandLineBlank(c); }

std::string Lower(std::string word) {
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word;
}

size_t SkipBlanks(const std::string& tail, size_t at) {
  while (at < tail.size() && IsBlank(tail[at])) ++at;
  return at;
}

size_t WordEnd(const std::string& tail, size_t at) {
  while (at < tail.size() && !IsBlank(tail[at])) ++at;
  return at;
}

Switch SwitchOf(const std::string& text) {
  const std::string word = Lower(text);
  if (word == "/status") return Switch::kStatus;
  if (word == "/preview") return Switch::kPreview;
  if (word == "/undo") return Switch::kUndo;
  if (word == "/?") return Switch::kUsage;
  return Switch::kUnknown;
}

int Mistyped() {
  platform::ShowMessageBox(nullptr, kMistypedMessage, platform::ProgramName().c_str(),
                           MB_OK | MB_ICONEXCLAMATION);
  return kMistyped;
}

// Reads every number first: a mistyped one changes nothing at all. Numbers
// the command line does not take are passed over, as for apply.
bool ReadNumbers(const std::string& rest, std::vector<SettingId>* ids) {
  CommandLineReader reader(rest);
  unsigned int number = 0;
  for (;;) {
    CommandLineReader::Token token = reader.Next(&number);
    if (token == CommandLineReader::Token::kEnd) return true;
    if (token == CommandLineReader::Token::kMistyped) return false;
    if (IsCommandLineSetting(number)) ids->push_back(number);
  }
}

// Scripts read the standard output; a person at a console reads the
// console; otherwise a message box shows the text.
void Show(const std::string& text) {
  if (platform::WriteOutput(text)) return;
  platform::ShowMessageBox(nullptr, text.c_str(), platform::ProgramName().c_str(),
                           MB_OK | MB_ICONINFORMATION);
}

int Undo(SystemAccess& system, std::vector<SettingId> ids, bool named, bool restorePointAsked) {
  if (!named) ids = SettingsWithBackup(system);
  if (!HasRightsFor(ids)) return kNothingChanged;
  RestorePoint restorePoint;
  if (!BeginRestorePointIfAsked(system, restorePointAsked, &restorePoint)) return kNothingChanged;
  std::string report;
  bool allRestored = true;
  bool anyRestored = false;
  for (SettingId id : ids) {
    UndoResult result = UndoAndReport(system, id);
    anyRestored |= result.outcome == UndoResult::Outcome::kRestored;
    allRestored &= result.outcome == UndoResult::Outcome::kRestored ||
                   result.outcome == UndoResult::Outcome::kNoBackup;
    report += UndoReport(id, result);
  }
  restorePoint.End(anyRestored);
  if (ids.empty()) report = Text(IDS_NO_BACKUP) + "\r\n";
  Show(report);
  return allRestored ? kAllDone : kSomeNotDone;
}

}  // namespace

LanguageSwitch TakeLanguageSwitch(std::string* tail) {
  size_t start = SkipBlanks(*tail, 0);
  size_t end = WordEnd(*tail, start);
  const std::string word = Lower(tail->substr(start, end - start));
  LanguageSwitch language = word == "/lang:de"   ? LanguageSwitch::kGerman
                            : word == "/lang:en" ? LanguageSwitch::kEnglish
                                                 : LanguageSwitch::kNone;
  if (language != LanguageSwitch::kNone) tail->erase(0, SkipBlanks(*tail, end));
  return language;
}

bool TakeRestorePointSwitch(std::string* tail) {
  size_t start = SkipBlanks(*tail, 0);
  size_t end = WordEnd(*tail, start);
  if (Lower(tail->substr(start, end - start)) != "/restorepoint") return false;
  tail->erase(0, SkipBlanks(*tail, end));
  return true;
}

bool StartsWithSwitch(const std::string& tail) {
  size_t at = SkipBlanks(tail, 0);
  return at < tail.size() && tail[at] == '/';
}

int RunSwitch(const std::string& tail, SystemAccess& system, bool restorePointAsked) {
  size_t start = SkipBlanks(tail, 0);
  size_t end = WordEnd(tail, start);
  Switch chosen = SwitchOf(tail.substr(start, end - start));
  std::vector<SettingId> ids;
  if (chosen == Switch::kUnknown || !ReadNumbers(tail.substr(end), &ids)) return Mistyped();
  // Only what changes the system takes a restore point.
  if (restorePointAsked && chosen != Switch::kUndo) return Mistyped();
  const bool named = !ids.empty();
  switch (chosen) {
    case Switch::kStatus: {
      bool anyOn = false;
      Show(StatusReport(system, named ? ids : SettingsInReports(), named, &anyOn));
      return anyOn ? kSomeNotDone : kAllDone;
    }
    case Switch::kPreview:
      if (!named) return Mistyped();
      Show(PreviewReport(system, ids));
      return kAllDone;
    case Switch::kUndo:
      return Undo(system, ids, named, restorePointAsked);
    case Switch::kUsage:
      if (named) return Mistyped();
      Show(Text(IDS_USAGE));
      return kAllDone;
    case Switch::kUnknown:
      break;
  }
  return Mistyped();
}
