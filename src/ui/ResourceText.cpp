#include "ui/ResourceText.h"

namespace {

constexpr int kUnchosen = -1;
int chosen = kUnchosen;

// The resource in the current language, or in whichever language the
// program has it when a translation is missing.
const void* FindInLanguage(LPCSTR type, int id, DWORD* size = nullptr) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id),
                                ResourceLanguage(CurrentLanguage()));
  if (!found) found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (!loaded) return nullptr;
  if (size) *size = SizeofResource(module, found);
  return LockResource(loaded);
}

}  // namespace

Language UserLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN ? Language::kGerman
                                                                  : Language::kEnglish;
}

void UseLanguage(Language language) { chosen = static_cast<int>(language); }

Language CurrentLanguage() {
  if (chosen == kUnchosen) chosen = static_cast<int>(UserLanguage());
  return static_cast<Language>(chosen);
}

LANGID ResourceLanguage(Language language) {
  return language == Language::kGerman ? MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL)
                                       : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

// A string table block holds 16 strings, each its length in UTF-16 units
// followed by the units; reading the block directly gives every text whole,
// whatever its length.
std::string LoadText(int id) {
  DWORD bytes = 0;
  const auto* text = static_cast<const WCHAR*>(FindInLanguage(RT_STRING, id / 16 + 1, &bytes));
  if (!text) return std::string();
  const WCHAR* end = text + bytes / sizeof(WCHAR);
  for (int skip = id % 16; skip > 0 && text < end; --skip) text += 1 + *text;
  if (text >= end || text + 1 + *text > end || *text == 0) return std::string();
  int length = *text;
  int size = WideCharToMultiByte(CP_ACP, 0, text + 1, length, nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, text + 1, length, &result[0], size, nullptr, nullptr);
  return result;
}

HMENU LoadMenuResource(int id) {
  const void* menu = FindInLanguage(RT_MENU, id);
  return menu ? LoadMenuIndirectA(menu) : nullptr;
}

const DLGTEMPLATE* DialogTemplate(int id) {
  return static_cast<const DLGTEMPLATE*>(FindInLanguage(RT_DIALOG, id));
}
