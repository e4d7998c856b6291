// The shipped 32-bit exe in a 64-bit prefix that reports XP x64, under
// Wine's WOW64: what it reads and writes is the 64-bit registry, as the
// 64-bit reg.exe shows it, while the 32-bit copies keep other values; and
// the ZIP folder setting reaches the 64-bit library too. Runs only there
// (scripts/test.sh makes that prefix); elsewhere each case says why not.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/SettingKeyPaths.h"
#include "wine/PlantedMarker.h"
#include "wine/WineHarness.h"

namespace {

const char kErrorReporting[] = "Software\\Microsoft\\PCHealth\\ErrorReporting";
const char kAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const char kOutlookExpress[] = "Software\\Microsoft\\Outlook Express";
const std::string kAlexa = std::string(kExtensions) + "\\" + kAlexaExtension;

bool IsWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

void Put(REGSAM view, const std::string& path, const char* name, DWORD type,
         const std::vector<BYTE>& bytes) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS | view, nullptr, &key, nullptr));
  RegSetValueExA(key, name, 0, type, bytes.data(), DWORD(bytes.size()));
  RegCloseKey(key);
}

// The values of a key as the 64-bit reg.exe lists them, one "name type
// data" line each: started through Sysnative, which Wine gives every WOW64
// process, and so by another road than the program's own.
std::string Read64(const std::string& path) {
  std::string output;
  if (RunProgramWithOutput("C:\\windows\\sysnative\\reg.exe query \"HKLM\\" + path + "\"",
                           &output) != 0)
    return "missing";
  std::string lines;
  for (size_t at = 0; (at = output.find("\n    ", at)) != std::string::npos;) {
    size_t end = output.find_first_of("\r\n", at + 1);
    std::string line = output.substr(at + 5, end - at - 5);
    for (size_t gap; (gap = line.find("    ")) != std::string::npos;) line.replace(gap, 4, " ");
    lines += line + "\n";
    at = end;
  }
  return lines;
}

// The values the settings read, in both copies: the 64-bit ones switch each
// function on; the 32-bit ones read as off but are binary, so that a write
// into them would show.
struct Planted {
  std::string path;
  const char* name;
  DWORD type;
  std::vector<BYTE> in64, in32;
};
const Planted kPlanted[] = {
    {kErrorReporting, "DoReport", REG_DWORD, {1, 0, 0, 0}, {0, 0, 0, 0}},
    {kErrorReporting, "ShowUI", REG_DWORD, {1, 0, 0, 0}, {0, 0, 0, 0}},
    {kAdvanced, "EnableBalloonTips", REG_DWORD, {1, 0, 0, 0}, {0, 0, 0, 0}},
    {kOutlookExpress, "Hide Messenger", REG_DWORD, {0, 0, 0, 0}, {2, 0, 0, 0}},
    {kAlexa, "Script", REG_SZ, {'a', 0}, {'b', 0}},
};

std::string Read64All() {
  return Read64(kErrorReporting) + Read64(kAdvanced) + Read64(kOutlookExpress) + Read64(kAlexa);
}

// What this 32-bit test reads: the 32-bit copies.
std::string Read32All() {
  std::string text;
  for (const Planted& value : kPlanted) text += Describe(HKEY_LOCAL_MACHINE, value.path, value.name);
  return text;
}

class Wow64EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!IsWow64()) GTEST_SKIP() << "not a 64-bit prefix: the test runs as a plain 32-bit program";
  }
};

TEST_F(Wow64EndToEnd, StatusApplyAndUndoActOnThe64BitRegistry) {
  for (const Planted& value : kPlanted) {
    Put(KEY_WOW64_64KEY, value.path, value.name, value.type, value.in64);
    Put(0, value.path, value.name, value.type == REG_DWORD ? REG_BINARY : value.type, value.in32);
  }
  const std::string before64 = Read64All();
  const std::string before32 = Read32All();
  ASSERT_EQ("DoReport REG_DWORD 0x1\nShowUI REG_DWORD 0x1\nEnableBalloonTips REG_DWORD 0x1\n"
            "Hide Messenger REG_DWORD 0x0\nScript REG_SZ a\n",
            before64);

  std::string report;
  EXPECT_EQ(1, RunWithOutput("/status 0 4 5 22 24", &report));
  EXPECT_NE(std::string::npos, report.find("\tworkgroup\tx64\r\n0\ton\t")) << report;
  for (const char* line : {"\n4\ton\t", "\n5\ton\t", "\n22\ton\t", "\n24\ton\t"})
    EXPECT_NE(std::string::npos, report.find(line)) << line << " in " << report;

  EXPECT_EQ(0, RunWithOutput("0 4 5 22 24", &report)) << report;
  EXPECT_EQ("DoReport REG_DWORD 0x0\nShowUI REG_DWORD 0x0\nEnableBalloonTips REG_DWORD 0x0\n"
            "Hide Messenger REG_DWORD 0x2\nmissing",
            Read64All());
  // Internet Explorer's entry goes from both copies; nothing else of the 32-bit ones changes.
  EXPECT_EQ(before32.substr(0, before32.rfind("type 1")) + "missing", Read32All());
  EXPECT_EQ(0, RunWithOutput("/status 0 4 5 22 24", &report)) << report;

  EXPECT_EQ(0, RunWithOutput("/undo 0 4 5 22 24", &report)) << report;
  EXPECT_EQ(before64, Read64All());
  EXPECT_EQ(before32, Read32All());
}

// Each regsvr32 unregisters the library of its own width: both stand-ins
// mark that they ran.
TEST_F(Wow64EndToEnd, ZipFoldersReachThe64BitLibraryToo) {
  ASSERT_TRUE(CopyFileA(BesideTestProgram("zipfldr.dll").c_str(),
                        (SystemFolderPath() + "\\zipfldr.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(BesideTestProgram("x64\\zipfldr.dll").c_str(),
                        "C:\\windows\\sysnative\\zipfldr.dll", FALSE));
  RemoveKeyTree(HKEY_CURRENT_USER, kStandInKey);
  Put(KEY_WOW64_64KEY, "Software\\Classes\\.zip", "Content Type", REG_SZ,
      {'a', 'p', 'p', '/', 'z', 'i', 'p', 0});
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string profile = std::string(folder) + "zip-off.ini";
  std::ofstream(profile, std::ios::binary) << "[Hushgate]\r\nFormat=1\r\n\r\n[Settings]\r\n30=off\r\n";
  std::string output;
  RunWithOutput("/profile:\"" + profile + "\"", &output);
  EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_CURRENT_USER, kStandInKey, "Unregistered"))
      << output;
  EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_CURRENT_USER, kStandInKey, "Unregistered64"))
      << output;
}

}  // namespace
