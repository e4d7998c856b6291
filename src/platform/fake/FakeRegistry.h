#pragma once
// An in-memory registry that answers the seam's registry calls the way
// Windows does: keys matched without regard to case, values kept with their
// type and raw bytes exactly as written, access rights per key and per
// handle, ERROR_MORE_DATA for a value that does not fit, and no delete of a
// key that still has subkeys.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace fake {

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

class FakeRegistry {
 public:
  FakeRegistry();

  // The seam's calls.
  LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result);
  LONG CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition);
  LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size);
  LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size);
  LONG EnumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
                 DWORD* dataSize);
  LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* nameLength);
  LONG DeleteKey(HKEY parent, const char* subKey, REGSAM view = 0);
  LONG DeleteValue(HKEY key, const char* name);
  LONG CloseKey(HKEY key);

  // A 32-bit process on 64-bit Windows (WOW64): opens, creates and deletes
  // below HKLM\SOFTWARE, and of HKCR\CLSID, without KEY_WOW64_64KEY reach
  // the 32-bit copies below the redirected key's Wow6432Node, except the
  // shared keys (Software\Policies and the like), as Windows and Wine do.
  // Without WOW64 an open or create with a view flag is refused, as Windows
  // 2000 refuses it. The set-up and inspection below always see the keys
  // as they are stored, the 64-bit ones where Windows keeps them.
  void SetWow64(bool wow64);
  bool IsWow64() const { return wow64_; }

  // Set-up and inspection for tests; they bypass access rights.
  void AddKey(HKEY root, const std::string& path);
  void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                const std::vector<BYTE>& bytes);
  void PutString(HKEY root, const std::string& path, const std::string& name,
                 const std::string& text);  // REG_SZ with its terminating zero
  void PutNumber(HKEY root, const std::string& path, const std::string& name, DWORD number);
  bool HasKey(HKEY root, const std::string& path) const;
  std::optional<RegistryValue> GetValue(HKEY root, const std::string& path,
                                        const std::string& name) const;
  std::vector<std::string> SubKeyNames(HKEY root, const std::string& path) const;
  // Every key and value below the root, one line each with type and bytes,
  // for comparing a whole hive before and after.
  std::string Dump(HKEY root) const;
  void SetAccess(HKEY root, const std::string& path, bool readable, bool writable);
  void SetTreeAccess(HKEY root, bool readable, bool writable);  // the whole tree below root
  // Every write of a value of this name fails, as with the registry's quota
  // used up, though its key opens for writing.
  void RefuseValueWrites(const std::string& name) { refusedValue_ = name; }
  size_t OpenHandleCount() const { return handles_.size(); }
  // Calls made with a handle that was never opened or is already closed.
  int BadHandleUses() const { return badHandleUses_; }
  // Every change (create, set, delete), as "root\path[\name]" with its action.
  const std::vector<std::string>& Changes() const { return changes_; }

 private:
  struct Key {
    std::string name;
    std::vector<std::shared_ptr<Key>> subKeys;
    std::vector<std::pair<std::string, RegistryValue>> values;  // in creation order
    Key* parent = nullptr;
    bool readable = true;
    bool writable = true;
    bool deleted = false;
  };
  struct Handle {
    std::shared_ptr<Key> key;
    REGSAM access = 0;
  };

  std::shared_ptr<Key> Resolve(HKEY handle, REGSAM needed, LONG* error);
  std::shared_ptr<Key> Find(const std::shared_ptr<Key>& from, const std::string& path) const;
  // The same as a caller with that access reaches it, redirected or not.
  std::shared_ptr<Key> FindInView(const std::shared_ptr<Key>& from, const std::string& path,
                                  REGSAM access) const;
  bool IsRedirected(const Key& key, const std::vector<std::string>& parts, size_t at,
                    REGSAM access) const;
  std::shared_ptr<Key> FindRoot(HKEY root, const std::string& path) const;
  std::shared_ptr<Key> MakePath(HKEY root, const std::string& path);
  std::shared_ptr<Key> MakeChild(const std::shared_ptr<Key>& parent, const std::string& name);
  LONG OpenHandle(const std::shared_ptr<Key>& key, REGSAM access, HKEY* result);
  std::string PathOf(const Key& key) const;
  void Record(const std::string& action, const Key& key, const char* name = nullptr);

  std::map<uintptr_t, std::shared_ptr<Key>> roots_;
  std::map<uintptr_t, Handle> handles_;
  uintptr_t nextHandle_ = 0x1000;
  int badHandleUses_ = 0;
  std::vector<std::string> changes_;
  std::string refusedValue_ = std::string(1, '\0');  // a name no value has
  bool wow64_ = false;
};

}  // namespace fake
