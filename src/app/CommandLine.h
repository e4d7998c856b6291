#pragma once
// The command-line mode: the text after the program name is a list of
// setting numbers, applied in the order given.

#include <string>

#include "app/CommandLineReader.h"

class SystemAccess;

// Applies every accepted number of the tail through the given system, skips
// the others, and stops with the mistyped-arguments message at the first
// token that is not a number. A tail that begins with a switch runs it
// instead; /restorepoint before either asks for a restore point around the
// changes. Its texts come from the text source.
int RunCommandLine(const std::string& tail, SystemAccess& system);
