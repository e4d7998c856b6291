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
// Policy keys, where Windows and its programs look for their policy values.
inline constexpr const char kRootCertificates[] =
    "Software\\Policies\\Microsoft\\SystemCertificates\\AuthRoot";
inline constexpr const char kDriverSearching[] = "Software\\Policies\\Microsoft\\Windows\\DriverSearching";
inline constexpr const char kHelpCenter[] = "Software\\Policies\\Microsoft\\PCHealth\\HelpSvc";
inline constexpr const char kSearchCompanion[] = "Software\\Policies\\Microsoft\\SearchCompanion";
inline constexpr const char kExplorerPolicies[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr const char kPrinterPolicies[] = "Software\\Policies\\Microsoft\\Windows NT\\Printers";
inline constexpr const char kMessengerPolicies[] = "Software\\Policies\\Microsoft\\Messenger\\Client";
inline constexpr const char kConnectionWizard[] =
    "Software\\Policies\\Microsoft\\Windows\\Internet Connection Wizard";
inline constexpr const char kRegistrationWizard[] =
    "Software\\Policies\\Microsoft\\Windows\\Registration Wizard Control";
inline constexpr const char kEventViewerPolicies[] = "Software\\Policies\\Microsoft\\EventViewer";
inline constexpr const char kWindowsUpdatePolicies[] =
    "Software\\Policies\\Microsoft\\Windows\\WindowsUpdate";
inline constexpr const char kMovieMaker[] = "Software\\Policies\\Microsoft\\WindowsMovieMaker";
inline constexpr const char kMediaPlayerPolicies[] = "Software\\Policies\\Microsoft\\WindowsMediaPlayer";
inline constexpr const char kDrmPolicies[] = "Software\\Policies\\Microsoft\\WMDRM";
inline constexpr const char kPhishingFilter[] =
    "Software\\Policies\\Microsoft\\Internet Explorer\\PhishingFilter";
inline constexpr const char kSuggestedSites[] =
    "Software\\Policies\\Microsoft\\Internet Explorer\\Suggested Sites";
inline constexpr const char kBrowserEmulation[] =
    "Software\\Policies\\Microsoft\\Internet Explorer\\BrowserEmulation";
inline constexpr const char kSearchScopes[] =
    "Software\\Policies\\Microsoft\\Internet Explorer\\SearchScopes";
inline constexpr const char kFeeds[] = "Software\\Policies\\Microsoft\\Internet Explorer\\Feeds";
inline constexpr const char kExplorerMainPolicies[] =
    "Software\\Policies\\Microsoft\\Internet Explorer\\Main";
inline constexpr const char kExplorerSqm[] = "Software\\Policies\\Microsoft\\Internet Explorer\\SQM";
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
