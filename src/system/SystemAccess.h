#pragma once
// Every operation the program makes on the system. Nothing is cached: each
// call opens what it needs and closes it before it returns. Registry
// operations act in the system's own view unless told otherwise: under
// WOW64 the 64-bit registry, which the 64-bit system reads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "system/RegistryValues.h"
#include "system/RegistryView.h"
#include "system/ServiceControl.h"

// How CompareRegistryValue reads a value.
enum ValueKind : int { kKindText = 1, kKindBinary = 3, kKindNumber = 4 };

// What CompareRegistryValue answers.
enum CompareResult : int { kValueDiffers = 0, kValueEquals = 1, kValueUnreadable = 2 };

// WriteQosPolicy's modes.
enum QosPolicyMode : int { kQosWrite = 0, kQosRemove = 1 };

// A program of the system folder that an operation starts hidden, with its
// parameters and how long the operation waits after it (0: not at all).
struct ProgramLaunch {
  const char* program;
  std::string parameters;
  DWORD pause;
};

class SystemAccess {
 public:
  // Text and binary values are compared through a buffer of this size; a
  // larger value counts as unreadable.
  static constexpr DWORD kTextBufferSize = 128;
  // The packet-scheduler policy keys below HKCU that WriteQosPolicy writes,
  // with the number of keys at their ends it creates when missing, and the
  // value it writes there.
  static constexpr const char* kQosPolicyKeys[] = {
      "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LocalMachine\\Software\\Policies\\Microsoft\\Windows\\Psched",
      "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LokalMachine\\Software\\Policies\\Microsoft\\Windows\\Psched"};
  static constexpr size_t kQosCreatedKeys = 7;
  static constexpr const char kQosLimitValue[] = "NonBestEffortLimit";
  static constexpr const char kSupportAccount[] = "SUPPORT_388945a0";

  SystemAccess() = default;
  virtual ~SystemAccess() = default;
  SystemAccess(const SystemAccess&) = delete;
  SystemAccess& operator=(const SystemAccess&) = delete;

  // Opens an existing key (never creates it) and stores the value; true when
  // the value was stored.
  bool WriteRegistryValue(HKEY root, const char* path, const char* name, const void* data,
                          DWORD type, DWORD size, RegistryView view = RegistryView::kSystem);
  // 1 equal, 0 differs (or a kind other than 1, 3, 4, or kind 1 without an
  // expected text), 2 when the key or value cannot be read.
  int CompareRegistryValue(HKEY root, const char* path, const char* name, int kind,
                           DWORD expectedNumber, const char* expectedText,
                           RegistryView view = RegistryView::kSystem);
  // Reads a value whole, whatever its size, with its type; true when read.
  bool ReadRegistryValue(HKEY root, const char* path, const char* name, DWORD* type,
                         std::vector<BYTE>* data, RegistryView view = RegistryView::kSystem);
  // Deletes one subkey that has no subkeys of its own; true when deleted.
  bool DeleteRegistryKey(HKEY root, const char* parentPath, const char* subKey,
                         RegistryView view = RegistryView::kSystem);
  // The same for the last key of the path, named by its parent.
  bool DeleteRegistryKey(HKEY root, const char* path, RegistryView view = RegistryView::kSystem);
  bool DeleteRegistryValue(HKEY root, const char* path, const char* name,
                           RegistryView view = RegistryView::kSystem);
  // True when the key can be read and holds the value, whatever its size.
  bool RegistryValueExists(HKEY root, const char* path, const char* name,
                           RegistryView view = RegistryView::kSystem);
  // True only when the registry says the key, or the value in its key, is
  // not there; a key that cannot be read is neither there nor absent.
  bool RegistryValueAbsent(HKEY root, const char* path, const char* name,
                           RegistryView view = RegistryView::kSystem);
  bool RegistryKeyAbsent(HKEY root, const char* path, RegistryView view = RegistryView::kSystem);
  // Whole keys, as the backup keeps them: every value that reads whole, the
  // subkeys' names (false when the key cannot be read), a key made with the
  // keys above it, a key deleted with everything below it (true when each
  // is there or gone afterwards), and values stored through one open of
  // their key (false when it cannot be opened or a value was not stored).
  bool ReadRegistryValues(HKEY root, const char* path, std::vector<NamedValue>* values,
                          RegistryView view = RegistryView::kSystem);
  bool ReadRegistrySubKeys(HKEY root, const char* path, std::vector<std::string>* names,
                           RegistryView view = RegistryView::kSystem);
  bool CreateRegistryKey(HKEY root, const char* path, RegistryView view = RegistryView::kSystem);
  bool RegistryKeyExists(HKEY root, const char* path, RegistryView view = RegistryView::kSystem);
  bool DeleteRegistryTree(HKEY root, const char* path, RegistryView view = RegistryView::kSystem);
  bool WriteRegistryValues(HKEY root, const char* path, const std::vector<NamedValue>& values,
                           RegistryView view = RegistryView::kSystem);
  // Opens root\path without its last createdKeys keys with full access and
  // creates (or opens) each of those keys below the previous one, with only
  // the right to create subkeys. True when the whole chain exists afterwards.
  bool CreateRegistryKeyChain(HKEY root, const char* path, size_t createdKeys,
                              RegistryView view = RegistryView::kSystem);
  // Mode 0 writes the packet-scheduler limit 0 below "LocalMachine" and
  // "LokalMachine"; mode 1 removes both "Psched" keys.
  bool WriteQosPolicy(int mode);

  bool IsInternetExplorer6();
  bool IsQosInstalled();
  bool IsOfficeXpInstalled();
  bool IsMediaPlayer8Installed();
  // Media Player 9 or later: its Active Setup entry says it is installed
  // (IsInstalled = 1) and its Version text begins with 9 or more.
  bool IsMediaPlayer9OrLater();
  // The first number of Internet Explorer's version ("8.0000": 8), 0 when it
  // cannot be read as a text that begins with one.
  int InternetExplorerVersion();

  ServiceControl& Services() { return services_; }
  bool IsServiceInstalled(const char* serviceName);

  // Each launch starts a program of the system directory hidden and, where a
  // pause follows, watches it for that long: true when it was started and
  // ended with exit code 0 within the pause. Under WOW64 the first three
  // start the 64-bit program after the 32-bit one, with a pause of its own:
  // true when both did so.
  bool RegisterComponent(const char* library);    // regsvr32, 3 s
  bool UnregisterComponent(const char* library);  // regsvr32 /u, 3 s
  bool UninstallMessenger();                      // the INF installer, 10 s
  bool DeleteSupportAccount();                    // net, not waited for: true when started
  // What those operations launch; the messenger's INF file lies below the
  // given system root.
  static ProgramLaunch ComponentRemoval(const char* library);
  static ProgramLaunch MessengerRemoval(const std::string& systemRoot);
  static ProgramLaunch SupportAccountRemoval();
  bool SupportAccountExists();
  int GetWindowsPlatform();  // 2 on an XP Professional suite, else -1
  // The full path of a program in the system folder, where every launch
  // takes it from; empty when the folder cannot be read.
  static std::string SystemProgramPath(const char* program);
  // The system root as a proper text ending within its 128 bytes.
  bool ReadSystemRoot(std::string* root);
  bool IsWindowsXp();
  // 5.2 on a workstation under WOW64: XP Professional x64 Edition.
  bool IsWindowsXpX64();
  // Whether this 32-bit program runs on a 64-bit Windows (WOW64), and
  // whether it can start the 64-bit system programs and delete keys of the
  // 64-bit registry there; both always on 32-bit Windows, which has no other.
  bool IsWow64();
  bool CanLaunchNativePrograms();
  bool CanDeleteNativeKeys();

  // A System Restore point (SRSetRestorePointA, loaded when called): the
  // Win32 error code, ERROR_SUCCESS when it was set.
  DWORD SetRestorePoint(DWORD eventType, DWORD pointType, int64_t sequence, const char* name,
                        int64_t* newSequence);

  // Who runs the program, on which computer, and the local date and time as
  // "YYYY-MM-DD hh:mm:ss": what backups, reports and the event log record.
  std::string UserName();
  std::string ComputerName();
  std::string LocalTimeText();
  // Whether the machine is joined to a domain, whose policies may decide
  // settings; false for a workgroup and when it cannot be told.
  bool IsDomainMember();

 private:
  ServiceControl services_;
};
