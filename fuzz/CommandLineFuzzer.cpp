// The input is a command-line tail. It is read token by token and checked
// against a simple model of the reader, then run whole over two fresh
// in-memory systems: one with only the setting keys, one fully installed.

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/SettingCatalogue.h"
#include "native/PreparedSystem.h"
#include "platform/fake/FakeMachine.h"
#include "system/SystemAccess.h"

namespace {

constexpr unsigned int kNoNumber = 4294967295u;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// The blanks the stream skips in the classic locale.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

struct ModelToken {
  CommandLineReader::Token token;
  unsigned int number;  // only for kNumber
  size_t next;          // where the token after a number starts
};

// What the reader should answer for the text from position at: the end,
// a mistyped token, or an unsigned number ("+" allowed, "-" not) that fits
// and is not the all-bits-set marker.
ModelToken ExpectedToken(const std::string& tail, size_t at) {
  while (at < tail.size() && IsBlank(tail[at])) ++at;
  if (at == tail.size()) return {CommandLineReader::Token::kEnd, 0, at};
  if (tail[at] == '-') return {CommandLineReader::Token::kMistyped, 0, at};
  size_t digits = at + (tail[at] == '+' ? 1 : 0);
  size_t end = digits;
  unsigned long long value = 0;
  bool overflow = false;
  for (; end < tail.size() && tail[end] >= '0' && tail[end] <= '9'; ++end) {
    value = value * 10 + static_cast<unsigned>(tail[end] - '0');
    if (value > kNoNumber) {
      overflow = true;
      value = kNoNumber;
    }
  }
  if (end == digits || overflow || value == kNoNumber)
    return {CommandLineReader::Token::kMistyped, 0, at};
  return {CommandLineReader::Token::kNumber, static_cast<unsigned int>(value), end};
}

// True when the reader met a mistyped token before the end.
bool ReadAllTokens(const std::string& tail) {
  CommandLineReader reader(tail);
  size_t at = 0;
  // Every number takes at least one character, so this bounds a reader
  // that never reaches the end.
  for (size_t calls = 0; calls <= tail.size() + 1; ++calls) {
    unsigned int number = 0xdeadbeef;
    CommandLineReader::Token token = reader.Next(&number);
    ModelToken expected = ExpectedToken(tail, at);
    Require(token == expected.token);
    if (token == CommandLineReader::Token::kEnd) return false;
    if (token == CommandLineReader::Token::kMistyped) return true;
    Require(tail[expected.next - 1] >= '0' && tail[expected.next - 1] <= '9');
    Require(number != kNoNumber);
    Require(number == expected.number);
    at = expected.next;
  }
  __builtin_trap();
}

// Whether the rest of the tail names a number the command line takes; the
// rest reads without a mistyped token.
bool NamesAcceptedNumber(const std::string& rest) {
  for (size_t at = 0;;) {
    ModelToken token = ExpectedToken(rest, at);
    if (token.token != CommandLineReader::Token::kNumber) return false;
    if (IsCommandLineSetting(token.number)) return true;
    at = token.next;
  }
}

// Whether the rest gives numbers of which not one names a setting of the
// tree: a typo, mistyped as a bad switch is. The rest reads without a
// mistyped token.
bool NamesNoSetting(const std::string& rest) {
  bool any = false;
  for (size_t at = 0;;) {
    ModelToken token = ExpectedToken(rest, at);
    if (token.token != CommandLineReader::Token::kNumber) return any;
    if (FindSetting(token.number)) return false;
    any = true;
    at = token.next;
  }
}

// The word at position at, in lower case, and where it ends.
std::string WordAt(const std::string& tail, size_t at, size_t* end) {
  *end = at;
  while (*end < tail.size() && !IsBlank(tail[*end])) ++*end;
  std::string word = tail.substr(at, *end - at);
  for (char& c : word) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return word;
}

// A first argument that begins with '/' is a switch: a known one with
// numbers the reader takes, where /preview needs some and /? none, and
// after /restorepoint only /undo; anything else is mistyped.
bool IsMistypedSwitch(const std::string& tail, size_t at, bool restorePoint) {
  size_t end = 0;
  const std::string word = WordAt(tail, at, &end);
  const std::string rest = tail.substr(end);
  if (ReadAllTokens(rest) || NamesNoSetting(rest)) return true;
  const bool named = NamesAcceptedNumber(rest);
  if (restorePoint && word != "/undo") return true;
  if (word == "/status" || word == "/undo") return false;
  if (word == "/preview") return !named;
  if (word == "/?") return named;
  return true;
}

bool StartsWith(const std::string& word, const char* prefix) { return word.rfind(prefix, 0) == 0; }

// A switch that names a profile file: /profile:FILE and /saveprofile:FILE
// first, or /profile:FILE after /status or /preview. Its outcome hangs on
// the file, which the model does not know.
bool IsProfileSwitch(const std::string& tail, size_t at) {
  size_t end = 0;
  const std::string word = WordAt(tail, at, &end);
  if (StartsWith(word, "/profile:") || StartsWith(word, "/saveprofile:")) return true;
  if (word != "/status" && word != "/preview") return false;
  while (end < tail.size() && IsBlank(tail[end])) ++end;
  return StartsWith(WordAt(tail, end, &end), "/profile:");
}

void RequireNothingLeftOpen() {
  fake::FakeMachine& machine = fake::Machine();
  Require(machine.registry.OpenHandleCount() == 0);
  Require(machine.registry.BadHandleUses() == 0);
  Require(machine.services.OpenHandleCount() == 0);
  Require(machine.services.BadHandleUses() == 0);
  Require(machine.OpenProcessCount() == 0);
}

void RunOn(void (*prepare)(), const std::string& tail, bool mistyped, bool profile) {
  fake::ResetMachine();
  prepare();
  SystemAccess system;
  int status = RunCommandLine(tail, system);
  if (profile) {
    // Any exit status of a run, and at most the one message.
    Require(status >= kAllDone && status <= kEntriesSkipped);
    Require(fake::Machine().messageBoxes.size() <= 1u);
  } else {
    Require(status == kAllDone || status == kSomeNotDone || status == kMistyped);
    Require((status == kMistyped) == mistyped);
    Require(fake::Machine().messageBoxes.size() == (status == kMistyped ? 1u : 0u));
  }
  RequireNothingLeftOpen();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string tail(reinterpret_cast<const char*>(data), size);
  size_t first = 0;
  while (first < tail.size() && IsBlank(tail[first])) ++first;
  // A leading /restorepoint asks for a restore point before what follows.
  size_t wordEnd = 0;
  const bool restorePoint = WordAt(tail, first, &wordEnd) == "/restorepoint";
  if (restorePoint)
    for (first = wordEnd; first < tail.size() && IsBlank(tail[first]);) ++first;
  bool mistyped = first < tail.size() && tail[first] == '/'
                      ? IsMistypedSwitch(tail, first, restorePoint)
                      : ReadAllTokens(tail.substr(first));
  const bool profile = first < tail.size() && IsProfileSwitch(tail, first);
  RunOn(PrepareSettingKeys, tail, mistyped, profile);
  RunOn(MakeFullFakeSystem, tail, mistyped, profile);
  return 0;
}
