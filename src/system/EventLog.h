#pragma once
// Each change the program makes is reported to the Application event log,
// the log administrators already collect, under the source "Hushgate".

#include <string>

// Registers the source with this program as its message file where it is
// not registered so, then writes the text as an information entry, or as an
// error entry when the change failed. True when the entry was written.
bool ReportToEventLog(const std::string& text, bool succeeded);
