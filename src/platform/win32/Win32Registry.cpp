#include "platform/Platform.h"

namespace platform {

LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result) {
  return RegOpenKeyExA(parent, subKey, 0, access, result);
}

LONG CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition) {
  return RegCreateKeyExA(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                         result, disposition);
}

LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
  return RegQueryValueExA(key, name, nullptr, type, data, size);
}

LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) {
  return RegSetValueExA(key, name, 0, type, data, size);
}

LONG EnumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
               DWORD* dataSize) {
  return RegEnumValueA(key, index, name, nameLength, nullptr, type, data, dataSize);
}

LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* nameLength) {
  return RegEnumKeyExA(key, index, name, nameLength, nullptr, nullptr, nullptr, nullptr);
}

// Win32Wow64.cpp: RegDeleteKeyExA, found at run time.
LONG DeleteKeyInView(HKEY parent, const char* subKey, REGSAM view);

// Plain RegDeleteKeyA cannot reach the other view of the registry.
LONG DeleteKey(HKEY parent, const char* subKey, REGSAM view) {
  return view ? DeleteKeyInView(parent, subKey, view) : RegDeleteKeyA(parent, subKey);
}

LONG DeleteValue(HKEY key, const char* name) { return RegDeleteValueA(key, name); }

LONG CloseKey(HKEY key) { return RegCloseKey(key); }

}  // namespace platform
