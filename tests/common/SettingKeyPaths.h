#pragma once
// The keys the registry settings write into, which a test system must have
// for the writes to take effect (the single-value writes never create them).

inline constexpr const char* kUserSettingKeys[] = {
    "Software\\Microsoft\\MediaPlayer\\Preferences",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck",
    "Software\\Microsoft\\Internet Explorer\\Main",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
    "Software\\Policies\\Microsoft",
    "Control Panel\\Desktop",
};

inline constexpr const char* kMachineSettingKeys[] = {
    "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting",
    "SYSTEM\\CurrentControlSet\\Control\\Terminal Server",
    "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
    "System\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
    "Software\\Microsoft\\Outlook Express",
    "SYSTEM\\ControlSet001\\Control",
};

inline constexpr const char kVersionVector[] =
    "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector";
inline constexpr const char kMediaPlayerSetup[] =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{6BF52A52-394A-11d3-B153-00C04F79FAA6}";
inline constexpr const char kDefaultUserPolicies[] = ".DEFAULT\\Software\\Policies\\Microsoft";
inline constexpr const char kExtensions[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions";
inline constexpr const char kAlexaExtension[] = "{c95fe080-8f5d-11d2-a20b-00aa003c157a}";
inline constexpr const char kMessengerClass[] =
    "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32";
inline constexpr const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char kMessengerAutostart[] =
    "\"C:\\Programme\\Messenger\\msmsgs.exe\" /background";
