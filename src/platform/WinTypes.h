#pragma once
// The Windows types and constants the seam speaks in. The Windows builds take
// them from <windows.h>; the native build declares the same names with the
// same values, so code above the seam compiles unchanged on both.

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#include <srrestoreptapi.h>
#else
#include <cstdint>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int BOOL;
typedef unsigned int UINT;
typedef DWORD REGSAM;
typedef struct HKEY__* HKEY;
typedef struct HWND__* HWND;
typedef struct SC_HANDLE__* SC_HANDLE;
typedef void* HANDLE;

struct SERVICE_STATUS {
  DWORD dwServiceType;
  DWORD dwCurrentState;
  DWORD dwControlsAccepted;
  DWORD dwWin32ExitCode;
  DWORD dwServiceSpecificExitCode;
  DWORD dwCheckPoint;
  DWORD dwWaitHint;
};

struct QUERY_SERVICE_CONFIGA {
  DWORD dwServiceType;
  DWORD dwStartType;
  DWORD dwErrorControl;
  char* lpBinaryPathName;
  char* lpLoadOrderGroup;
  DWORD dwTagId;
  char* lpDependencies;
  char* lpServiceStartName;
  char* lpDisplayName;
};

struct OSVERSIONINFOEXA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  char szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};

struct SHELLEXECUTEINFOA {
  DWORD cbSize;
  unsigned long fMask;
  HWND hwnd;
  const char* lpVerb;
  const char* lpFile;
  const char* lpParameters;
  const char* lpDirectory;
  int nShow;
  void* hInstApp;
  void* lpIDList;
  const char* lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIcon;
  HANDLE hProcess;
};

#define HKEY_CLASSES_ROOT ((HKEY)(uintptr_t)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002u)
#define HKEY_USERS ((HKEY)(uintptr_t)0x80000003u)

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_DISK_FULL 112L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_SERVICE_ALREADY_RUNNING 1056L
#define ERROR_SERVICE_DISABLED 1058L
#define ERROR_SERVICE_DOES_NOT_EXIST 1060L
#define ERROR_SERVICE_NOT_ACTIVE 1062L
#define ERROR_NONE_MAPPED 1332L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_NO_SYSTEM_RESOURCES 1450L
#define ERROR_KEY_DELETED 1018L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L

// System Restore's events and kinds of restore point (srrestoreptapi.h).
#define BEGIN_SYSTEM_CHANGE 100
#define END_SYSTEM_CHANGE 101
#define MODIFY_SETTINGS 12
#define CANCELLED_OPERATION 13

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

#define DELETE 0x00010000L
#define WRITE_DAC 0x00040000L
#define WRITE_OWNER 0x00080000L
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200

#define SC_MANAGER_CONNECT 0x0001
#define SC_MANAGER_ENUMERATE_SERVICE 0x0004
#define SC_MANAGER_ALL_ACCESS 0xF003F
#define SERVICE_QUERY_CONFIG 0x0001
#define SERVICE_CHANGE_CONFIG 0x0002
#define SERVICE_QUERY_STATUS 0x0004
#define SERVICE_START 0x0010
#define SERVICE_STOP 0x0020
#define SERVICE_INTERROGATE 0x0080
#define SERVICE_ALL_ACCESS 0xF01FF
#define SERVICE_NO_CHANGE 0xFFFFFFFF
#define SERVICE_WIN32_OWN_PROCESS 0x10
#define SERVICE_AUTO_START 2
#define SERVICE_DEMAND_START 3
#define SERVICE_DISABLED 4
#define SERVICE_ERROR_NORMAL 1
#define SERVICE_CONTROL_STOP 1
#define SERVICE_STOP_PENDING 3

#define VER_SUITE_SINGLEUSERTS 0x100
#define VER_NT_WORKSTATION 1
#define VER_NT_SERVER 3

#define SEE_MASK_NOCLOSEPROCESS 0x40
#define SW_HIDE 0
#define WAIT_OBJECT_0 0
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED 0xFFFFFFFF
#define MAX_PATH 260

#define EVENTLOG_ERROR_TYPE 0x0001
#define EVENTLOG_INFORMATION_TYPE 0x0004

#define MB_DEFBUTTON2 0x100
#define MB_OK 0x0
#define MB_OKCANCEL 0x1
#define MB_YESNO 0x4
#define MB_ICONQUESTION 0x20
#define MB_ICONEXCLAMATION 0x30
#define MB_ICONINFORMATION 0x40
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
#endif
