#pragma once

#include "engine/SettingId.h"

class SystemAccess;
struct PolicyDecision;

// Switches one setting back on, to the values of a fresh installation. True
// when every step of it succeeded; false for the settings that cannot be
// brought back (0, 15, 16), for 13, and for numbers that name no setting.
// Where it cannot begin on this system, *refusal gets the text that tells
// the user why (the caller shows it), and nothing is written.
bool Revert(SystemAccess& system, SettingId id, int* refusal = nullptr);
// The same with what the policies make of the setting, looked at already.
bool Revert(SystemAccess& system, SettingId id, const PolicyDecision& policy, int* refusal);

// Reverts every setting from 0 to 62 in ascending order.
void ResetAll(SystemAccess& system);
