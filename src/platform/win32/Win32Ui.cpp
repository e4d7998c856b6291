#include "platform/Platform.h"

#include <shellapi.h>

namespace platform {

bool OpenWithShell(const char* target) {
  HINSTANCE result = ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner ? owner : GetActiveWindow(), text, caption, type);
}

std::string ProgramName() {
  std::string name = ProgramPath();
  name.erase(0, name.find_last_of("\\/") + 1);
  std::string::size_type dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace platform
