#pragma once

#include "engine/SettingId.h"

class SystemAccess;

// Switches one setting off. True when every step of it succeeded; false for
// the numbers that name nothing to apply (13, 17, 18, 20, above 62).
bool Apply(SystemAccess& system, SettingId id);
