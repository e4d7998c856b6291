#include "platform/fake/FakeMachine.h"

#include <memory>

#include "platform/Platform.h"

namespace fake {
namespace {
std::unique_ptr<FakeMachine> machine = std::make_unique<FakeMachine>();
}

FakeMachine& Machine() { return *machine; }

void ResetMachine() { machine = std::make_unique<FakeMachine>(); }

}  // namespace fake

namespace platform {

using fake::Machine;

LONG OpenKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result) {
  return Machine().registry.OpenKey(parent, subKey, access, result);
}

LONG CreateKey(HKEY parent, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition) {
  return Machine().registry.CreateKey(parent, subKey, access, result, disposition);
}

LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
  return Machine().registry.QueryValue(key, name, type, data, size);
}

LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) {
  return Machine().registry.SetValue(key, name, type, data, size);
}

LONG EnumValue(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
               DWORD* dataSize) {
  return Machine().registry.EnumValue(key, index, name, nameLength, type, data, dataSize);
}

LONG DeleteKey(HKEY parent, const char* subKey) {
  return Machine().registry.DeleteKey(parent, subKey);
}

LONG DeleteValue(HKEY key, const char* name) { return Machine().registry.DeleteValue(key, name); }

LONG CloseKey(HKEY key) { return Machine().registry.CloseKey(key); }

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  Machine().messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
  if (!Machine().messageBoxAnswers.empty()) {
    int answer = Machine().messageBoxAnswers.front();
    Machine().messageBoxAnswers.pop_front();
    return answer;
  }
  return (type & 0xF) == MB_YESNO ? IDYES : IDOK;
}

std::string ProgramName() { return Machine().programName; }

}  // namespace platform
