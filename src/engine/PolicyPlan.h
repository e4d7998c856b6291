#pragma once
// The Group Policy values that decide a setting whatever its own values say,
// one row each, grouped by setting like the setting's own rows. While such a
// value stands Windows follows it and puts it back at every refresh, so the
// state that holds is the policy's, and nothing here ever writes a policy.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/SettingCatalogue.h"
#include "engine/SettingId.h"
#include "platform/WinTypes.h"
#include "system/PolicyFiles.h"

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

// The same for many settings in one pass (a refresh of the tree, a report):
// each policy key is looked for once, and the templates and the local
// policy's files are read once, when a setting first needs them.
class PolicyView {
 public:
  explicit PolicyView(SystemAccess& system) : system_(system) {}
  PolicyDecision Decide(SettingId id);

 private:
  PolicyState RowState(const SettingEntry& setting, const PolicyRow& row, std::string* source);
  PolicyState TemplateState(const SettingEntry& setting, std::string* source);
  PolicyState FileState(const PolicyRow& row, std::string* source);
  PolicyState RegistryState(const PolicyRow& row, std::string* source);
  bool KeyPresent(HKEY root, const char* path);
  bool IsProgramsOwn(const PolicyRow& row);
  const std::vector<PolicyFileValue>& LocalFile(bool machine, std::string* file);

  SystemAccess& system_;
  std::map<std::pair<HKEY, std::string>, bool> keys_;
  std::unique_ptr<std::vector<PolicyTemplate>> templates_;
  std::unique_ptr<std::vector<PolicyFileValue>> files_[2];
  std::string fileNames_[2];
};
