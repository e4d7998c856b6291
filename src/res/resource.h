#pragma once
// Resource numbers. Labels and descriptions are addressed by the numbers of
// the settings catalogue; the texts named here are used by the windows.

#define IDB_TREE_IMAGES 129
#define IDD_MAIN 202
#define IDR_MAIN_MENU 243
#define IDI_HUSHGATE 245
#define IDR_TREE_MENU 260

#define IDC_APPLY 1000
#define IDC_SETTINGS_TREE 1048

#define ID_ABOUT 40003
#define ID_STATUS_CHECK 40005
#define ID_RESET_ALL 40006
#define ID_UNLOCK_EXPERT 40007
#define ID_RECOMMENDED 40008
#define ID_TIME_SERVER 40013
#define ID_HOMEPAGE 40014
#define ID_MAIL 40015
#define ID_REVERT 40018

#define IDS_RESET_DONE 39
#define IDS_RESET_CONFIRM 40
#define IDS_ABOUT_TEXT 45
#define IDS_STATUS_NOTICE 46
#define IDS_STATUS_OFF 47
#define IDS_STATUS_CHOSEN 48
