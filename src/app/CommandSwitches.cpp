#include "app/CommandSwitches.h"

#include <cctype>
#include <vector>

#include "app/CommandLine.h"
#include "engine/RecordedChanges.h"
#include "engine/SettingCatalogue.h"
#include "platform/Platform.h"
#include "res/resource.h"

namespace {

const char kMistypedMessage[] = "You mistyped some of the commandline aguments!";

enum class Switch { kStatus, kPreview, kUndo, kUsage, kUnknown };

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' ' && c != 0; }

Switch SwitchOf(std::string word) {
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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

int Undo(SystemAccess& system, std::vector<SettingId> ids, bool named, TextLoader loadText) {
  if (!named) ids = SettingsWithBackup(system);
  std::string report;
  bool allRestored = true;
  for (SettingId id : ids) {
    UndoResult result = UndoAndReport(system, id);
    allRestored &= result.outcome == UndoResult::Outcome::kRestored ||
                   result.outcome == UndoResult::Outcome::kNoBackup;
    report += UndoReport(id, result, loadText);
  }
  if (ids.empty()) report = loadText ? loadText(IDS_NO_BACKUP) + "\r\n" : std::string();
  Show(report);
  return allRestored ? kAllDone : kSomeNotDone;
}

}  // namespace

bool StartsWithSwitch(const std::string& tail) {
  size_t at = 0;
  while (at < tail.size() && IsBlank(tail[at])) ++at;
  return at < tail.size() && tail[at] == '/';
}

int RunSwitch(const std::string& tail, SystemAccess& system, TextLoader loadText) {
  size_t start = 0;
  while (start < tail.size() && IsBlank(tail[start])) ++start;
  size_t end = start;
  while (end < tail.size() && !IsBlank(tail[end])) ++end;
  Switch chosen = SwitchOf(tail.substr(start, end - start));
  std::vector<SettingId> ids;
  if (chosen == Switch::kUnknown || !ReadNumbers(tail.substr(end), &ids)) return Mistyped();
  const bool named = !ids.empty();
  switch (chosen) {
    case Switch::kStatus: {
      bool anyOn = false;
      Show(StatusReport(system, named ? ids : SettingsInReports(), named, loadText, &anyOn));
      return anyOn ? kSomeNotDone : kAllDone;
    }
    case Switch::kPreview:
      if (!named) return Mistyped();
      Show(PreviewReport(system, ids));
      return kAllDone;
    case Switch::kUndo:
      return Undo(system, ids, named, loadText);
    case Switch::kUsage:
      if (named) return Mistyped();
      Show(loadText ? loadText(IDS_USAGE) : std::string());
      return kAllDone;
    case Switch::kUnknown:
      break;
  }
  return Mistyped();
}
