#pragma once
// The contract suite runs against whichever seam the test program links: the
// fake natively, Wine's registry under Wine. Each side says how to get a
// clean scratch key.

#include <string>

#include "platform/Platform.h"

inline constexpr char kScratchKey[] = "Software\\HushgateContract";

// Leaves HKEY_CURRENT_USER\Software\HushgateContract absent.
void ClearScratchKey();

// A folder the file tests may write into, and the folder bare names are
// taken from; both without a trailing backslash.
std::string ScratchFolder();
std::string CurrentFolder();
void RemoveScratchFile(const std::string& path);

// Keeps a file open for reading, sharing it only for reading, as another
// program may, until it goes out of scope.
class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path);
  ~HeldOpen();
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;

 private:
  std::string path_;
  void* handle_ = nullptr;
};

// A registry with the two views of a 64-bit Windows, seen by a 32-bit
// process, without the contract's keys below HKLM\Software in either: the
// fake made so, or Wine's in a 64-bit prefix. False where there is one view.
bool PrepareWow64Registry();
