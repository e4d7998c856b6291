#pragma once

#include "engine/SettingId.h"

class SystemAccess;
struct PolicyDecision;

// Switches one setting off. True when every step of it succeeded; false for
// the numbers that name nothing to apply (13, 17, 18, 20, above 62).
bool Apply(SystemAccess& system, SettingId id);
// The same with what the policies make of the setting, looked at already.
bool Apply(SystemAccess& system, SettingId id, const PolicyDecision& policy);
