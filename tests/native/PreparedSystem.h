#pragma once
// A fake system where every key the registry settings write into exists,
// with the Alexa extension key and the Messenger autostart value in place.

#include <string>

#include "common/SettingKeyPaths.h"
#include "platform/fake/FakeMachine.h"

inline void PrepareSettingKeys() {
  auto& reg = fake::Machine().registry;
  for (const char* path : kUserSettingKeys) reg.AddKey(HKEY_CURRENT_USER, path);
  for (const char* path : kMachineSettingKeys) reg.AddKey(HKEY_LOCAL_MACHINE, path);
  reg.AddKey(HKEY_USERS, kDefaultUserPolicies);
  reg.AddKey(HKEY_LOCAL_MACHINE, std::string(kExtensions) + "\\" + kAlexaExtension);
  reg.PutString(HKEY_CURRENT_USER, kRunKey, "MSMSGS", kMessengerAutostart);
}
