#pragma once
// What a setting costs the user, told before and after it is applied: the
// catalogue's texts of what changes and when, and on a machine whose updates
// it would stop, why it is not recommended there.

#include <string>
#include <vector>

#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"

class SystemAccess;

// One text a line: why it would stop this machine's updates (only then),
// what stops working or changes and how to get it back, when it takes effect.
std::vector<std::string> ConsequencesOf(SystemAccess& system, const SettingEntry& setting,
                                        TextLoader load);

// What a Group Policy means for the setting, in one sentence: which value
// decides it and that a change here would be undone at the next refresh; for
// a setting whose own value is a policy value that no local policy sets, on
// a domain member, that a domain policy may overwrite it. Empty otherwise.
std::string PolicyNoteOf(SystemAccess& system, const SettingEntry& setting, TextLoader load);

// Those of the settings whose change waits for the next logon or a restart.
std::vector<SettingId> TakingEffectLater(const std::vector<SettingId>& ids);
