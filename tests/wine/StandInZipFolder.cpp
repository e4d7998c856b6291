// A stand-in for the shell's ZIP folder library, which a fresh Wine prefix
// lacks: registering or unregistering it leaves a value the test can read.
// The 64-bit build's values end in 64, so a test tells which one ran.

#include <windows.h>

#include "wine/PlantedMarker.h"

namespace {

#ifdef _WIN64
#define WIDTH "64"
#else
#define WIDTH ""
#endif

HRESULT Mark(const char* name) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kStandInKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return E_FAIL;
  DWORD one = 1;
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegCloseKey(key);
  return S_OK;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
  return Mark("Registered" WIDTH);
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
  return Mark("Unregistered" WIDTH);
}
