#pragma once
// What the Internet time-server dialog reads from and writes to the registry,
// apart from its window: the list of servers with the one in use, and the
// writes that make a server the one Windows synchronises with.

#include <string>
#include <vector>

#include "platform/WinTypes.h"

#include "engine/SettingKeys.h"
#include "engine/TimeServerPlan.h"

// The servers' list and the current server's number live here (HKLM).
inline constexpr const char* kServers = keys::kTimeServers;

struct TimeServer {
  int number;  // the name of its value below kServers
  std::string host;
};

struct TimeServerList {
  std::vector<TimeServer> servers;  // by ascending number
  int current = -1;                 // index into servers, or -1
};

TimeServerList ReadTimeServers();

// The number a newly added server gets: highest number + 1, or 1 when empty.
int NextServerNumber(const std::vector<TimeServer>& servers);

// The dialog's writes for the server, less those a Group Policy decides
// (whether the time service starts, 11, and whether it synchronises, 21:
// the policy keeps its value); *decided, when given, gets what it decides.
std::vector<TimeServerWrite> WritesLeftByPolicy(const TimeServer& server,
                                                std::vector<std::string>* decided = nullptr);

// Makes the server the time service's source, records it as the current one
// and sets the time service to start automatically, as far as no policy
// decides it. A key that cannot be opened is skipped; the other writes still
// happen. True when every value was written.
bool ApplyTimeServer(const TimeServer& server);

// Asks (Yes/No, owned by owner) whether to reactivate the time service, or,
// where a policy decides part of it, says what is left alone and asks
// whether to go on; on Yes captures the values it writes into the backup
// (asking whether to go on when that fails) and applies the server. Returns
// whether it was applied whole.
bool ConfirmAndApplyTimeServer(HWND owner, const TimeServer& server);
