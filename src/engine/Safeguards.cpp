#include "engine/Safeguards.h"

#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"
#include "system/SystemAccess.h"

namespace {

const char kRestorePointName[] = "Hushgate: before changes";
const char kSystemRestore[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore";

bool IsSystemRestoreOff(SystemAccess& system) {
  return system.CompareRegistryValue(HKEY_LOCAL_MACHINE, kSystemRestore, "DisableSR", kKindNumber,
                                     1, nullptr) == 1;
}

}  // namespace

bool RestorePoint::Begin(SystemAccess& system) {
  if (begun_ || IsSystemRestoreOff(system)) return begun_;
  int64_t sequence = 0;
  begun_ = system.SetRestorePoint(BEGIN_SYSTEM_CHANGE, MODIFY_SETTINGS, 0, kRestorePointName,
                                  &sequence) == ERROR_SUCCESS;
  if (begun_) {
    sequence_ = sequence;
    system_ = &system;
  }
  return begun_;
}

void RestorePoint::End(bool changed) {
  if (!begun_) return;
  begun_ = false;
  int64_t sequence = 0;
  system_->SetRestorePoint(END_SYSTEM_CHANGE, changed ? MODIFY_SETTINGS : CANCELLED_OPERATION,
                           sequence_, kRestorePointName, &sequence);
}
