#pragma once
// Settings 31-62 as the table that is their authority gives them: each one
// REG_DWORD below a policy key, with the number that switches its function
// off. The native and the Wine tier hold the program to it alike.

#include "engine/SettingId.h"
#include "platform/WinTypes.h"

struct PolicyValueRow {
  SettingId id;
  HKEY root;
  const char* key;  // below "Software\", as the table gives it
  const char* value;
  DWORD off;
};

inline const PolicyValueRow kPolicyValueRows[] = {
    {31, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\SystemCertificates\\AuthRoot",
     "DisableRootAutoUpdate", 1},
    {32, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Windows\\DriverSearching",
     "DontSearchWindowsUpdate", 1},
    {33, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\PCHealth\\HelpSvc", "Headlines", 0},
    {34, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\PCHealth\\HelpSvc", "MicrosoftKBSearch", 0},
    {35, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\SearchCompanion", "DisableContentFileUpdates",
     1},
    {36, HKEY_LOCAL_MACHINE, "Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
     "NoInternetOpenWith", 1},
    {37, HKEY_LOCAL_MACHINE, "Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
     "NoWebServices", 1},
    {38, HKEY_LOCAL_MACHINE, "Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
     "NoOnlinePrintsWizard", 1},
    {39, HKEY_LOCAL_MACHINE, "Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
     "NoPublishingWizard", 1},
    {40, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Windows NT\\Printers", "DisableHTTPPrinting", 1},
    {41, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Windows NT\\Printers", "DisableWebPnPDownload",
     1},
    {42, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Messenger\\Client", "CEIP", 2},
    {43, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Windows\\Internet Connection Wizard",
     "ExitOnMSICW", 1},
    {44, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Windows\\Registration Wizard Control",
     "NoRegistration", 1},
    {45, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\EventViewer", "MicrosoftEventVwrDisableLinks",
     1},
    {46, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Windows\\WindowsUpdate",
     "DisableWindowsUpdateAccess", 1},
    {47, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\WindowsMovieMaker", "CodecDownload", 1},
    {48, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\WindowsMovieMaker", "WebHelp", 1},
    {49, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\WindowsMovieMaker", "WebPublish", 1},
    {50, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\WindowsMediaPlayer", "DisableAutoUpdate", 1},
    {51, HKEY_CURRENT_USER, "Policies\\Microsoft\\WindowsMediaPlayer",
     "PreventCDDVDMetadataRetrieval", 1},
    {52, HKEY_CURRENT_USER, "Policies\\Microsoft\\WindowsMediaPlayer",
     "PreventMusicFileMetadataRetrieval", 1},
    {53, HKEY_CURRENT_USER, "Policies\\Microsoft\\WindowsMediaPlayer",
     "PreventRadioPresetsRetrieval", 1},
    {54, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\WMDRM", "DisableOnline", 1},
    {55, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Internet Explorer\\PhishingFilter", "Enabled",
     0},
    {56, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Internet Explorer\\PhishingFilter", "EnabledV8",
     0},
    {57, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Internet Explorer\\Suggested Sites", "Enabled",
     0},
    {58, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Internet Explorer\\BrowserEmulation",
     "MSCompatibilityMode", 0},
    {59, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Internet Explorer\\SearchScopes",
     "ShowSearchSuggestionsGlobal", 0},
    {60, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Internet Explorer\\Feeds",
     "BackgroundSyncStatus", 0},
    {61, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Internet Explorer\\Main",
     "DisableFirstRunCustomize", 1},
    {62, HKEY_LOCAL_MACHINE, "Policies\\Microsoft\\Internet Explorer\\SQM",
     "DisableCustomerImprovementProgram", 0},
};
