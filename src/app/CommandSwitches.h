#pragma once
// The command line's switches for administrators and scripts: /status,
// /preview, /undo and /?. None of them but /undo writes to the system.

#include <string>

#include "engine/Reports.h"

class SystemAccess;

// True when the tail's first argument is a switch: it begins with '/'.
bool StartsWithSwitch(const std::string& tail);

// Runs the switch and the setting numbers after it, and writes its text to
// the standard output, the starting console or a message box. Returns the
// exit status: 0, 1 (settings on, or not all restored), 2 (mistyped).
int RunSwitch(const std::string& tail, SystemAccess& system, TextLoader loadText);
