#include "platform/fake/FakeRegistry.h"

#include <algorithm>
#include <cstring>

namespace fake {
namespace {

constexpr REGSAM kReadRights = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
constexpr REGSAM kWriteRights =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (start <= path.size()) {
    std::string::size_type end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string NameOf(const char* name) { return name ? name : ""; }

using Values = std::vector<std::pair<std::string, RegistryValue>>;

Values::iterator FindValue(Values& values, const std::string& name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const auto& entry) { return SameName(entry.first, name); });
}

// Replaces the value of that name, or adds it after the others.
void StoreValue(Values& values, const std::string& name, const RegistryValue& value) {
  auto existing = FindValue(values, name);
  if (existing != values.end())
    existing->second = value;
  else
    values.emplace_back(name, value);
}

constexpr char kWow64Node[] = "Wow6432Node";

// The keys whose subkeys a 32-bit process finds below their Wow6432Node:
// below HKLM\SOFTWARE every one but the shared keys, of HKCR only the
// listed ones (as Wine and Windows 7 keep the classes).
struct Redirection {
  const char* key;  // as PathOf names it
  bool allBut;      // every subkey but those listed, or only those
  const char* listed[4];
};
const Redirection kRedirections[] = {
    {"HKEY_LOCAL_MACHINE\\SOFTWARE", true,
     {"Policies", "Microsoft\\Windows\\CurrentVersion\\Policies",
      "Microsoft\\Windows\\CurrentVersion\\Group Policy", nullptr}},
    {"HKEY_CLASSES_ROOT", false, {"CLSID", "Interface", nullptr, nullptr}},
};

// Whether the path, from its part at on, is a listed key or lies below one.
bool IsListed(const std::vector<std::string>& parts, size_t at, const char* const* listed) {
  std::string rest;
  for (size_t i = at; i < parts.size(); ++i) rest += (i > at ? "\\" : "") + parts[i];
  for (; *listed; ++listed) {
    const std::string key = *listed;
    if (rest.size() >= key.size() && SameName(rest.substr(0, key.size()), key) &&
        (rest.size() == key.size() || rest[key.size()] == '\\'))
      return true;
  }
  return false;
}

// A view flag with no WOW64 to choose a view.
bool IsViewRefused(bool wow64, REGSAM access) {
  return !wow64 && (access & (KEY_WOW64_64KEY | KEY_WOW64_32KEY));
}

}  // namespace

FakeRegistry::FakeRegistry() {
  const std::pair<HKEY, const char*> roots[] = {
      {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
      {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
      {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
      {HKEY_USERS, "HKEY_USERS"},
  };
  for (const auto& [handle, name] : roots) {
    auto key = std::make_shared<Key>();
    key->name = name;
    roots_[reinterpret_cast<uintptr_t>(handle)] = key;
  }
}

std::shared_ptr<FakeRegistry::Key> FakeRegistry::Resolve(HKEY handle, REGSAM needed,
                                                          LONG* error) {
  auto root = roots_.find(reinterpret_cast<uintptr_t>(handle));
  if (root != roots_.end()) {
    const Key& key = *root->second;
    bool allowed = (!(needed & kReadRights) || key.readable) &&
                   (!(needed & kWriteRights) || key.writable);
    *error = allowed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    return allowed ? root->second : nullptr;
  }
  auto found = handles_.find(reinterpret_cast<uintptr_t>(handle));
  if (found == handles_.end()) {
    ++badHandleUses_;
    *error = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  if (found->second.key->deleted) {
    *error = ERROR_KEY_DELETED;
    return nullptr;
  }
  if ((found->second.access & needed) != needed) {
    *error = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  *error = ERROR_SUCCESS;
  return found->second.key;
}

std::shared_ptr<FakeRegistry::Key> FakeRegistry::Find(const std::shared_ptr<Key>& from,
                                                       const std::string& path) const {
  std::shared_ptr<Key> key = from;
  for (const std::string& part : SplitPath(path)) {
    auto next = std::find_if(key->subKeys.begin(), key->subKeys.end(),
                             [&](const auto& sub) { return SameName(sub->name, part); });
    if (next == key->subKeys.end()) return nullptr;
    key = *next;
  }
  return key;
}

bool FakeRegistry::IsRedirected(const Key& key, const std::vector<std::string>& parts, size_t at,
                                REGSAM access) const {
  if (!wow64_ || (access & KEY_WOW64_64KEY) || SameName(parts[at], kWow64Node)) return false;
  const std::string path = PathOf(key);
  for (const Redirection& redirection : kRedirections)
    if (SameName(path, redirection.key))
      return IsListed(parts, at, redirection.listed) != redirection.allBut;
  return false;
}

std::shared_ptr<FakeRegistry::Key> FakeRegistry::FindInView(const std::shared_ptr<Key>& from,
                                                             const std::string& path,
                                                             REGSAM access) const {
  const std::vector<std::string> parts = SplitPath(path);
  std::shared_ptr<Key> key = from;
  for (size_t at = 0; key && at < parts.size(); ++at) {
    if (IsRedirected(*key, parts, at, access)) key = Find(key, kWow64Node);
    if (key) key = Find(key, parts[at]);
  }
  return key;
}

std::shared_ptr<FakeRegistry::Key> FakeRegistry::FindRoot(HKEY root,
                                                           const std::string& path) const {
  auto found = roots_.find(reinterpret_cast<uintptr_t>(root));
  return found == roots_.end() ? nullptr : Find(found->second, path);
}

// A new handle, when the key's own rights allow the access.
LONG FakeRegistry::OpenHandle(const std::shared_ptr<Key>& key, REGSAM access, HKEY* result) {
  if (((access & kReadRights) && !key->readable) || ((access & kWriteRights) && !key->writable))
    return ERROR_ACCESS_DENIED;
  uintptr_t value = nextHandle_;
  nextHandle_ += 4;
  handles_[value] = Handle{key, access};
  *result = reinterpret_cast<HKEY>(value);
  return ERROR_SUCCESS;
}

std::string FakeRegistry::PathOf(const Key& key) const {
  return key.parent ? PathOf(*key.parent) + "\\" + key.name : key.name;
}

void FakeRegistry::Record(const std::string& action, const Key& key, const char* name) {
  std::string entry = action + " " + PathOf(key);
  if (name) entry += std::string("\\") + (*name ? name : "(default)");
  changes_.push_back(entry);
}

LONG FakeRegistry::OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result) {
  // Windows clears the handle of a failed open or create.
  *result = nullptr;
  if (IsViewRefused(wow64_, access)) return ERROR_INVALID_PARAMETER;
  LONG error;
  std::shared_ptr<Key> base = Resolve(parent, 0, &error);
  if (!base) return error;
  std::shared_ptr<Key> key = FindInView(base, NameOf(subKey), access);
  if (!key) return ERROR_FILE_NOT_FOUND;
  return OpenHandle(key, access, result);
}

LONG FakeRegistry::CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result,
                             DWORD* disposition) {
  *result = nullptr;
  if (IsViewRefused(wow64_, access)) return ERROR_INVALID_PARAMETER;
  LONG error;
  std::shared_ptr<Key> key = Resolve(parent, 0, &error);
  if (!key) return error;
  DWORD outcome = REG_OPENED_EXISTING_KEY;
  const std::vector<std::string> parts = SplitPath(NameOf(subKey));
  for (size_t at = 0; at < parts.size(); ++at) {
    if (IsRedirected(*key, parts, at, access)) key = MakeChild(key, kWow64Node);
    std::shared_ptr<Key> next = Find(key, parts[at]);
    if (!next) {
      if (!key->writable) return ERROR_ACCESS_DENIED;
      next = MakeChild(key, parts[at]);
      Record("create", *next);
      outcome = REG_CREATED_NEW_KEY;
    }
    key = next;
  }
  LONG opened = OpenHandle(key, access, result);
  if (opened == ERROR_SUCCESS && disposition) *disposition = outcome;
  return opened;
}

LONG FakeRegistry::QueryValue(HKEY handle, const char* name, DWORD* type, BYTE* data,
                              DWORD* size) {
  LONG error;
  std::shared_ptr<Key> key = Resolve(handle, KEY_QUERY_VALUE, &error);
  if (!key) return error;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  auto value = FindValue(key->values, NameOf(name));
  if (value == key->values.end()) return ERROR_FILE_NOT_FOUND;
  const std::vector<BYTE>& bytes = value->second.bytes;
  DWORD length = static_cast<DWORD>(bytes.size());
  if (data && *size < length) {
    *size = length;
    if (type) *type = value->second.type;
    return ERROR_MORE_DATA;
  }
  if (data && length) std::memcpy(data, bytes.data(), length);
  if (size) *size = length;
  if (type) *type = value->second.type;
  return ERROR_SUCCESS;
}

LONG FakeRegistry::SetValue(HKEY handle, const char* name, DWORD type, const BYTE* data,
                            DWORD size) {
  LONG error;
  std::shared_ptr<Key> key = Resolve(handle, KEY_SET_VALUE, &error);
  if (!key) return error;
  if (!data && size) return ERROR_INVALID_PARAMETER;
  if (SameName(refusedValue_, NameOf(name))) return ERROR_NO_SYSTEM_RESOURCES;
  StoreValue(key->values, NameOf(name), {type, std::vector<BYTE>(data, data + size)});
  Record("set", *key, NameOf(name).c_str());
  return ERROR_SUCCESS;
}

LONG FakeRegistry::EnumValue(HKEY handle, DWORD index, char* name, DWORD* nameLength, DWORD* type,
                             BYTE* data, DWORD* dataSize) {
  LONG error;
  std::shared_ptr<Key> key = Resolve(handle, KEY_QUERY_VALUE, &error);
  if (!key) return error;
  if (index >= key->values.size()) return ERROR_NO_MORE_ITEMS;
  const auto& [valueName, value] = key->values[index];
  if (!name || !nameLength || *nameLength <= valueName.size()) return ERROR_MORE_DATA;
  DWORD length = static_cast<DWORD>(value.bytes.size());
  if (data && (!dataSize || *dataSize < length)) {
    if (dataSize) *dataSize = length;
    return ERROR_MORE_DATA;
  }
  std::memcpy(name, valueName.c_str(), valueName.size() + 1);
  *nameLength = static_cast<DWORD>(valueName.size());
  if (data && length) std::memcpy(data, value.bytes.data(), length);
  if (dataSize) *dataSize = length;
  if (type) *type = value.type;
  return ERROR_SUCCESS;
}

LONG FakeRegistry::EnumKey(HKEY handle, DWORD index, char* name, DWORD* nameLength) {
  LONG error;
  std::shared_ptr<Key> key = Resolve(handle, KEY_ENUMERATE_SUB_KEYS, &error);
  if (!key) return error;
  if (index >= key->subKeys.size()) return ERROR_NO_MORE_ITEMS;
  const std::string& subKeyName = key->subKeys[index]->name;
  if (!name || !nameLength || *nameLength <= subKeyName.size()) return ERROR_MORE_DATA;
  std::memcpy(name, subKeyName.c_str(), subKeyName.size() + 1);
  *nameLength = static_cast<DWORD>(subKeyName.size());
  return ERROR_SUCCESS;
}

LONG FakeRegistry::DeleteKey(HKEY parent, const char* subKey, REGSAM view) {
  LONG error;
  std::shared_ptr<Key> base = Resolve(parent, 0, &error);
  if (!base) return error;
  std::shared_ptr<Key> key = FindInView(base, NameOf(subKey), view);
  if (!key) return ERROR_FILE_NOT_FOUND;
  if (!key->parent || !key->writable || !key->subKeys.empty()) return ERROR_ACCESS_DENIED;
  Record("delete-key", *key);
  auto& siblings = key->parent->subKeys;
  siblings.erase(std::find(siblings.begin(), siblings.end(), key));
  key->deleted = true;
  key->parent = nullptr;
  return ERROR_SUCCESS;
}

LONG FakeRegistry::DeleteValue(HKEY handle, const char* name) {
  LONG error;
  std::shared_ptr<Key> key = Resolve(handle, KEY_SET_VALUE, &error);
  if (!key) return error;
  auto value = FindValue(key->values, NameOf(name));
  if (value == key->values.end()) return ERROR_FILE_NOT_FOUND;
  Record("delete-value", *key, NameOf(name).c_str());
  key->values.erase(value);
  return ERROR_SUCCESS;
}

LONG FakeRegistry::CloseKey(HKEY handle) {
  if (roots_.count(reinterpret_cast<uintptr_t>(handle))) return ERROR_SUCCESS;
  if (!handles_.erase(reinterpret_cast<uintptr_t>(handle))) {
    ++badHandleUses_;
    return ERROR_INVALID_HANDLE;
  }
  return ERROR_SUCCESS;
}

std::shared_ptr<FakeRegistry::Key> FakeRegistry::MakeChild(const std::shared_ptr<Key>& parent,
                                                            const std::string& name) {
  if (std::shared_ptr<Key> existing = Find(parent, name)) return existing;
  auto child = std::make_shared<Key>();
  child->name = name;
  child->parent = parent.get();
  parent->subKeys.push_back(child);
  return child;
}

std::shared_ptr<FakeRegistry::Key> FakeRegistry::MakePath(HKEY root, const std::string& path) {
  std::shared_ptr<Key> key = roots_.at(reinterpret_cast<uintptr_t>(root));
  for (const std::string& part : SplitPath(path)) key = MakeChild(key, part);
  return key;
}

// Windows keeps the 32-bit copies below these keys from its installation on.
void FakeRegistry::SetWow64(bool wow64) {
  wow64_ = wow64;
  if (!wow64) return;
  AddKey(HKEY_LOCAL_MACHINE, std::string("SOFTWARE\\") + kWow64Node);
  AddKey(HKEY_CLASSES_ROOT, kWow64Node);
}

void FakeRegistry::AddKey(HKEY root, const std::string& path) { MakePath(root, path); }

void FakeRegistry::PutValue(HKEY root, const std::string& path, const std::string& name,
                            DWORD type, const std::vector<BYTE>& bytes) {
  StoreValue(MakePath(root, path)->values, name, {type, bytes});
}

void FakeRegistry::PutString(HKEY root, const std::string& path, const std::string& name,
                             const std::string& text) {
  PutValue(root, path, name, REG_SZ, std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1));
}

void FakeRegistry::PutNumber(HKEY root, const std::string& path, const std::string& name,
                             DWORD number) {
  std::vector<BYTE> bytes(4);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(number >> (8 * i));
  PutValue(root, path, name, REG_DWORD, bytes);
}

bool FakeRegistry::HasKey(HKEY root, const std::string& path) const {
  return FindRoot(root, path) != nullptr;
}

std::optional<RegistryValue> FakeRegistry::GetValue(HKEY root, const std::string& path,
                                                    const std::string& name) const {
  std::shared_ptr<Key> key = FindRoot(root, path);
  if (!key) return std::nullopt;
  auto value = FindValue(key->values, name);
  if (value == key->values.end()) return std::nullopt;
  return value->second;
}

std::vector<std::string> FakeRegistry::SubKeyNames(HKEY root, const std::string& path) const {
  std::vector<std::string> names;
  if (std::shared_ptr<Key> key = FindRoot(root, path))
    for (const auto& sub : key->subKeys) names.push_back(sub->name);
  return names;
}

// Values and subkeys by name: Windows keeps no order a program may rely on.
std::string FakeRegistry::Dump(HKEY root) const {
  std::string text;
  std::vector<const Key*> pending{roots_.at(reinterpret_cast<uintptr_t>(root)).get()};
  while (!pending.empty()) {
    const Key* key = pending.back();
    pending.pop_back();
    text += "[" + PathOf(*key) + "]\n";
    std::vector<std::string> lines;
    for (const auto& [name, value] : key->values) {
      std::string line = name + " = " + std::to_string(value.type) + ":";
      static const char kHex[] = "0123456789abcdef";
      for (BYTE b : value.bytes) line += {' ', kHex[b >> 4], kHex[b & 15]};
      lines.push_back(line + "\n");
    }
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines) text += line;
    std::vector<const Key*> subKeys;
    for (const auto& sub : key->subKeys) subKeys.push_back(sub.get());
    std::sort(subKeys.begin(), subKeys.end(),
              [](const Key* a, const Key* b) { return a->name > b->name; });
    pending.insert(pending.end(), subKeys.begin(), subKeys.end());
  }
  return text;
}

void FakeRegistry::SetAccess(HKEY root, const std::string& path, bool readable, bool writable) {
  std::shared_ptr<Key> key = MakePath(root, path);
  key->readable = readable;
  key->writable = writable;
}

void FakeRegistry::SetTreeAccess(HKEY root, bool readable, bool writable) {
  std::vector<Key*> pending{roots_.at(reinterpret_cast<uintptr_t>(root)).get()};
  while (!pending.empty()) {
    Key* key = pending.back();
    pending.pop_back();
    key->readable = readable;
    key->writable = writable;
    for (const auto& sub : key->subKeys) pending.push_back(sub.get());
  }
}

}  // namespace fake
