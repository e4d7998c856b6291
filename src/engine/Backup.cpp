#include "engine/Backup.h"

#include <algorithm>

#include "engine/Mechanisms.h"
#include "engine/SettingCatalogue.h"
#include "engine/ApplyPlan.h"
#include "engine/SettingPlan.h"
#include "engine/TextSource.h"
#include "engine/TimeServerPlan.h"
#include "res/resource.h"
#include "system/RegistryText.h"
#include "system/RegistryValues.h"
#include "system/SystemAccess.h"

namespace {

using Kind = BackupLocation::Kind;

const char kMachineBackup[] = "SOFTWARE\\Hushgate\\Backup";
const char kUserBackup[] = "Software\\Hushgate\\Backup";
const char kMachineProduct[] = "SOFTWARE\\Hushgate";
const char kUserProduct[] = "Software\\Hushgate";
const char kKeyCopy[] = "Key";

// A deleted key is kept within these bounds; what lies beyond them is lost
// with the key, as it would be without a backup.
constexpr int kMaxKeyDepth = 4;
constexpr size_t kMaxKeysCopied = 64;
constexpr size_t kMaxValuesCopied = 256;
// Larger data is no setting's and is never written back.
constexpr size_t kMaxValueSize = 65536;
// What restoring an item answers when nothing went wrong: no text.
constexpr int kRestored = 0;
// The backup is the program's own data, and this 32-bit program's keys live
// in the 32-bit view on a 64-bit Windows, where earlier versions kept them.
constexpr RegistryView kStore = RegistryView::k32Bit;
// How an item names the view of its location; an item without one was made
// by an earlier version, which wrote the 32-bit view.
constexpr DWORD kView32 = 32;
constexpr DWORD kView64 = 64;

// --- Small registry helpers over the system layer ---------------------------

std::vector<BYTE> Number(DWORD n) {
  return {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)};
}

const NamedValue* Find(const std::vector<NamedValue>& values, const char* name) {
  for (const NamedValue& value : values)
    if (Lower(value.name) == Lower(name)) return &value;
  return nullptr;
}

// A number only when stored as one: four bytes of REG_DWORD.
bool ReadNumber(const std::vector<NamedValue>& values, const char* name, DWORD* number) {
  const NamedValue* value = Find(values, name);
  return value && DecodeNumber(value->type, value->data, number);
}

bool ReadText(const std::vector<NamedValue>& values, const char* name, std::string* text) {
  const NamedValue* value = Find(values, name);
  if (!value || value->type != REG_SZ) return false;
  *text = TextUpToZero(value->data);
  return true;
}

// Roots by number, as the backup stores them.
const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};

DWORD RootNumber(HKEY root) {
  for (DWORD i = 0; i < 4; ++i)
    if (kRoots[i] == root) return i;
  return 0;
}

// The user's own locations are kept in the user's hive; everything else,
// services included, machine-wide.
HKEY BackupRootFor(const BackupLocation& location) {
  return location.kind != Kind::kService && location.root == HKEY_CURRENT_USER
             ? HKEY_CURRENT_USER
             : HKEY_LOCAL_MACHINE;
}

std::string EntryPath(HKEY backupRoot, const UndoablePlan& plan) {
  return std::string(backupRoot == HKEY_CURRENT_USER ? kUserBackup : kMachineBackup) + "\\" +
         plan.entry;
}

// On 32-bit Windows there is one registry, whatever view a location names.
bool SameLocation(SystemAccess& system, const BackupLocation& a, const BackupLocation& b) {
  return a.kind == b.kind && a.root == b.root && Lower(a.path) == Lower(b.path) &&
         Lower(a.name) == Lower(b.name) && (a.view == b.view || !system.IsWow64());
}

// --- Reading a stored item: nothing in it is trusted ------------------------

struct StoredItem {
  std::string key;  // its key in the backup
  BackupLocation location;
  DWORD existed = 0;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  DWORD startType = 0;
  DWORD depth = 0;
  bool wellFormed = false;
  bool earlierView = false;  // no view recorded: the 32-bit one of an earlier version
};

// The view an item names, 32 or 64, or none at all; any other is no view.
bool ReadView(const std::vector<NamedValue>& values, StoredItem* item) {
  DWORD view = kView32;
  item->earlierView = !Find(values, "View");
  if (!item->earlierView &&
      (!ReadNumber(values, "View", &view) || (view != kView32 && view != kView64)))
    return false;
  item->location.view = view == kView64 ? RegistryView::kSystem : RegistryView::k32Bit;
  return true;
}

StoredItem ReadItem(SystemAccess& system, HKEY backupRoot, const std::string& key) {
  StoredItem item;
  item.key = key;
  std::vector<NamedValue> values;
  if (!system.ReadRegistryValues(backupRoot, key.c_str(), &values, kStore)) return item;
  DWORD kind = 0;
  DWORD root = 0;
  if (!ReadNumber(values, "Kind", &kind) || kind < 1 || kind > 4 ||
      !ReadNumber(values, "Root", &root) || root > 3 ||
      !ReadText(values, "Path", &item.location.path) ||
      !ReadText(values, "Name", &item.location.name) ||
      !ReadNumber(values, "Existed", &item.existed) || !ReadView(values, &item))
    return item;
  item.location.kind = static_cast<Kind>(kind);
  item.location.root = kRoots[root];
  const NamedValue* data = Find(values, "Data");
  if (data) item.data = data->data;
  // Each kind needs its own fields: a value that existed its type and bytes,
  // a deleted key its copy; a missing one is never taken for empty.
  switch (item.location.kind) {
    case Kind::kValue:
      item.wellFormed = !item.existed || (ReadNumber(values, "Type", &item.type) && data);
      break;
    case Kind::kService:
      item.wellFormed = ReadNumber(values, "StartType", &item.startType);
      break;
    case Kind::kKeyChain:
      item.wellFormed = ReadNumber(values, "Depth", &item.depth);
      break;
    case Kind::kKeyTree:
      item.wellFormed =
          !item.existed ||
          system.RegistryKeyExists(backupRoot, (key + "\\" + kKeyCopy).c_str(), kStore);
      break;
  }
  return item;
}

// Item keys have at most six digits; a capture that would need more fails
// rather than go where undo never looks.
constexpr unsigned long kLastItemNumber = 999999;

// The number an item key's name of at most six digits stands for.
unsigned long NumberOf(const std::string& digits) {
  unsigned long number = 0;
  for (char c : digits) number = number * 10 + static_cast<unsigned long>(c - '0');
  return number;
}

// Item keys are "0", "1", ... in the order of capture.
std::vector<std::string> ItemKeys(SystemAccess& system, HKEY backupRoot, const UndoablePlan& plan) {
  std::vector<std::string> names;
  std::string entry = EntryPath(backupRoot, plan);
  system.ReadRegistrySubKeys(backupRoot, entry.c_str(), &names, kStore);
  std::vector<std::pair<unsigned long, std::string>> numbered;
  for (const std::string& name : names) {
    if (name.empty() || name.size() > 6 ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    numbered.push_back({NumberOf(name), entry + "\\" + name});
  }
  std::sort(numbered.begin(), numbered.end());
  std::vector<std::string> keys;
  for (auto& [number, key] : numbered) keys.push_back(key);
  return keys;
}

std::vector<StoredItem> ReadItems(SystemAccess& system, HKEY backupRoot,
                                  const UndoablePlan& plan) {
  std::vector<StoredItem> items;
  for (const std::string& key : ItemKeys(system, backupRoot, plan)) items.push_back(ReadItem(system, backupRoot, key));
  return items;
}

// --- Capturing ---------------------------------------------------------------

struct CopyBudget {
  size_t keys = 0;
  size_t values = 0;
};

// Copies the key with its values and subkeys, within the bounds. A key that
// cannot be read, or a value too large for undo ever to write back, fails
// the copy: it would come back as less than it was.
bool CopyKey(SystemAccess& system, HKEY fromRoot, const std::string& from, RegistryView view,
             HKEY toRoot, const std::string& to, int depth, CopyBudget* budget) {
  if (++budget->keys > kMaxKeysCopied || !system.CreateRegistryKey(toRoot, to.c_str(), kStore))
    return false;
  std::vector<NamedValue> values;
  std::vector<std::string> subKeys;
  if (!system.ReadRegistryValues(fromRoot, from.c_str(), &values, view) ||
      !system.ReadRegistrySubKeys(fromRoot, from.c_str(), &subKeys, view))
    return false;
  std::vector<NamedValue> kept;
  for (const NamedValue& value : values) {
    if (value.data.size() > kMaxValueSize) return false;
    if (budget->values++ < kMaxValuesCopied) kept.push_back(value);
  }
  bool copied = system.WriteRegistryValues(toRoot, to.c_str(), kept, kStore);
  if (depth >= kMaxKeyDepth) return copied;
  for (const std::string& name : subKeys)
    copied &= CopyKey(system, fromRoot, from + "\\" + name, view, toRoot, to + "\\" + name,
                      depth + 1, budget);
  return copied;
}

// The path and the keys above it, the shortest first.
std::vector<std::string> KeysAlong(const std::string& path) {
  std::vector<std::string> keys;
  for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
    keys.push_back(path.substr(0, at));
  keys.push_back(path);
  return keys;
}

// How many keys along the path exist: the ones below them are those apply
// creates.
DWORD ExistingDepth(SystemAccess& system, HKEY root, const std::string& path,
                    RegistryView view) {
  DWORD depth = 0;
  for (const std::string& key : KeysAlong(path)) {
    if (!system.RegistryKeyExists(root, key.c_str(), view)) break;
    ++depth;
  }
  return depth;
}

// What one kind of location holds now, added to the item's values: whether
// it exists (*existed); false when it cannot be read.
bool DescribeValue(SystemAccess& system, const BackupLocation& at, DWORD* existed,
                   std::vector<NamedValue>* values) {
  DWORD type = 0;
  std::vector<BYTE> data;
  *existed = system.ReadRegistryValue(at.root, at.path.c_str(), at.name.c_str(), &type, &data, at.view);
  if (!*existed)
    return system.RegistryValueAbsent(at.root, at.path.c_str(), at.name.c_str(), at.view);
  values->push_back({"Type", REG_DWORD, Number(type)});
  values->push_back({"Data", REG_BINARY, data});
  return true;
}

bool DescribeService(SystemAccess& system, const BackupLocation& at, DWORD* existed,
                     std::vector<NamedValue>* values) {
  DWORD start = system.Services().GetServiceStartType(at.name.c_str());
  if (start == kStartTypeUnknown) return false;
  *existed = start != kStartTypeMissing;
  values->push_back({"StartType", REG_DWORD, Number(start)});
  return true;
}

bool DescribeKeyChain(SystemAccess& system, const BackupLocation& at, DWORD* existed,
                      std::vector<NamedValue>* values) {
  *existed = 1;
  values->push_back({"Depth", REG_DWORD, Number(ExistingDepth(system, at.root, at.path, at.view))});
  return true;
}

bool DescribeKeyTree(SystemAccess& system, const BackupLocation& at, DWORD* existed,
                     std::vector<NamedValue>*) {
  *existed = system.RegistryKeyExists(at.root, at.path.c_str(), at.view);
  return *existed || system.RegistryKeyAbsent(at.root, at.path.c_str(), at.view);
}

// What the location holds now, as an item's values; false when it cannot
// be read: neither what is there nor that nothing is there is known.
bool DescribeNow(SystemAccess& system, const BackupLocation& location, bool* keyTree,
                 std::vector<NamedValue>* described) {
  using Describer = bool (*)(SystemAccess&, const BackupLocation&, DWORD*, std::vector<NamedValue>*);
  static const Describer kDescribers[] = {DescribeValue, DescribeKeyTree, DescribeService,
                                          DescribeKeyChain};
  std::vector<NamedValue> values = {
      {"Kind", REG_DWORD, Number(static_cast<DWORD>(location.kind))},
      {"Root", REG_DWORD, Number(RootNumber(location.root))},
      {"Path", REG_SZ, TextBytes(location.path)},
      {"Name", REG_SZ, TextBytes(location.name)},
  };
  // Only a 64-bit Windows has two views to tell apart.
  if (location.kind != Kind::kService && system.IsWow64())
    values.push_back({"View", REG_DWORD,
                      Number(location.view == RegistryView::k32Bit ? kView32 : kView64)});
  DWORD existed = 0;
  if (!kDescribers[static_cast<DWORD>(location.kind) - 1](system, location, &existed, &values))
    return false;
  *keyTree = location.kind == Kind::kKeyTree && existed;
  values.push_back({"Existed", REG_DWORD, Number(existed)});
  *described = values;
  return true;
}

int RefusalOf(const StoredItem& item, const UndoablePlan& plan, HKEY backupRoot);

// The number of the next item: after every item undo would take, and on
// no key that is there already. Items capture would not accept (planted,
// broken) take no part in the order, so they can never use the numbers up.
bool NextItemNumber(const UndoablePlan& plan, HKEY backupRoot, const std::vector<StoredItem>& items,
                    unsigned long* next) {
  std::vector<unsigned long> taken;
  *next = 0;
  for (const StoredItem& item : items) {
    const unsigned long number = NumberOf(item.key.substr(item.key.rfind('\\') + 1));
    taken.push_back(number);
    if (RefusalOf(item, plan, backupRoot) == kRestored) *next = std::max(*next, number + 1);
  }
  while (std::find(taken.begin(), taken.end(), *next) != taken.end()) ++*next;
  return *next <= kLastItemNumber;
}

using Cause = CaptureFailure::Cause;

Cause CaptureOne(SystemAccess& system, const UndoablePlan& plan, const BackupLocation& location) {
  HKEY backupRoot = BackupRootFor(location);
  std::vector<StoredItem> items = ReadItems(system, backupRoot, plan);
  // Only an item undo would take counts: anything else naming the location
  // (planted, broken) must not stand in for a capture.
  for (const StoredItem& item : items)
    if (RefusalOf(item, plan, backupRoot) == kRestored &&
        SameLocation(system, item.location, location))
      return Cause::kNone;
  std::string entry = EntryPath(backupRoot, plan);
  unsigned long next = 0;
  if (!NextItemNumber(plan, backupRoot, items, &next)) return Cause::kNotWritten;
  std::string key = entry + "\\" + std::to_string(next);
  bool keyTree = false;
  std::vector<NamedValue> values;
  if (!DescribeNow(system, location, &keyTree, &values)) return Cause::kUnreadable;
  if (!system.CreateRegistryKey(backupRoot, key.c_str(), kStore)) return Cause::kNotWritten;
  bool written = system.WriteRegistryValues(backupRoot, entry.c_str(),
                                     {{"Time", REG_SZ, TextBytes(system.LocalTimeText())},
                                      {"User", REG_SZ, TextBytes(system.UserName())}}, kStore) &&
                 system.WriteRegistryValues(backupRoot, key.c_str(), values, kStore);
  // Half an item would be taken for a capture, or refused as a broken one.
  if (!written) {
    system.DeleteRegistryTree(backupRoot, key.c_str(), kStore);
    return Cause::kNotWritten;
  }
  if (!keyTree) return Cause::kNone;
  // A key beyond the bounds is kept as far as they reach; a copy that
  // failed is no capture.
  CopyBudget budget;
  if (CopyKey(system, location.root, location.path, location.view, backupRoot,
              key + "\\" + kKeyCopy, 0, &budget))
    return Cause::kNone;
  system.DeleteRegistryTree(backupRoot, key.c_str(), kStore);
  return Cause::kUnreadable;
}

// --- Which locations belong to a setting --------------------------------------

// The plan's own location the item names, or nullptr when it names none.
const BackupLocation* AllowedMatch(const BackupLocation& location,
                                   const std::vector<BackupLocation>& allowed) {
  for (const BackupLocation& own : allowed) {
    bool named = own.anyServerNumber ? ServerNumberOf(location.name) != 0
                                     : Lower(own.name) == Lower(location.name);
    if (own.kind == location.kind && own.root == location.root &&
        Lower(own.path) == Lower(location.path) && named)
      return &own;
  }
  return nullptr;
}

// The 32-bit view is named only where there are two.
std::string Describe(const BackupLocation& location, bool twoViews) {
  if (location.kind == Kind::kService) return Text(IDS_SERVICE) + " " + PrintableText(location.name);
  std::string text = std::string(RootName(location.root)) + "\\" + location.path;
  if (location.kind == Kind::kValue)
    text += "\\" + (location.name.empty() ? Text(IDS_DEFAULT_VALUE) : location.name);
  if (twoViews && location.view == RegistryView::k32Bit) text += Text(IDS_VIEW_32BIT);
  return PrintableText(text);
}

bool IsValidValue(DWORD type, const std::vector<BYTE>& data) {
  if (type > REG_QWORD || data.size() > kMaxValueSize) return false;
  return type != REG_DWORD || data.size() == 4;
}

// Why undo refuses the item, or kRestored when it takes it: every field its
// kind needs, one of the plan's own locations that this area may reach (the
// user's own area only the user's own), a valid value or start type. A
// capture counts only an item undo takes.
int RefusalOf(const StoredItem& item, const UndoablePlan& plan, HKEY backupRoot) {
  if (!item.wellFormed) return IDS_UNDO_INCOMPLETE_ENTRY;
  if (!AllowedMatch(item.location, plan.locations) || BackupRootFor(item.location) != backupRoot)
    return IDS_UNDO_FOREIGN_LOCATION;
  if (!item.existed) return kRestored;
  if (item.location.kind == Kind::kValue && !IsValidValue(item.type, item.data))
    return IDS_UNDO_BAD_VALUE;
  if (item.location.kind == Kind::kService && item.startType > SERVICE_DISABLED)
    return IDS_UNDO_BAD_START_TYPE;
  return kRestored;
}

// --- Restoring -----------------------------------------------------------------

// What of a copied key may come back. A copy in the user's own backup area
// is the user's to forge: from there only the values the setting's rows name
// for that key return, and no subkeys. An administrator's copy returns
// whole, within the bounds a capture keeps.
struct KeyFilter {
  bool whole = true;
  std::vector<std::string> names;  // when not whole
  CopyBudget budget;
  bool Takes(const NamedValue& value) {
    if (!IsValidValue(value.type, value.data) || value.name.size() >= 16384) return false;
    if (whole) return budget.values++ < kMaxValuesCopied;
    for (const std::string& name : names)
      if (Lower(name) == Lower(value.name)) return true;
    return false;
  }
  bool TakesSubKey(int depth) { return whole && depth < kMaxKeyDepth && ++budget.keys < kMaxKeysCopied; }
};

KeyFilter FilterFor(const UndoablePlan& plan, HKEY backupRoot, const BackupLocation& at) {
  KeyFilter filter;
  if (backupRoot != HKEY_CURRENT_USER) return filter;
  filter.whole = false;
  for (const BackupLocation& own : plan.locations)
    if (own.kind == Kind::kValue && own.root == at.root && Lower(own.path) == Lower(at.path))
      filter.names.push_back(own.name);
  return filter;
}

// Writes the copied key back below the location, checking every value again,
// then reads back what it wrote.
bool RestoreKey(SystemAccess& system, HKEY backupRoot, const std::string& copy, HKEY root, const std::string& path,
                RegistryView view, int depth, KeyFilter* filter) {
  if (!system.CreateRegistryKey(root, path.c_str(), view)) return false;
  std::vector<NamedValue> values;
  system.ReadRegistryValues(backupRoot, copy.c_str(), &values, kStore);
  std::vector<NamedValue> taken;
  for (const NamedValue& value : values)
    if (filter->Takes(value)) taken.push_back(value);
  bool restored = (!filter->whole || taken.size() == values.size()) &&
                  system.WriteRegistryValues(root, path.c_str(), taken, view);
  std::vector<NamedValue> now;
  system.ReadRegistryValues(root, path.c_str(), &now, view);
  for (const NamedValue& value : taken) {
    const NamedValue* back = Find(now, value.name.c_str());
    restored &= back && back->type == value.type && back->data == value.data;
  }
  std::vector<std::string> subKeys;
  system.ReadRegistrySubKeys(backupRoot, copy.c_str(), &subKeys, kStore);
  for (const std::string& name : subKeys) {
    if (!filter->TakesSubKey(depth) || name.find('\\') != std::string::npos) {
      restored &= !filter->whole;  // an administrator's copy beyond the bounds: incomplete
      continue;
    }
    restored &= RestoreKey(system, backupRoot, copy + "\\" + name, root, path + "\\" + name, view,
                           depth + 1, filter);
  }
  return restored;
}

// A key that can be read and holds neither values nor subkeys.
bool IsEmptyKey(SystemAccess& system, HKEY root, const char* path, RegistryView view) {
  std::vector<NamedValue> values;
  std::vector<std::string> subKeys;
  return system.ReadRegistryValues(root, path, &values, view) &&
         system.ReadRegistrySubKeys(root, path, &subKeys, view) && values.empty() &&
         subKeys.empty();
}

// Removes the keys of the chain below those that existed, deepest first, as
// long as nothing lives in them; never the keys apply needs to find, whatever
// depth the item claims. False when an empty one could not be removed.
bool RemoveCreatedKeys(SystemAccess& system, const BackupLocation& location, DWORD depth,
                       RegistryView view) {
  std::vector<std::string> keys = KeysAlong(location.path);
  depth = std::max(depth, location.requiredKeys);
  for (size_t i = keys.size(); i > depth; --i) {
    const char* key = keys[i - 1].c_str();
    if (!system.RegistryKeyExists(location.root, key, view)) continue;
    // What lives there now is kept, and with it the keys above.
    if (!IsEmptyKey(system, location.root, key, view)) return true;
    if (!system.DeleteRegistryTree(location.root, key, view)) return false;
  }
  return true;
}

int RestoreValue(SystemAccess& system, const StoredItem& item) {
  const BackupLocation& at = item.location;
  const char* path = at.path.c_str();
  const char* name = at.name.c_str();
  if (!item.existed) {
    system.DeleteRegistryValue(at.root, path, name, at.view);
    return system.RegistryValueExists(at.root, path, name, at.view) ? IDS_UNDO_STILL_THERE
                                                                    : kRestored;
  }
  system.CreateRegistryKey(at.root, path, at.view);
  system.WriteRegistryValue(at.root, path, name, item.data.data(), item.type,
                            DWORD(item.data.size()), at.view);
  DWORD type = 0;
  std::vector<BYTE> data;
  bool same = system.ReadRegistryValue(at.root, path, name, &type, &data, at.view) &&
              type == item.type && data == item.data;
  return same ? kRestored : IDS_UNDO_READS_DIFFERENTLY;
}

// What did not exist is restored only while it still reads as missing; a
// service that cannot be asked is never taken for restored.
int RestoreService(SystemAccess& system, const StoredItem& item) {
  const char* name = item.location.name.c_str();
  if (item.existed) system.Services().SetServiceStartType(item.startType, name);
  DWORD now = system.Services().GetServiceStartType(name);
  if (now == kStartTypeUnknown) return IDS_START_UNKNOWN;
  if (!item.existed) return now == kStartTypeMissing ? kRestored : IDS_UNDO_STILL_THERE;
  return now == item.startType ? kRestored : IDS_UNDO_START_TYPE_NOT_SET;
}

int RestoreKeyTree(SystemAccess& system, const UndoablePlan& plan, HKEY backupRoot,
                   const StoredItem& item, const BackupLocation& own) {
  const BackupLocation& at = item.location;
  if (!item.existed) {
    system.DeleteRegistryTree(at.root, at.path.c_str(), at.view);
    return system.RegistryKeyExists(at.root, at.path.c_str(), at.view) ? IDS_UNDO_STILL_THERE
                                                                       : kRestored;
  }
  KeyFilter filter = FilterFor(plan, backupRoot, own);
  return RestoreKey(system, backupRoot, item.key + "\\" + kKeyCopy, at.root, at.path, at.view, 0,
                    &filter)
             ? kRestored
             : IDS_UNDO_KEY_INCOMPLETE;
}

// Puts one item back and reads it back; no text means restored, else the
// text of the problem. The item is one undo takes (RefusalOf), naming one of
// the setting's own locations (own, with what the plan knows of it).
int RestoreItem(SystemAccess& system, const UndoablePlan& plan, HKEY backupRoot, const StoredItem& item,
                const BackupLocation& own) {
  switch (item.location.kind) {
    case Kind::kValue:
      return RestoreValue(system, item);
    case Kind::kService:
      return RestoreService(system, item);
    case Kind::kKeyChain:
      return RemoveCreatedKeys(system, own, item.depth, item.location.view) ? kRestored
                                                                             : IDS_UNDO_STILL_THERE;
    case Kind::kKeyTree:
      return RestoreKeyTree(system, plan, backupRoot, item, own);
  }
  return IDS_UNDO_UNKNOWN_KIND;
}

void RemoveIfEmpty(SystemAccess& system, HKEY root, const char* path) {
  if (IsEmptyKey(system, root, path, kStore)) system.DeleteRegistryTree(root, path, kStore);
}

// Once restored, an entry leaves the backup, and an empty backup leaves the
// registry.
void RemoveEntry(SystemAccess& system, HKEY backupRoot, const UndoablePlan& plan) {
  system.DeleteRegistryTree(backupRoot, EntryPath(backupRoot, plan).c_str(), kStore);
  bool user = backupRoot == HKEY_CURRENT_USER;
  RemoveIfEmpty(system, backupRoot, user ? kUserBackup : kMachineBackup);
  RemoveIfEmpty(system, backupRoot, user ? kUserProduct : kMachineProduct);
}

HKEY HomeOf(const UndoablePlan& plan) {
  const std::vector<BackupLocation>& locations = plan.locations;
  bool allUser = !locations.empty() &&
                 std::all_of(locations.begin(), locations.end(), [](const BackupLocation& l) {
                   return BackupRootFor(l) == HKEY_CURRENT_USER;
                 });
  return allUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

}  // namespace

std::vector<BackupLocation> LocationsOfChange(SettingId id, ChangeKind change) {
  std::vector<BackupLocation> locations;
  const SettingEntry* setting = FindSetting(id);
  if (!setting) return locations;
  if (setting->serviceName)
    locations.push_back({Kind::kService, HKEY_LOCAL_MACHINE, "", setting->serviceName});
  if (change == ChangeKind::kApply) {
    for (const PlannedChange& planned : PlanOfApply(*setting)) {
      if (planned.action == RegistryAction::kCreateKey)
        locations.push_back({Kind::kKeyChain, planned.root, planned.path, "", planned.requiredKeys,
                             false, planned.view});
    }
  }
  for (const RegistryOperation& row : RegistryOperationsOf(id)) {
    RegistryAction action = change == ChangeKind::kApply ? row.apply : row.revert;
    BackupLocation location = {Kind::kValue, row.root, row.path, row.name};
    if (action == RegistryAction::kDeleteKey || action == RegistryAction::kRemoveKey)
      location = {Kind::kKeyTree, row.root, row.path, ""};
    else if (action != RegistryAction::kWriteValue && action != RegistryAction::kDeleteValue &&
             action != RegistryAction::kFromSystem)
      continue;
    // Both copies of a component of both halves; on 32-bit Windows they are
    // one, and the capture keeps it once.
    for (RegistryView view : {RegistryView::kSystem, RegistryView::k32Bit}) {
      if (row.view != RegistryView::kEach && view != row.view) continue;
      location.view = view;
      locations.push_back(location);
    }
  }
  return locations;
}

UndoablePlan PlanOf(SettingId id) {
  UndoablePlan plan;
  plan.entry = plan.number = std::to_string(id);
  const SettingEntry* setting = FindSetting(id);
  if (!setting) return plan;
  plan.setting = setting;
  plan.labelId = setting->labelId;
  plan.eventNameId = IDS_EVENT_SETTING;
  plan.scope = ScopeOf(*setting);
  plan.byPrograms = !FunctionsOf(setting->mechanism).undoable;
  plan.locations = LocationsOfChange(id, ChangeKind::kApply);
  for (const BackupLocation& location : LocationsOfChange(id, ChangeKind::kRevert))
    plan.locations.push_back(location);
  return plan;
}

bool Capture(SystemAccess& system, const UndoablePlan& plan,
             const std::vector<BackupLocation>& locations, CaptureFailure* failure) {
  bool captured = true;
  for (const BackupLocation& location : locations) {
    const Cause cause = CaptureOne(system, plan, location);
    if (cause == Cause::kNone) continue;
    captured = false;
    if (failure && failure->cause != Cause::kUnreadable)
      *failure = {cause, cause == Cause::kNotWritten ? BackupRootFor(location) : nullptr};
  }
  return captured;
}

bool MarkSwitchedOff(SystemAccess& system, SettingId id, bool off) {
  const UndoablePlan plan = PlanOf(id);
  HKEY home = HomeOf(plan);
  std::string entry = EntryPath(home, plan);
  if (!off && !system.RegistryKeyExists(home, entry.c_str(), kStore)) return true;
  return system.CreateRegistryKey(home, entry.c_str(), kStore) &&
         system.WriteRegistryValues(home, entry.c_str(),
                             {{"SwitchedOff", REG_DWORD, Number(off ? 1 : 0)}}, kStore);
}

bool HasBackup(SystemAccess& system, const UndoablePlan& plan) {
  return !ItemKeys(system, HKEY_LOCAL_MACHINE, plan).empty() ||
         !ItemKeys(system, HKEY_CURRENT_USER, plan).empty();
}

bool WasSwitchedOff(SystemAccess& system, SettingId id) {
  const UndoablePlan plan = PlanOf(id);
  HKEY home = HomeOf(plan);
  std::vector<NamedValue> values;
  DWORD off = 0;
  return system.ReadRegistryValues(home, EntryPath(home, plan).c_str(), &values, kStore) &&
         ReadNumber(values, "SwitchedOff", &off) && off == 1;
}

std::vector<UndoablePlan> PlansWithBackup(SystemAccess& system) {
  std::vector<UndoablePlan> plans;
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    if (IsReportedSetting(id)) plans.push_back(PlanOf(id));
  plans.push_back(TimeServerPlan());
  std::vector<UndoablePlan> withBackup;
  for (const UndoablePlan& plan : plans)
    if (HasBackup(system, plan)) withBackup.push_back(plan);
  return withBackup;
}

UndoResult Undo(SystemAccess& system, const UndoablePlan& plan) {
  if (plan.byPrograms) return {UndoResult::Outcome::kCannotUndo, {}};
  if (plan.locations.empty() || !HasBackup(system, plan)) return {UndoResult::Outcome::kNoBackup, {}};
  UndoResult result{UndoResult::Outcome::kRestored, {}};
  const bool twoViews = system.IsWow64();
  for (HKEY backupRoot : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    std::vector<StoredItem> items = ReadItems(system, backupRoot, plan);
    if (items.empty()) continue;
    size_t problemsBefore = result.problems.size();
    // The last capture first: values apply added go before the keys it made.
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
      if (int refusal = RefusalOf(*item, plan, backupRoot)) {
        const std::string what =
            item->wellFormed ? Describe(item->location, twoViews) : PrintableText(item->key);
        result.problems.push_back(what + ": " + Text(refusal));
        continue;
      }
      result.wroteSomething = true;
      int problem = RestoreItem(system, plan, backupRoot, *item,
                                *AllowedMatch(item->location, plan.locations));
      if (problem != kRestored)
        result.problems.push_back(Describe(item->location, twoViews) + ": " + Text(problem));
      // An earlier version wrote the 32-bit copy, which is where it goes back.
      else if (twoViews && item->earlierView && item->location.kind != Kind::kService)
        result.notes.push_back(Describe(item->location, twoViews) + ": " +
                               Text(IDS_UNDO_EARLIER_VIEW));
    }
    if (result.problems.size() == problemsBefore) RemoveEntry(system, backupRoot, plan);
  }
  if (!result.problems.empty()) result.outcome = UndoResult::Outcome::kFailed;
  return result;
}

bool ChangedSinceCapture(SystemAccess& system, SettingId id, HKEY root, const std::string& path,
                         const std::string& name) {
  const BackupLocation location = {Kind::kValue, root, path, name};
  const UndoablePlan plan = PlanOf(id);
  const HKEY backupRoot = BackupRootFor(location);
  for (const StoredItem& item : ReadItems(system, backupRoot, plan)) {
    if (RefusalOf(item, plan, backupRoot) != kRestored ||
        !SameLocation(system, item.location, location))
      continue;
    DWORD type = 0;
    std::vector<BYTE> data;
    const bool there = system.ReadRegistryValue(root, path.c_str(), name.c_str(), &type, &data);
    return there != (item.existed != 0) || (there && (type != item.type || data != item.data));
  }
  return false;
}
