// No include guard: included once to rename the counted seam functions and
// once more to take the names back. The seam's sources are built for the
// bench with this file forced in first, so they define the renamed functions.

#ifndef HUSHGATE_RENAMED
#define HUSHGATE_RENAMED
#define OpenKey RealOpenKey
#define CreateKey RealCreateKey
#define CloseKey RealCloseKey
#define OpenServiceManager RealOpenServiceManager
#define OpenServiceHandle RealOpenServiceHandle
#define CloseService RealCloseService
#else
#undef HUSHGATE_RENAMED
#undef OpenKey
#undef CreateKey
#undef CloseKey
#undef OpenServiceManager
#undef OpenServiceHandle
#undef CloseService
#endif
