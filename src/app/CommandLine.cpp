#include "app/CommandLine.h"

#include "app/CommandChecks.h"
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

bool IsCommandLineBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string CommandLineTail(const char* commandLine) {
  if (!commandLine) return std::string();
  // Compared unsigned: a letter such as 'é' or a no-break space (0x80 and up)
  // belongs to the name or the arguments, never to the blanks between them.
  const unsigned char* at = reinterpret_cast<const unsigned char*>(commandLine);
  bool quoted = false;
  for (; *at && (quoted || *at > ' '); ++at)
    if (*at == '"') quoted = !quoted;
  while (*at && *at <= ' ') ++at;
  return std::string(reinterpret_cast<const char*>(at));
}

CommandLineReader::CommandLineReader(const std::string& tail) : tail_(tail) {}

// Reads as a C++ stream in the classic locale reads an unsigned number, but
// without the stream: the locale machinery it brings is most of the exe.
CommandLineReader::Token CommandLineReader::Next(unsigned int* number) {
  // Blanks after the last number end the list quietly.
  while (at_ < tail_.size() && IsCommandLineBlank(tail_[at_])) ++at_;
  if (at_ == tail_.size()) return Token::kEnd;
  // A mistyped token leaves the position where it is, so it stays mistyped.
  size_t end = at_ + (tail_[at_] == '+' ? 1 : 0);
  const size_t digits = end;
  unsigned long long value = 0;
  for (; end < tail_.size() && tail_[end] >= '0' && tail_[end] <= '9'; ++end) {
    value = value * 10 + static_cast<unsigned>(tail_[end] - '0');
    if (value > kNoNumber) value = kNoNumber + 1ull;  // too large; keeps the sum bounded
  }
  // No digits (a word, a '-' sign) or too large; the all-bits-set marker
  // stays a mistyped number as well.
  if (end == digits || value >= kNoNumber) return Token::kMistyped;
  *number = static_cast<unsigned int>(value);
  at_ = end;
  return Token::kNumber;
}

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
  bool allDone = true;
  bool backedUp = true;
  unsigned int number = 0;
  for (;;) {
    CommandLineReader::Token token = reader.Next(&number);
    if (token == CommandLineReader::Token::kEnd) break;
    if (token == CommandLineReader::Token::kMistyped) {
      restorePoint.End(!changed.empty());
      WriteTakingEffectLater(doneChanges);
      platform::ShowMessageBox(nullptr, kMistypedMessage, platform::ProgramName().c_str(),
                               MB_OK | MB_ICONEXCLAMATION);
      return kMistyped;
    }
    // Done when apply succeeded, or when the function is off afterwards all
    // the same (a value that was already deleted, an installer that returned
    // an error after doing its work).
    if (!IsCommandLineSetting(number)) continue;
    WriteUpdateWarning(system, number);
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
  WriteTakingEffectLater(doneChanges);
  return allDone ? kAllDone : kSomeNotDone;
}
