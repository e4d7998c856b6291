#pragma once
// Reading the command line: the text after the program name, the blanks
// between arguments, words and numbers. The numbers' run and the switches
// read it alike.

#include <cstddef>
#include <string>

// The text after the program name of a whole command line as
// GetCommandLineA gives it, without the blanks and control characters that
// lead it. The name may be quoted and hold blanks.
std::string CommandLineTail(const char* commandLine);

// The blanks between arguments: those a C++ stream skips in the classic locale.
bool IsCommandLineBlank(char c);

// The first position from at that is not a blank; the end of the word at at.
size_t SkipBlanks(const std::string& tail, size_t at);
size_t WordEnd(const std::string& tail, size_t at);

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
// kEntriesSkipped: a profile named entries this version does not know; the
// rest of it was carried out.
enum CommandLineStatus : int {
  kAllDone = 0,
  kSomeNotDone = 1,
  kMistyped = 2,
  kNothingChanged = 3,
  kEntriesSkipped = 4
};

// Says in a message box that an argument is mistyped; returns kMistyped.
int Mistyped();
