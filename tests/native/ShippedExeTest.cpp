// Checks the shipped Windows executable from Linux: it has to be a 32-bit GUI
// program that Windows XP agrees to load, which means a subsystem version of
// at most 5.01 and no import that XP's DLLs lack.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "native/ExeByBinutils.h"

namespace {

using ExportList = std::set<std::string>;  // "dll!Function", DLL in lower case

// DLLs Windows XP does not ship; a trailing '*' matches any rest of the name.
// The exe is shipped on its own, so MinGW's runtime DLLs would be missing too.
const char* const kDllsMissingOnXp[] = {
    "api-ms-win-*",   "ext-ms-*",       "ucrtbase.dll", "vcruntime*", "msvcp1*",
    "msvcr1*",        "kernelbase.dll", "bcrypt.dll",   "ncrypt.dll", "dwmapi.dll",
    "d2d1.dll",       "dwrite.dll",     "libgcc_s*",    "libstdc++*", "libwinpthread*",
};

bool IsMissingOnXp(const std::string& dll) {
  for (const std::string pattern : kDllsMissingOnXp) {
    const bool isPrefix = pattern.back() == '*';
    if (isPrefix ? dll.rfind(pattern.substr(0, pattern.size() - 1), 0) == 0 : dll == pattern)
      return true;
  }
  return false;
}

// Every import that would keep the exe from loading on XP, as "dll!Function
// (reason)". The covered DLLs are those the lists name; other XP system DLLs
// (ntdll, shlwapi, ...) are trusted.
std::vector<std::string> FindNonXpImports(const std::vector<exe::Import>& imports,
                                          const ExportList& availableOnXp,
                                          const ExportList& newerThanXp) {
  std::set<std::string> coveredDlls;
  for (const ExportList* list : {&availableOnXp, &newerThanXp})
    for (const std::string& entry : *list) coveredDlls.insert(entry.substr(0, entry.find('!')));

  std::vector<std::string> found;
  for (const exe::Import& import : imports) {
    const std::string name = import.Name();
    if (IsMissingOnXp(import.dll)) {
      found.push_back(name + " (DLL not on XP)");
    } else if (coveredDlls.count(import.dll) == 0) {
      continue;
    } else if (import.ByOrdinal()) {
      // The lists hold names only, so an ordinal cannot be vouched for.
      found.push_back(name + " (ordinal import)");
    } else if (newerThanXp.count(name) != 0) {
      found.push_back(name + " (newer than XP)");
    } else if (availableOnXp.count(name) == 0) {
      found.push_back(name + " (not an XP export)");
    }
  }
  return found;
}

ExportList LoadExportList(const std::string& fileName) {
  std::ifstream in(std::string(XP_EXPORTS_DIR) + "/" + fileName);
  ExportList list;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') list.insert(line);
  }
  return list;
}

class XpImportCheck : public testing::Test {
 protected:
  void SetUp() override {
    availableOnXp_ = LoadExportList("available-on-xp.txt");
    newerThanXp_ = LoadExportList("newer-than-xp.txt");
    // Unread lists would cover no DLL and let every import pass.
    ASSERT_GT(availableOnXp_.size(), 1000u) << "cannot read lists in " << XP_EXPORTS_DIR;
    ASSERT_GT(newerThanXp_.size(), 100u) << "cannot read lists in " << XP_EXPORTS_DIR;
  }

  ExportList availableOnXp_;
  ExportList newerThanXp_;
};

class ShippedExe : public XpImportCheck {
 protected:
  void SetUp() override {
    XpImportCheck::SetUp();
    if (HasFatalFailure()) return;
    std::string error;
    std::optional<exe::Exe> image = exe::ReadExe(HUSHGATE_EXE, HUSHGATE_MAP, error);
    ASSERT_TRUE(image) << "cannot read " << HUSHGATE_EXE << ": " << error;
    image_ = std::move(*image);
  }

  exe::Exe image_;
};

TEST_F(ShippedExe, IsPe32I386GuiProgram) {
  // objdump's name for a PE32 image of machine 0x14c (i386).
  EXPECT_EQ(image_.format, "pei-i386");
  EXPECT_EQ(image_.subsystem, exe::kSubsystemWindowsGui);
}

TEST_F(ShippedExe, SubsystemVersionIsAtMostXp) {
  // XP's loader refuses an image that asks for a newer subsystem than 5.01.
  const bool atMostXp = image_.majorSubsystemVersion < 5 ||
                        (image_.majorSubsystemVersion == 5 && image_.minorSubsystemVersion <= 1);
  EXPECT_TRUE(atMostXp) << "subsystem version " << image_.majorSubsystemVersion << "."
                        << image_.minorSubsystemVersion;
}

TEST_F(ShippedExe, EveryImportExistsOnXp) {
  ASSERT_FALSE(image_.imports.empty()) << "no imports found; the reader must have missed them";
  ASSERT_TRUE(std::any_of(image_.imports.begin(), image_.imports.end(),
                          [](const exe::Import& import) { return import.delayLoaded; }))
      << "no delay-loaded imports found; the reader must have missed them";
  EXPECT_EQ(std::vector<std::string>(),
            FindNonXpImports(image_.imports, availableOnXp_, newerThanXp_))
      << "imports Windows XP cannot resolve";
}

TEST_F(ShippedExe, LoadsOnlyKernelAdvapiAndCRuntimeAtStart) {
  // The DLLs of windows, message boxes and launches cost most of a start;
  // they are delay-loaded, so a command-line run loads them only when needed.
  std::set<std::string> loadedAtStart;
  for (const exe::Import& import : image_.imports)
    if (!import.delayLoaded) loadedAtStart.insert(import.dll);
  EXPECT_EQ(loadedAtStart, (std::set<std::string>{"advapi32.dll", "kernel32.dll", "msvcrt.dll"}));
}

TEST_F(ShippedExe, StaysWithinHalfAMebibyte) {
  std::ifstream file(HUSHGATE_EXE, std::ios::binary | std::ios::ate);
  ASSERT_TRUE(file);
  EXPECT_LE(static_cast<long long>(file.tellg()), 512 * 1024);
}

TEST_F(XpImportCheck, ReportsEveryKindOfNonXpImport) {
  // "dll!Function" by name, "dll!#17" by ordinal.
  std::vector<exe::Import> imports;
  for (const std::string name :
       {"kernel32.dll!CreateFileA", "kernel32.dll!GetTickCount64",
        "kernel32.dll!NoSuchFunctionAnywhere", "msvcrt.dll!malloc", "comctl32.dll!#17",
        "ntdll.dll!RtlGetVersion", "shlwapi.dll!#437", "api-ms-win-core-synch-l1-2-0.dll!Sleep",
        "ucrtbase.dll!malloc", "kernelbase.dll!CreateFileW"})
    imports.push_back({name.substr(0, name.find('!')), name.substr(name.find('!') + 1)});
  EXPECT_EQ(FindNonXpImports(imports, availableOnXp_, newerThanXp_),
            (std::vector<std::string>{
                "kernel32.dll!GetTickCount64 (newer than XP)",
                "kernel32.dll!NoSuchFunctionAnywhere (not an XP export)",
                "comctl32.dll!#17 (ordinal import)",
                "api-ms-win-core-synch-l1-2-0.dll!Sleep (DLL not on XP)",
                "ucrtbase.dll!malloc (DLL not on XP)",
                "kernelbase.dll!CreateFileW (DLL not on XP)",
            }));
}

TEST_F(XpImportCheck, CatchesNewerImportsReadFromAnExe) {
  // An exe made for this test: kernel32's GetTickCount64 by name and its
  // ordinal 17 imported as usual, user32's MessageBoxW delay-loaded.
  std::string error;
  const std::optional<exe::Exe> image = exe::ReadExe(IMPORTS_FIXTURE_EXE, IMPORTS_FIXTURE_MAP, error);
  ASSERT_TRUE(image) << error;
  EXPECT_EQ(FindNonXpImports(image->imports, availableOnXp_, newerThanXp_),
            (std::vector<std::string>{"kernel32.dll!GetTickCount64 (newer than XP)",
                                      "kernel32.dll!#17 (ordinal import)"}));
  std::vector<std::string> delayLoaded;
  for (const exe::Import& import : image->imports)
    if (import.delayLoaded) delayLoaded.push_back(import.Name());
  EXPECT_EQ(delayLoaded, std::vector<std::string>{"user32.dll!MessageBoxW"});
}

}  // namespace
