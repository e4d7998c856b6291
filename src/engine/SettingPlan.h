#pragma once
// One plan per setting: every registry location a setting touches, with what
// apply puts there, what revert puts there, and how the status check judges
// it. Apply, revert and the status check walk these rows; settings carried
// out by another mechanism list here what that mechanism touches.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/SettingCatalogue.h"
#include "engine/SettingId.h"
#include "platform/WinTypes.h"
#include "system/RegistryView.h"

class SystemAccess;

struct RegistryData {
  DWORD type;
  const char* bytes;
  DWORD size;
};

enum class RegistryAction {
  kNone,         // the row is read only (the mechanism changes something else)
  kWriteValue,   // the row's data
  kDeleteValue,
  kDeleteKey,    // the row's key itself, which must have no subkeys
  // Carried out by the setting's mechanism, listed here:
  kCreateKey,    // the row's key with the keys above it that are missing
  kRemoveKey,    // the row's key itself; done when it is gone, deleted or not there
  kFromSystem,   // data the mechanism reads from the system when it runs
};

// How the status check judges a row. kEqual compares the value with what
// apply writes, read as that type; kAnyEqual rows of a setting need only one
// of them to hold; kAbsent holds when the value is not there; kExactly holds
// only for the very type and bytes apply writes.
enum class OffWhen { kEqual, kAnyEqual, kAbsent, kExactly };

struct RegistryOperation {
  SettingId id;
  HKEY root;
  const char* path;
  const char* name;  // the value; for key actions the value the status check reads
  RegistryAction apply;
  RegistryData offData;  // what apply writes
  RegistryAction revert;
  RegistryData onData;   // what revert writes
  OffWhen offWhen;
  // Which registry of a 64-bit Windows the row means (one registry on a
  // 32-bit Windows): the system's own, but for a component that is 32-bit
  // only, or one with both halves installed.
  RegistryView view = RegistryView::kSystem;
};

// The views the rows of a location act in: its own, or for a component of
// both halves each view where its key is (a key that cannot be read counts
// as there); the system's own where it is in neither, and on 32-bit Windows.
std::vector<RegistryView> ViewsAt(SystemAccess& system, HKEY root, const char* path,
                                  RegistryView view);

// The rows of one setting, in the order they are carried out.
TableView<RegistryOperation> RegistryOperationsOf(SettingId id);

// Carries out the apply (or revert) action of every row of the setting, in
// order, also after one fails, so the registry ends the same whatever went
// wrong. True when there are such actions and every one succeeded.
bool RunApplyRows(SystemAccess& system, SettingId id);
bool RunRevertRows(SystemAccess& system, SettingId id);
// The status check over the setting's rows; false without rows.
bool AreRowsOff(SystemAccess& system, SettingId id);

// One thing apply changes, for listing a plan before it runs.
struct PlannedChange {
  enum class Kind { kRegistryValue, kRegistryKey, kService, kProgram, kAccount };
  Kind kind;
  HKEY root = nullptr;  // registry kinds
  std::string path;     // key path; service, program (in the system folder) or account name
  std::string name;     // value name; the program's parameters
  RegistryAction action = RegistryAction::kNone;
  RegistryData data = {};  // for kWriteValue
  DWORD pauseMs = 0;       // for kProgram: how long apply waits after the launch
  DWORD requiredKeys = 0;  // for kCreateKey: the keys along the path apply needs to exist
  // The registry view of the row; for kProgram kEach when under WOW64 the
  // 64-bit program runs after the 32-bit one.
  RegistryView view = RegistryView::kSystem;
};
