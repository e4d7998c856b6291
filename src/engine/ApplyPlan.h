#pragma once
// Everything apply of a setting may change, and whose registry that is:
// what a preview lists, the backup captures, and the rights and a startup
// script's account decide on.

#include <vector>

#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"

class SystemAccess;

// Everything apply of the setting may change, in order.
std::vector<PlannedChange> PlanOfApply(const SettingEntry& setting);

// Under WOW64, whether apply of the setting needs what this program cannot
// reach of the 64-bit system: a 64-bit program it cannot start, or a key of
// the 64-bit registry it cannot delete. Always false on 32-bit Windows.
bool NeedsUnreachable64BitPart(SystemAccess& system, const SettingEntry& setting);

// Whose registry a change of the setting reaches: the machine's (HKLM, HKU,
// services, programs, accounts), only the account that runs the program
// (HKCU), or both. Apply and revert touch the same places.
enum class SettingScope { kMachine, kUser, kBoth };
SettingScope ScopeOf(const SettingEntry& setting);

// Run as LocalSystem (a computer startup script), HKEY_CURRENT_USER is that
// account's own hive, no person's: a setting that reaches it is neither
// applied nor undone there, and left to a user logon script.
bool IsLeftToLogonScript(SettingScope scope, bool runsAsSystem);
bool IsLeftToLogonScript(const SettingEntry& setting, bool runsAsSystem);
