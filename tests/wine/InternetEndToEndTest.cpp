// Settings 31-62 run by hushgate.exe in an XP-like prefix with Internet
// Explorer 8 and Media Player 10 planted, judged from outside: the bytes
// apply leaves, the report, a profile that switches them on again and the
// English labels; and what Internet Explorer 6 is offered there.

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "common/DescribeValue.h"
#include "common/PolicyValueRows.h"
#include "common/SettingKeyPaths.h"
#include "wine/WineHarness.h"

namespace {

std::string KeyOf(const PolicyValueRow& row) { return std::string("Software\\") + row.key; }

std::string OffBytes(const PolicyValueRow& row) {
  return DescribeValue(REG_DWORD, {BYTE(row.off), 0, 0, 0});
}

std::string AllNumbers() {
  std::string numbers;
  for (const PolicyValueRow& row : kPolicyValueRows) numbers += " " + std::to_string(row.id);
  return numbers;
}

// A value of the prefix as it was, to be put back.
struct SavedValue {
  std::optional<std::vector<BYTE>> data;
  DWORD type = 0;
};

SavedValue Save(HKEY root, const char* path, const char* name) {
  SavedValue saved;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return saved;
  std::vector<BYTE> data(1024);
  DWORD size = DWORD(data.size());
  if (RegQueryValueExA(key, name, nullptr, &saved.type, data.data(), &size) == ERROR_SUCCESS) {
    data.resize(size);
    saved.data = data;
  }
  RegCloseKey(key);
  return saved;
}

void Restore(HKEY root, const char* path, const char* name, const SavedValue& saved) {
  if (!saved.data) return RemoveValue(root, path, name);
  HKEY key = nullptr;
  RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegSetValueExA(key, name, 0, saved.type, saved.data->data(), DWORD(saved.data->size()));
  RegCloseKey(key);
}

class InternetEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    explorer_ = Save(HKEY_LOCAL_MACHINE, kVersionVector, "IE");
    PutString(HKEY_LOCAL_MACHINE, kVersionVector, "IE", "8.0000");
    PutNumber(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "IsInstalled", 1);
    PutString(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "Version", "10,0,0,3646");
    for (const PolicyValueRow& row : kPolicyValueRows) RemoveValue(row.root, KeyOf(row), row.value);
  }
  void TearDown() override {
    std::string report;
    RunWithOutput("/undo", &report);
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kMediaPlayerSetup);
    Restore(HKEY_LOCAL_MACHINE, kVersionVector, "IE", explorer_);
  }
  SavedValue explorer_;
};

TEST_F(InternetEndToEnd, AppliesEveryRowReportsItOffAndAProfileSwitchesItOnAgain) {
  RunResult run = RunHushgate(AllNumbers());
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.messageBoxes.empty());
  for (const PolicyValueRow& row : kPolicyValueRows)
    EXPECT_EQ(OffBytes(row), Describe(row.root, KeyOf(row), row.value)) << row.id;

  std::string report;
  EXPECT_EQ(0, RunWithOutput("/status" + AllNumbers(), &report)) << report;
  for (const PolicyValueRow& row : kPolicyValueRows)
    EXPECT_NE(std::string::npos, report.find("\r\n" + std::to_string(row.id) + "\toff\tyes\t"))
        << row.id << "\n" << report;
  EXPECT_NE(std::string::npos,
            report.find("\r\n31\toff\tyes\tStammzertifikate nicht automatisch aktualisieren\t"
                        "machine\tlocal\r\n"))
      << report;
  EXPECT_EQ(0, RunWithOutput("/lang:en /status 31 51", &report)) << report;
  EXPECT_NE(std::string::npos,
            report.find("\r\n31\toff\tyes\tDo not update root certificates automatically\t"))
      << report;
  EXPECT_NE(std::string::npos,
            report.find("\r\n51\toff\tyes\tDo not retrieve media information for CDs and DVDs\t"
                        "user\tlocal\r\n"))
      << report;

  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string profile = std::string(folder) + "hushgate-internet.ini";
  {
    std::ofstream file(profile, std::ios::binary);
    file << "[Hushgate]\r\nFormat=1\r\n[Settings]\r\n";
    for (const PolicyValueRow& row : kPolicyValueRows) file << row.id << "=on\r\n";
  }
  EXPECT_EQ(0, RunWithOutput("/profile:" + profile, &report)) << report;
  for (const PolicyValueRow& row : kPolicyValueRows) {
    EXPECT_EQ("missing", Describe(row.root, KeyOf(row), row.value)) << row.id;
    EXPECT_NE(std::string::npos, report.find(std::to_string(row.id) + "\tdone\t")) << row.id;
  }
  DeleteFileA(profile.c_str());
}

// Internet Explorer 6 keeps its own settings, and is offered none of 7's and 8's.
TEST_F(InternetEndToEnd, ExplorerSixIsOfferedItsOwnSettingsAlone) {
  PutString(HKEY_LOCAL_MACHINE, kVersionVector, "IE", "6.0000");
  std::string report;
  RunWithOutput("/status 6 7 8 29" + AllNumbers(), &report);
  for (SettingId id : {6u, 7u, 8u, 29u}) {
    const std::string line = "\r\n" + std::to_string(id) + "\t";
    EXPECT_NE(std::string::npos, report.find(line)) << report;
    EXPECT_EQ(std::string::npos, report.find(line + "not-offered\t")) << report;
  }
  for (SettingId id = 55; id <= 62; ++id)
    EXPECT_NE(std::string::npos, report.find("\r\n" + std::to_string(id) + "\tnot-offered\t"))
        << id << "\n" << report;
  EXPECT_NE(std::string::npos, report.find("\r\n50\ton\t")) << report;
}

}  // namespace
