#pragma once

#include "engine/SettingId.h"

class SystemAccess;
struct PolicyDecision;

// True when the function the setting switches off is already off on the
// running system. False for the numbers without a check (13, 16, 17, 18, 20,
// above 62).
bool StatusCheck(SystemAccess& system, SettingId id);

// Whether the function is off as the tree shows it: the status check, and
// for the support account whether it is gone. Where a Group Policy decides
// the setting, what the policy makes it.
bool IsSettingOff(SystemAccess& system, SettingId id);
bool IsSettingOff(SystemAccess& system, SettingId id, const PolicyDecision& policy);
// The same from the setting's own values alone, whatever a policy says.
bool IsSettingOffLocally(SystemAccess& system, SettingId id);
