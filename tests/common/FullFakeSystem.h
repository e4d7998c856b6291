#pragma once
// An XP Professional machine in the fake with Media Player 8 (and the
// Active Setup entry of Media Player 10), IE 6, the packet scheduler, Office
// XP, Messenger, the support account and all five services running, none of
// whose functions is off yet.

#include "common/SettingKeyPaths.h"
#include "platform/fake/FakeMachine.h"

inline void MakeFullFakeSystem() {
  auto& m = fake::Machine();
  auto& reg = m.registry;
  for (const char* path : kUserSettingKeys) reg.AddKey(HKEY_CURRENT_USER, path);
  for (const char* path : kMachineSettingKeys) reg.AddKey(HKEY_LOCAL_MACHINE, path);
  reg.AddKey(HKEY_USERS, kDefaultUserPolicies);
  reg.AddKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion");
  reg.PutString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer\\8.0\\Registration",
                "UDBVersion", "8.0");
  reg.PutNumber(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "IsInstalled", 1);
  reg.PutString(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "Version", "10,0,0,3646");
  reg.PutString(HKEY_LOCAL_MACHINE, kVersionVector, "IE", "6.0000");
  reg.PutNumber(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\PSched\\Enum", "Count", 1);
  reg.PutString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot",
                "InstallCount", "1");
  reg.PutString(HKEY_LOCAL_MACHINE, std::string(kExtensions) + "\\" + kAlexaExtension, "Script",
                "alexa.js");
  reg.PutString(HKEY_CURRENT_USER, kRunKey, "MSMSGS", kMessengerAutostart);
  reg.PutString(HKEY_CLASSES_ROOT, kMessengerClass, "", "msmsgs.exe");
  reg.PutString(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/x-zip-compressed");
  reg.PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot",
                "C:\\WINDOWS");
  m.accounts.insert("SUPPORT_388945a0");
  for (const char* name : {"ERSvc", "wuauserv", "W32Time", "Schedule", "upnphost"}) {
    fake::FakeService service;
    service.startType = SERVICE_AUTO_START;
    service.running = true;
    m.services.Add(name, service);
  }
}
