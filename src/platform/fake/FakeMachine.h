#pragma once
// The in-memory Windows that the fake seam answers from. Tests reset it,
// arrange its state, run the code under test and inspect what changed.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeServices.h"

namespace fake {

struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

struct LaunchRecord {
  std::string file;
  std::string parameters;
  std::string directory;  // empty when none was given
  int show;
  unsigned long mask;
  bool hasVerb;
  bool hasOwner;
  bool native = false;  // a 64-bit system program, started past the redirection
};

// How a launched program behaves, keyed by its file as given to the launch.
struct ScriptedProgram {
  bool startFails = false;
  DWORD runsFor = 200;  // milliseconds until it exits
  DWORD exitCode = 0;
};

struct EventRecord {
  std::string source;
  WORD type;
  DWORD id;
  std::string text;      // the first of its strings
  size_t strings = 1;    // how many it was given
};

struct RestorePointCall {
  DWORD eventType;
  DWORD pointType;
  int64_t sequence;
  std::string description;
  size_t registryChangesBefore;  // how many registry changes came before the call
};

struct FakeMachine {
  FakeRegistry registry;
  FakeServices services;

  std::vector<MessageBoxCall> messageBoxes;
  // Answers for the next message boxes, in order; once used up, each box is
  // answered with its first button (OK or Yes).
  std::deque<int> messageBoxAnswers;
  std::string programName = "hushgate";
  std::string programPath = "C:\\Tools\\hushgate.exe";
  std::string userName = "Verwalter";
  std::string computerName = "PC-HALLE3";
  std::string localTime = "2026-12-08 14:30:00";
  bool localSystem = false;  // runs as S-1-5-18, as a startup script does

  std::vector<EventRecord> events;  // the Application event log
  std::string output;      // what was written to the standard output or console
  bool hasOutput = true;   // false: started with neither

  std::set<std::string> accounts;  // local account names
  std::vector<std::string> shellOpens;  // pages and addresses opened

  DWORD majorVersion = 5;
  DWORD minorVersion = 1;
  WORD suiteMask = VER_SUITE_SINGLEUSERTS;
  BYTE productType = VER_NT_WORKSTATION;
  bool versionCallFails = false;

  // Under WOW64 (registry.SetWow64): whether the calls that reach the
  // 64-bit system were found.
  bool redirectionCalls = true;  // Wow64Disable/RevertWow64FsRedirection
  bool deleteKeyExCall = true;   // RegDeleteKeyExA

  std::string systemFolder = "C:\\WINDOWS\\system32";
  std::set<std::string> files;  // full paths, in lower case
  // Files with contents, by full path in lower case: what ListFiles,
  // ReadProfileSection and ReadWholeFile see, and what the profile
  // functions read and write; the folder relative names start from; paths
  // that cannot be opened (locked or without rights).
  std::map<std::string, std::string> fileContents;
  int joinStatus = 2;  // a workgroup; 3 a domain member, 0 unknown

  std::string currentFolder = "C:\\Dokumente und Einstellungen\\Verwalter";
  std::set<std::string> lockedFiles;
  // The 8.3 short names of files, by full path in lower case: a wildcard
  // matches a file by either of its names, as on Windows.
  std::map<std::string, std::string> shortNames;
  bool diskFull = false;  // a file's bytes cannot be written
  int scratchFiles = 0;   // new files made beside others, for a name of their own

  bool administrator = true;  // the token holds the Administrators group
  // System Restore: srclient.dll there or not, and the error its call gives
  // (ERROR_SUCCESS: it creates the point). Every call is logged.
  bool restoreLibraryPresent = true;
  DWORD restorePointError = ERROR_SUCCESS;
  std::vector<RestorePointCall> restorePoints;
  int64_t nextRestoreSequence = 41;

  // Launches, in order; programs not scripted start and exit with 0.
  std::vector<LaunchRecord> launches;
  std::map<std::string, ScriptedProgram> programs;
  std::map<std::string, ScriptedProgram> nativePrograms;  // the 64-bit ones
  std::function<void(const LaunchRecord&)> onLaunch;  // the program's effect

  // Virtual time: waits and pauses advance it and take no real time.
  DWORD clock = 1000000;
  std::vector<DWORD> pauses;
  size_t OpenProcessCount() const { return processes.size(); }

  struct Process {
    DWORD exitsAt;
    DWORD exitCode;
  };
  std::map<uintptr_t, Process> processes;
  uintptr_t nextProcess = 0x9000;
};

FakeMachine& Machine();
void ResetMachine();

// Windows XP Professional x64 Edition as this 32-bit program sees it: 5.2,
// a workstation, under WOW64.
void MakeXpX64();

}  // namespace fake
