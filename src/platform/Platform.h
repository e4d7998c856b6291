#pragma once
// The seam between the program and Windows. Each call stands for one Win32
// call with the same arguments and results: it returns the Win32 error code,
// and what it does to its outputs when it fails is what Windows does. The Windows program links
// win32/; tests link fake/ (an in-memory Windows) or win32/ under Wine.

#include <string>

#include "platform/WinTypes.h"

namespace platform {

// Registry (RegOpenKeyExA, RegCreateKeyExA, RegQueryValueExA, RegSetValueExA,
// RegEnumValueA, RegDeleteKeyA, RegDeleteValueA, RegCloseKey).
LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result);
LONG CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition);
LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size);
LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size);
LONG EnumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
               DWORD* dataSize);
LONG DeleteKey(HKEY parent, const char* subKey);
LONG DeleteValue(HKEY key, const char* name);
LONG CloseKey(HKEY key);

// The standard message box (MessageBoxA); returns the button pressed.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// The executable's file name without folder and extension: the caption of
// every message box.
std::string ProgramName();

}  // namespace platform
