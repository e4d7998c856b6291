#pragma once

#include "engine/SettingId.h"

class SystemAccess;

// True when the function the setting switches off is already off on the
// running system. False for the numbers without a check (13, 16, 17, 18, 20,
// above 30).
bool StatusCheck(SystemAccess& system, SettingId id);
