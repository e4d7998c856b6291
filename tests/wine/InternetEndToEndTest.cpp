// Settings 31-62 run by hushgate.exe in an XP-like prefix with Internet
// Explorer 8 and Media Player 10 planted, judged from outside: the bytes
// apply leaves, the report, a profile that switches them on again and the
// English labels; and what Internet Explorer 6 is offered there.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "common/DescribeValue.h"
#include "common/PolicyValueRows.h"
#include "common/SettingKeyPaths.h"
#include "wine/WineHarness.h"

namespace {

std::string KeyOf(const PolicyValueRow& row) { return std::string("Software\\") + row.key; }

std::string AllNumbers() {
  std::string numbers;
  for (const PolicyValueRow& row : kPolicyValueRows) numbers += " " + std::to_string(row.id);
  return numbers;
}

// A fresh prefix has neither program; what the tests plant goes again.
class InternetEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    PutString(HKEY_LOCAL_MACHINE, kVersionVector, "IE", "8.0000");
    PutNumber(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "IsInstalled", 1);
    PutString(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "Version", "10,0,0,3646");
  }
  void TearDown() override {
    std::string report;
    RunWithOutput("/undo", &report);
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kMediaPlayerSetup);
    RemoveValue(HKEY_LOCAL_MACHINE, kVersionVector, "IE");
  }
};

TEST_F(InternetEndToEnd, AppliesEveryRowReportsItOffAndAProfileSwitchesItOnAgain) {
  EXPECT_EQ(0u, RunHushgate(AllNumbers()).exitCode);
  std::string report;
  EXPECT_EQ(0, RunWithOutput("/status" + AllNumbers(), &report)) << report;
  for (const PolicyValueRow& row : kPolicyValueRows) {
    EXPECT_EQ(DescribeValue(REG_DWORD, {BYTE(row.off), 0, 0, 0}),
              Describe(row.Root(), KeyOf(row), row.value))
        << row.id;
    EXPECT_NE(std::string::npos, report.find("\n" + std::to_string(row.id) + "\toff\tyes\t"))
        << row.id;
  }
  EXPECT_NE(std::string::npos, report.find("\tStammzertifikate nicht automatisch aktualisieren\t"));
  EXPECT_EQ(0, RunWithOutput("/lang:en /status 31 51", &report)) << report;
  EXPECT_NE(
      std::string::npos,
      report.find("\n51\toff\tyes\tDo not retrieve media information for CDs and DVDs\tuser\t"))
      << report;

  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string profile = std::string(folder) + "hushgate-internet.ini";
  std::ofstream(profile, std::ios::binary) << "[Settings]\r\n"
                                           << [] {
                                                std::string entries;
                                                for (const PolicyValueRow& row : kPolicyValueRows)
                                                  entries += std::to_string(row.id) + "=on\r\n";
                                                return entries;
                                              }();
  EXPECT_EQ(0, RunWithOutput("/profile:" + profile, &report)) << report;
  for (const PolicyValueRow& row : kPolicyValueRows)
    EXPECT_EQ("missing", Describe(row.Root(), KeyOf(row), row.value)) << row.id;
  DeleteFileA(profile.c_str());
}

// Internet Explorer 6 keeps its own settings, and is offered none of 7's and 8's.
TEST_F(InternetEndToEnd, ExplorerSixIsOfferedItsOwnSettingsAlone) {
  PutString(HKEY_LOCAL_MACHINE, kVersionVector, "IE", "6.0000");
  std::string report;
  RunWithOutput("/status 6 7 8 29 55 56 57 58 59 60 61 62", &report);
  for (SettingId id : {6u, 7u, 8u, 29u, 55u, 56u, 57u, 58u, 59u, 60u, 61u, 62u})
    EXPECT_EQ(id >= 55,
              report.find("\n" + std::to_string(id) + "\tnot-offered\t") != std::string::npos)
        << id << "\n"
        << report;
}

}  // namespace
