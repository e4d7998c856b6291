#pragma once
// Machines that still get updates through the Automatic Updates service:
// from Legacy Update, from an update server set by policy, or as POSReady.
// On them, disabling that service, or keeping the machine from Windows
// Update, stops their updates, so the settings that do so leave the
// recommended choice there.

#include "engine/SettingCatalogue.h"

class SystemAccess;

// True when one of the marks of such a machine is in the registry.
bool GetsUpdatesThroughService(SystemAccess& system);

// True when the setting would cut off the updates (the catalogue gives it a
// text that says why) and the machine gets its updates that way.
bool StopsUpdatesHere(SystemAccess& system, const SettingEntry& setting);

// The catalogue's recommendation, less what would stop this machine's updates.
bool IsRecommendedHere(SystemAccess& system, const SettingEntry& setting);
