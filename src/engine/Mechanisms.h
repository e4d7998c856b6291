#pragma once
// The functions of the settings that are not carried out by their registry
// rows alone, one entry per mechanism of the catalogue.

#include <vector>

#include "engine/SettingCatalogue.h"
#include "engine/SettingPlan.h"

class SystemAccess;

struct MechanismFunctions {
  using Operation = bool (*)(SystemAccess&, const SettingEntry&);
  Mechanism mechanism;
  Operation apply;   // nullptr: the setting's rows
  Operation revert;  // nullptr: the setting's rows
  Operation isOff;   // nullptr: the setting's rows
  bool answersStatusCheck;  // false: the status check has no answer for it
  // False for launched programs: they leave nothing the backup could
  // capture, so undo cannot bring back what they did.
  bool undoable;
  // False where the change runs on after apply returns (the account's
  // deletion): its start is what counts.
  bool waitedFor;
  // What it changes beyond its rows, for listing the plan.
  void (*listChanges)(const SettingEntry&, std::vector<PlannedChange>*);
  // Why revert cannot begin on this system, as a text for the user; 0 when
  // it can. nullptr: it always can.
  int (*revertRefusal)(SystemAccess&, const SettingEntry&) = nullptr;
};

const MechanismFunctions& FunctionsOf(Mechanism mechanism);
