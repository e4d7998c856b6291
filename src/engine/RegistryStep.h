#pragma once
// A registry change that a setting makes, as one row of data: the tables of
// apply and revert are lists of these, run in order for one SettingId.

#include <cstddef>

#include "engine/SettingCatalogue.h"
#include "engine/SettingId.h"
#include "platform/WinTypes.h"

class SystemAccess;

struct RegistryData {
  DWORD type;
  const char* bytes;
  DWORD size;
};

enum class StepAction { kWriteValue, kDeleteValue, kDeleteKey };

struct RegistryStep {
  SettingId id;
  StepAction action;
  HKEY root;
  const char* path;  // for kDeleteKey, the parent of the key to delete
  const char* name;  // value name, or for kDeleteKey the subkey
  RegistryData data;  // for kWriteValue
};

// Runs every step of the setting in table order, also after one fails, so the
// registry ends the same whatever went wrong. True when the table has steps
// for the setting and each of them succeeded.
bool RunRegistrySteps(SystemAccess& system, TableView<RegistryStep> steps, SettingId id);
