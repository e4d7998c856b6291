#include "app/CommandLineReader.h"

#include "platform/Platform.h"

constexpr unsigned int kNoNumber = 4294967295u;

bool IsCommandLineBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

size_t SkipBlanks(const std::string& tail, size_t at) {
  while (at < tail.size() && IsCommandLineBlank(tail[at])) ++at;
  return at;
}

size_t WordEnd(const std::string& tail, size_t at) {
  while (at < tail.size() && !IsCommandLineBlank(tail[at])) ++at;
  return at;
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
  at_ = SkipBlanks(tail_, at_);
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

int Mistyped() {
  platform::ShowMessageBox(nullptr, "You mistyped some of the commandline aguments!",
                           platform::ProgramName().c_str(), MB_OK | MB_ICONEXCLAMATION);
  return kMistyped;
}
