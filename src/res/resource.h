#pragma once
// Resource numbers. Labels and descriptions are addressed by the numbers of
// the settings catalogue; the texts named here are used by the windows.

#define IDS_RESET_DONE 39
#define IDS_RESET_CONFIRM 40
#define IDS_ABOUT_TEXT 45
#define IDS_STATUS_NOTICE 46
#define IDS_STATUS_OFF 47
#define IDS_STATUS_CHOSEN 48
