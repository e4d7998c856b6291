#pragma once
// The settings the program knows, as one constant table. Its order is the
// order of the tree; every other part of the engine is keyed by SettingId and
// reads its facts from here.

#include <cstddef>

#include "engine/SettingId.h"

enum class SettingKind { kCheck, kRadio };

// When a setting is offered, or a category shown, on the running system.
enum class Availability {
  kAlways,
  kMediaPlayer8,
  kWindowsXp,
  kInternetExplorer6,
  kWindowsXpWithQos,
  kOfficeXp,
  kSupportAccount,
  kService,  // the setting's service is installed
  kMediaPlayer9,       // Media Player 9 or later, by its Active Setup entry
  kMediaPlayer8Or9,    // either of the two Media Player probes
  kInternetExplorer7,
  kInternetExplorer8,
  kInternetExplorer7Or8,
  kInternetExplorer6To8,
};

// Who carries a setting out. Registry settings are rows of the plan that
// apply, revert and the status check walk; the others have a function each
// (engine/Mechanisms.cpp) over rows that tell what they touch.
enum class Mechanism {
  kNoAction,            // the Messenger choice that leaves everything as it is
  kRegistry,
  kMessengerAutostart,  // revert writes the Messenger's own program path
  kMessengerRemoval,    // the INF installer
  kSupportAccount,      // net user /delete
  kService,             // the catalogue's service: disabled and stopped
  kQosPolicy,           // both policy key chains of the packet scheduler
  kOfficePolicy,        // Office's policy key chains, then the rows
  kZipFolders,          // regsvr32 of the ZIP folder library
  kPolicyValue,         // rows below a policy key, whose key chain apply makes first
};

struct SettingEntry {
  SettingId id;
  int labelId;
  int descriptionId;
  SettingCategory category;
  SettingKind kind;
  Availability offeredWhen;
  const char* serviceName;  // for kService settings, else nullptr
  bool recommended;
  bool expertOnly;
  bool commandLine;
  Mechanism mechanism;
  bool revertible;  // false: apply cannot be undone (deleted key, account, installation)
  int consequenceId;  // what stops working or changes for the user, and how to get it back
  int effectId;       // when the change takes effect: at once, next logon, restart
  // Where the machine gets its updates through Legacy Update, an update
  // server or POSReady, the setting would cut them off: it is not
  // recommended there, and this text says why. 0: it would not.
  int updatesNoteId = 0;
};

struct CategoryEntry {
  SettingCategory category;
  int labelId;
  int descriptionId;
  Availability shownWhen;
  // Where this does not hold, the category is named by the other texts.
  Availability ownTextsWhen = Availability::kAlways;
  int otherLabelId = 0;
  int otherDescriptionId = 0;
};

template <class T>
struct TableView {
  const T* first;
  size_t count;
  const T* begin() const { return first; }
  const T* end() const { return first + count; }
};

// The rows that belong to one setting, of a table grouped by setting (a
// setting's plan rows, its policy rows).
template <class Row, size_t N>
TableView<Row> RowsOfSetting(const Row (&rows)[N], SettingId id) {
  const Row* first = rows;
  const Row* end = rows + N;
  while (first != end && first->id != id) ++first;
  const Row* last = first;
  while (last != end && last->id == id) ++last;
  return {first, static_cast<size_t>(last - first)};
}

TableView<SettingEntry> AllSettings();      // in tree order
TableView<CategoryEntry> AllCategories();   // in tree order

// nullptr when the number names no setting (17, 18, 20, above 62).
const SettingEntry* FindSetting(SettingId id);
const CategoryEntry* FindCategory(SettingCategory category);

bool IsCommandLineSetting(SettingId id);
// The Messenger choice "Keine Aktion": selected at build, applies nothing.
// True when the change waits for the next logon or a restart.
bool TakesEffectLater(const SettingEntry& setting);
inline bool IsNoAction(const SettingEntry& entry) { return entry.mechanism == Mechanism::kNoAction; }
// The settings reports, profiles and undo take: every one with a tree item
// but the choice that does nothing.
bool IsReportedSetting(SettingId id);
