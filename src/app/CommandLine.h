#pragma once
// The command-line mode: the text after the program name is a list of
// setting numbers, applied in the order given.

#include <sstream>
#include <string>

class SystemAccess;

// Reads one number after the other from the command-line tail.
class CommandLineReader {
 public:
  enum class Token { kNumber, kMistyped, kEnd };

  explicit CommandLineReader(const std::string& tail);
  Token Next(unsigned int* number);

 private:
  std::stringstream stream_;
};

// Exit status of a command-line run.
enum CommandLineStatus : int { kAllDone = 0, kSomeNotDone = 1, kMistyped = 2 };

// Applies every accepted number of the tail through the given system, skips
// the others, and stops with the mistyped-arguments message at the first
// token that is not a number. A tail that begins with a switch runs it
// instead. Its texts come from the text source.
int RunCommandLine(const std::string& tail, SystemAccess& system);
