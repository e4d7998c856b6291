#pragma once
// What is made sure of before the first change: who may change a setting,
// and an optional System Restore point around the changes.

#include <cstdint>
#include <vector>

#include "engine/SettingId.h"
#include "engine/ApplyPlan.h"
#include "engine/SettingPlan.h"

class SystemAccess;

// Whether changes of that scope reach beyond the running account's own keys,
// so that only an administrator can make them.
inline bool NeedsAdministrator(SettingScope scope) { return scope != SettingScope::kUser; }

// A restore point around a run of changes.
class RestorePoint {
 public:
  RestorePoint() = default;
  RestorePoint(const RestorePoint&) = delete;
  RestorePoint& operator=(const RestorePoint&) = delete;
  // Kept, not cancelled, when a path leaves without saying.
  ~RestorePoint() { End(true); }

  // Begins "Hushgate: before changes". False, with nothing begun, where
  // System Restore is switched off (DisableSR = 1, which is read and never
  // changed), srclient.dll is missing, or the call fails.
  bool Begin(SystemAccess& system);
  // Ends a begun point, or cancels it when nothing was changed.
  void End(bool changed);

 private:
  bool begun_ = false;
  SystemAccess* system_ = nullptr;  // the one it was begun through
  int64_t sequence_ = 0;
};
