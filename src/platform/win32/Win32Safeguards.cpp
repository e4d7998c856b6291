// The administrator check and System Restore, for the safeguards taken
// before the first change.

#include <string>

#include "platform/Platform.h"

namespace platform {

bool IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators))
    return false;
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  FreeSid(administrators);
  return member != FALSE;
}

DWORD SetRestorePoint(DWORD eventType, DWORD pointType, int64_t sequence,
                      const char* description, int64_t* newSequence) {
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ERROR_MOD_NOT_FOUND;
  // By its full path: never a srclient.dll that lies beside the exe.
  HMODULE library = LoadLibraryA((std::string(folder, length) + "\\srclient.dll").c_str());
  if (!library) return GetLastError();
  using SetPoint = BOOL(WINAPI*)(PRESTOREPOINTINFOA, PSTATEMGRSTATUS);
  SetPoint set = reinterpret_cast<SetPoint>(
      reinterpret_cast<void*>(GetProcAddress(library, "SRSetRestorePointA")));
  DWORD result = ERROR_PROC_NOT_FOUND;
  if (set) {
    RESTOREPOINTINFOA info = {};
    info.dwEventType = eventType;
    info.dwRestorePtType = pointType;
    info.llSequenceNumber = sequence;
    lstrcpynA(info.szDescription, description ? description : "", sizeof info.szDescription);
    STATEMGRSTATUS status = {};
    if (set(&info, &status)) {
      *newSequence = status.llSequenceNumber;
      result = ERROR_SUCCESS;
    } else {
      result = status.nStatus != ERROR_SUCCESS ? status.nStatus : ERROR_INVALID_FUNCTION;
    }
  }
  FreeLibrary(library);
  return result;
}

}  // namespace platform
