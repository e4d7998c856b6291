#pragma once
// Each change the program makes is reported to the Application event log,
// the log administrators already collect, under the source "Hushgate".

#include <string>

#include "platform/WinTypes.h"

class SystemAccess;

// Where the source's registration lives (below HKEY_LOCAL_MACHINE).
extern const char kEventSourceKey[];

// The message file the source is to name, and how an entry's text is shown
// with it. The file must be one only administrators can replace and that is
// always there: every view of the log reads it.
struct EventMessageSource {
  std::string file;  // as registered (REG_EXPAND_SZ); empty: none fits
  DWORD eventId = 1;
  DWORD strings = 1;  // the message's inserts: the text, then empty ones
};
EventMessageSource ChooseEventMessageSource(SystemAccess& system);

// Registers the source with the chosen message file where it is not
// registered so, then writes the text as an information entry, or as an
// error entry when the change failed. A registration that named another
// file is replaced, and the entry says which it named. True when the entry
// was written.
bool ReportToEventLog(const std::string& text, bool succeeded);
