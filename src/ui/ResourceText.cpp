#include "ui/ResourceText.h"

#include <windows.h>

// A string table block holds 16 strings, each its length in UTF-16 units
// followed by the units; reading the block directly gives every text whole,
// whatever its length.
std::string LoadText(int id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC block = FindResourceA(module, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6));
  HGLOBAL loaded = block ? LoadResource(module, block) : nullptr;
  const WCHAR* text = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
  if (!text) return std::string();
  DWORD size = SizeofResource(module, block) / sizeof(WCHAR);
  const WCHAR* end = text + size;
  for (int skip = id % 16; skip > 0 && text < end; --skip) text += 1 + *text;
  if (text >= end || text + 1 + *text > end || *text == 0) return std::string();
  int length = *text;
  int bytes = WideCharToMultiByte(CP_ACP, 0, text + 1, length, nullptr, 0, nullptr, nullptr);
  std::string result(bytes, '\0');
  WideCharToMultiByte(CP_ACP, 0, text + 1, length, &result[0], bytes, nullptr, nullptr);
  return result;
}
