#pragma once
// Registry keys and data that apply, the status check and revert share.

#include "engine/SettingPlan.h"

namespace keys {
inline constexpr const char kMediaPlayerPreferences[] = "Software\\Microsoft\\MediaPlayer\\Preferences";
inline constexpr const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
inline constexpr const char kWebcheck[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck";
inline constexpr const char kExplorerMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr const char kInternetSettings[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr const char kTerminalServer[] = "SYSTEM\\CurrentControlSet\\Control\\Terminal Server";
inline constexpr const char kTimeParameters[] = "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
inline constexpr const char kExplorerAdvanced[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline constexpr const char kMemoryManagement[] =
    "System\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline constexpr const char kOutlookExpress[] = "Software\\Microsoft\\Outlook Express";
inline constexpr const char kAlexaExtensionPath[] =
    "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\{c95fe080-8f5d-11d2-a20b-00aa003c157a}";
inline constexpr const char kMessengerServer[] =
    "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32";
inline constexpr const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char kOfficeCommonUser[] = "Software\\Policies\\Microsoft\\Office\\10.0\\Common";
inline constexpr const char kOfficeCommonDefault[] =
    ".Default\\Software\\Policies\\Microsoft\\Office\\10.0\\Common";
inline constexpr const char kShutdownControl[] = "SYSTEM\\ControlSet001\\Control";
inline constexpr const char kDesktop[] = "Control Panel\\Desktop";
inline constexpr const char kZipClass[] = ".zip";
inline constexpr const char kTimeService[] = "SYSTEM\\CurrentControlSet\\Services\\W32Time";
inline constexpr const char kTimeServers[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers";
}  // namespace keys

namespace data {
inline constexpr RegistryData kNumber0 = {REG_DWORD, "\0\0\0\0", 4};
inline constexpr RegistryData kNumber1 = {REG_DWORD, "\1\0\0\0", 4};
inline constexpr RegistryData kNumber2 = {REG_DWORD, "\2\0\0\0", 4};
inline constexpr RegistryData kNumber4 = {REG_DWORD, "\4\0\0\0", 4};
inline constexpr RegistryData kNumber10 = {REG_DWORD, "\x0A\0\0\0", 4};
inline constexpr RegistryData kZeroByte = {REG_BINARY, "\0", 1};
inline constexpr RegistryData kTextNoSync = {REG_SZ, "NoSync", 7};
// Stored with its terminating zero, so no reader of the text runs past it.
inline constexpr RegistryData kText2000 = {REG_SZ, "2000", 5};
inline constexpr RegistryData kText1 = {REG_SZ, "1\0\0", 4};
inline constexpr RegistryData kTextNtp = {REG_SZ, "Ntp", 4};
inline constexpr RegistryData kText20000 = {REG_SZ, "20000", 6};
inline constexpr RegistryData kText0 = {REG_SZ, "0\0\0", 4};
}  // namespace data
