#pragma once
// The time-server dialog's change as a plan of its own: the values that make
// a server the one Windows synchronises with. The dialog writes them, the
// backup captures them and undo accepts them, all from this one list.

#include <string>
#include <vector>

#include "engine/Backup.h"
#include "platform/WinTypes.h"
#include "system/RegistryValues.h"

// One value the change writes below HKEY_LOCAL_MACHINE, in the order written.
struct TimeServerWrite {
  const char* path;
  NamedValue value;
  bool namedByServer;  // its name is the server's number, whichever is chosen
  int decidedWith;     // the setting a Group Policy may decide it with, or -1
};

// What the dialog writes for the server of this number and host.
std::vector<TimeServerWrite> TimeServerWrites(int number, const std::string& host);

// The server number a value's name stands for (one to nine digits, no
// leading zero), or 0 when it names no server.
int ServerNumberOf(const std::string& name);

// The places the dialog writes for the server of this number, for the
// backup; and the plan undo takes them back by, which accepts the value of
// whichever server was chosen.
std::vector<BackupLocation> TimeServerLocations(int number);
std::vector<BackupLocation> TimeServerLocations(const std::vector<TimeServerWrite>& writes);
UndoablePlan TimeServerPlan();
