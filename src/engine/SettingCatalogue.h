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
};

struct CategoryEntry {
  SettingCategory category;
  int labelId;
  int descriptionId;
  Availability shownWhen;
};

template <class T>
struct TableView {
  const T* first;
  size_t count;
  const T* begin() const { return first; }
  const T* end() const { return first + count; }
};

TableView<SettingEntry> AllSettings();      // in tree order
TableView<CategoryEntry> AllCategories();   // in tree order

// nullptr when the number names no setting (17, 18, 20, above 30).
const SettingEntry* FindSetting(SettingId id);
const CategoryEntry* FindCategory(SettingCategory category);

bool IsCommandLineSetting(SettingId id);
