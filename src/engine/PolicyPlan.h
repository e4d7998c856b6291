#pragma once
// The Group Policy values that decide a setting whatever its own values say,
// one row each, grouped by setting like the setting's own rows. While such a
// value stands Windows follows it and puts it back at every refresh, so the
// state that holds is the policy's, and nothing here ever writes a policy.

#include <string>

#include "engine/SettingCatalogue.h"
#include "engine/SettingId.h"
#include "platform/WinTypes.h"

class SystemAccess;

// Where a row's policy value is kept.
enum class PolicyPlace {
  kRegistry,         // a REG_DWORD under a policy key
  kTimeType,         // the time service's REG_SZ type
  kServiceTemplate,  // the start type of the setting's service in the applied templates
  kMachineFile,      // System32\GroupPolicy\Machine\Registry.pol
  kUserFile,         // System32\GroupPolicy\User\Registry.pol
};

// A number that any value other than the off number stands for.
constexpr int kAnyOther = -2;
constexpr int kNoNumber = -1;

struct PolicyRow {
  SettingId id;
  PolicyPlace place;
  HKEY root;         // kRegistry
  const char* path;  // the key, below the root or within the file
  const char* name;
  int offNumber;  // the number that switches the function off, or kNoNumber
  int onNumber;   // the number that switches it on, kAnyOther, or kNoNumber
};

TableView<PolicyRow> PolicyRowsOf(SettingId id);

enum class PolicyState { kNone, kOff, kOn };

// What the policies make of a setting: nothing, or off or on, and the value
// that decides it as an administrator finds it ("HKLM\...\DoReport = 1").
// Where one value switches the function off it is off, whatever others say.
struct PolicyDecision {
  PolicyState state = PolicyState::kNone;
  std::string source;
  bool decided() const { return state != PolicyState::kNone; }
};

PolicyDecision DecidingPolicy(SystemAccess& system, SettingId id);
