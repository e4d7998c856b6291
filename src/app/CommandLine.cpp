#include "app/CommandLine.h"

#include "app/CommandSwitches.h"
#include "engine/RecordedChanges.h"
#include "engine/SettingCatalogue.h"
#include "engine/StatusCheck.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

namespace {

const char kMistypedMessage[] = "You mistyped some of the commandline aguments!";
constexpr unsigned int kNoNumber = 4294967295u;

}  // namespace

CommandLineReader::CommandLineReader(const std::string& tail)
    : stream_(tail, std::ios::in | std::ios::out) {}

CommandLineReader::Token CommandLineReader::Next(unsigned int* number) {
  // Blanks after the last number end the list quietly.
  stream_ >> std::ws;
  if (stream_.eof()) return Token::kEnd;
  // The stream would wrap a negative number round to a positive one.
  if (stream_.peek() == '-') return Token::kMistyped;
  unsigned int value = kNoNumber;
  // A failed read stores 0 since C++11, so the stream's own verdict counts;
  // the all-bits-set marker stays a mistyped number as well.
  if (!(stream_ >> value) || value == kNoNumber) return Token::kMistyped;
  *number = value;
  return Token::kNumber;
}

int RunCommandLine(const std::string& tail, SystemAccess& system) {
  if (StartsWithSwitch(tail)) return RunSwitch(tail, system);
  CommandLineReader reader(tail);
  bool allDone = true;
  bool backedUp = true;
  unsigned int number = 0;
  for (;;) {
    CommandLineReader::Token token = reader.Next(&number);
    if (token == CommandLineReader::Token::kEnd) break;
    if (token == CommandLineReader::Token::kMistyped) {
      platform::ShowMessageBox(nullptr, kMistypedMessage, platform::ProgramName().c_str(),
                               MB_OK | MB_ICONEXCLAMATION);
      return kMistyped;
    }
    // Done when apply succeeded, or when the function is off afterwards all
    // the same (a value that was already deleted, an installer that returned
    // an error after doing its work).
    if (!IsCommandLineSetting(number)) continue;
    // A rollout must not stall for a backup it cannot write; it says so.
    if (!CaptureBeforeApply(system, number) && backedUp) {
      backedUp = false;
      platform::WriteOutput(Text(IDS_NO_BACKUP_GOING_ON) + "\r\n");
    }
    if (!ApplyAndReport(system, number) && !StatusCheck(system, number)) allDone = false;
  }
  return allDone ? kAllDone : kSomeNotDone;
}
