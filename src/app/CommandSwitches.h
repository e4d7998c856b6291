#pragma once
// The command line's switches for administrators and scripts: /status,
// /preview, /undo and /?, and /lang before any of them or the numbers. None
// of them but /undo writes to the system.

#include <string>

class SystemAccess;

enum class LanguageSwitch { kNone, kGerman, kEnglish };

// Takes a first argument /lang:de or /lang:en (upper or lower case) off the
// tail, with the blanks after it, and tells which it was. Any other tail is
// left as it is, so a mistyped /lang is an unknown switch.
LanguageSwitch TakeLanguageSwitch(std::string* tail);

// Takes a first argument /restorepoint (upper or lower case) off the tail,
// with the blanks after it; true when it was there.
bool TakeRestorePointSwitch(std::string* tail);

// True when the tail's first argument is a switch: it begins with '/'.
bool StartsWithSwitch(const std::string& tail);

// Runs the switch and the setting numbers after it, and writes its text to
// the standard output, the starting console or a message box. Returns the
// exit status: 0, 1 (settings on, or not all restored), 2 (mistyped), 3
// (/undo without the rights or the restore point it needs: nothing changed).
// A restore point is asked for only before /undo.
int RunSwitch(const std::string& tail, SystemAccess& system, bool restorePointAsked);
