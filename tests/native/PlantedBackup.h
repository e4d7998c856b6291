#pragma once
// Items planted in a backup area, as anyone with rights there could write
// them, for the tests of what capture and undo trust.

#include <map>
#include <string>
#include <vector>

#include "engine/SettingId.h"
#include "platform/fake/FakeMachine.h"

inline std::vector<BYTE> N(DWORD n) {
  return {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)};
}

inline void Plant(HKEY area, SettingId id, const char* number, DWORD kind, DWORD root,
                  const std::string& path, const char* name,
                  const std::map<std::string, std::vector<BYTE>>& more) {
  auto& registry = fake::Machine().registry;
  std::string key = std::string(area == HKEY_CURRENT_USER ? "Software" : "SOFTWARE") +
                    "\\Hushgate\\Backup\\" + std::to_string(id) + "\\" + number;
  registry.PutNumber(area, key, "Kind", kind);
  registry.PutNumber(area, key, "Root", root);
  registry.PutString(area, key, "Path", path);
  registry.PutString(area, key, "Name", name);
  for (auto& [field, bytes] : more)
    registry.PutValue(area, key, field, field == "Data" ? REG_BINARY : REG_DWORD, bytes);
}
