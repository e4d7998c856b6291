#pragma once
// The command-line mode: the text after the program name is a list of
// setting numbers, applied in the order given.

#include <cstddef>
#include <string>

class SystemAccess;

// The text after the program name of a whole command line as
// GetCommandLineA gives it, without the blanks and control characters that
// lead it. The name may be quoted and hold blanks.
std::string CommandLineTail(const char* commandLine);

// The blanks between arguments: those a C++ stream skips in the classic locale.
bool IsCommandLineBlank(char c);

// Reads one number after the other from the command-line tail.
class CommandLineReader {
 public:
  enum class Token { kNumber, kMistyped, kEnd };

  explicit CommandLineReader(const std::string& tail);
  Token Next(unsigned int* number);

 private:
  std::string tail_;
  size_t at_ = 0;
};

// Exit status of a command-line run.
// kNothingChanged: a precondition was not met (administrator rights, the
// restore point asked for), so nothing was changed at all.
enum CommandLineStatus : int { kAllDone = 0, kSomeNotDone = 1, kMistyped = 2, kNothingChanged = 3 };

// Applies every accepted number of the tail through the given system, skips
// the others, and stops with the mistyped-arguments message at the first
// token that is not a number. A tail that begins with a switch runs it
// instead; /restorepoint before either asks for a restore point around the
// changes. Its texts come from the text source.
int RunCommandLine(const std::string& tail, SystemAccess& system);
