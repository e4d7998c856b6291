#pragma once
// Settings 31-62 as the table that is their authority gives them: each one
// REG_DWORD below a policy key, with the number that switches its function
// off. The native and the Wine tier hold the program to it alike.

#include "engine/SettingId.h"
#include "platform/WinTypes.h"

struct PolicyValueRow {
  SettingId id;
  char hive;        // 'U': HKEY_CURRENT_USER, 'M': HKEY_LOCAL_MACHINE
  const char* key;  // below "Software\", as the table gives it
  const char* value;
  DWORD off;
  HKEY Root() const { return hive == 'U' ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
};

inline const PolicyValueRow kPolicyValueRows[] = {
    {31, 'M', "Policies\\Microsoft\\SystemCertificates\\AuthRoot", "DisableRootAutoUpdate", 1},
    {32, 'M', "Policies\\Microsoft\\Windows\\DriverSearching", "DontSearchWindowsUpdate", 1},
    {33, 'M', "Policies\\Microsoft\\PCHealth\\HelpSvc", "Headlines", 0},
    {34, 'M', "Policies\\Microsoft\\PCHealth\\HelpSvc", "MicrosoftKBSearch", 0},
    {35, 'M', "Policies\\Microsoft\\SearchCompanion", "DisableContentFileUpdates", 1},
    {36, 'M', "Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoInternetOpenWith", 1},
    {37, 'M', "Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoWebServices", 1},
    {38, 'M', "Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoOnlinePrintsWizard", 1},
    {39, 'M', "Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoPublishingWizard", 1},
    {40, 'M', "Policies\\Microsoft\\Windows NT\\Printers", "DisableHTTPPrinting", 1},
    {41, 'M', "Policies\\Microsoft\\Windows NT\\Printers", "DisableWebPnPDownload", 1},
    {42, 'M', "Policies\\Microsoft\\Messenger\\Client", "CEIP", 2},
    {43, 'M', "Policies\\Microsoft\\Windows\\Internet Connection Wizard", "ExitOnMSICW", 1},
    {44, 'M', "Policies\\Microsoft\\Windows\\Registration Wizard Control", "NoRegistration", 1},
    {45, 'M', "Policies\\Microsoft\\EventViewer", "MicrosoftEventVwrDisableLinks", 1},
    {46, 'M', "Policies\\Microsoft\\Windows\\WindowsUpdate", "DisableWindowsUpdateAccess", 1},
    {47, 'M', "Policies\\Microsoft\\WindowsMovieMaker", "CodecDownload", 1},
    {48, 'M', "Policies\\Microsoft\\WindowsMovieMaker", "WebHelp", 1},
    {49, 'M', "Policies\\Microsoft\\WindowsMovieMaker", "WebPublish", 1},
    {50, 'M', "Policies\\Microsoft\\WindowsMediaPlayer", "DisableAutoUpdate", 1},
    {51, 'U', "Policies\\Microsoft\\WindowsMediaPlayer", "PreventCDDVDMetadataRetrieval", 1},
    {52, 'U', "Policies\\Microsoft\\WindowsMediaPlayer", "PreventMusicFileMetadataRetrieval", 1},
    {53, 'U', "Policies\\Microsoft\\WindowsMediaPlayer", "PreventRadioPresetsRetrieval", 1},
    {54, 'M', "Policies\\Microsoft\\WMDRM", "DisableOnline", 1},
    {55, 'M', "Policies\\Microsoft\\Internet Explorer\\PhishingFilter", "Enabled", 0},
    {56, 'M', "Policies\\Microsoft\\Internet Explorer\\PhishingFilter", "EnabledV8", 0},
    {57, 'M', "Policies\\Microsoft\\Internet Explorer\\Suggested Sites", "Enabled", 0},
    {58, 'M', "Policies\\Microsoft\\Internet Explorer\\BrowserEmulation", "MSCompatibilityMode", 0},
    {59, 'M', "Policies\\Microsoft\\Internet Explorer\\SearchScopes",
     "ShowSearchSuggestionsGlobal", 0},
    {60, 'M', "Policies\\Microsoft\\Internet Explorer\\Feeds", "BackgroundSyncStatus", 0},
    {61, 'M', "Policies\\Microsoft\\Internet Explorer\\Main", "DisableFirstRunCustomize", 1},
    {62, 'M', "Policies\\Microsoft\\Internet Explorer\\SQM",
     "DisableCustomerImprovementProgram", 0},
};
