// hushgate.exe on a machine whose Group Policy decides settings: the error
// report policy value and a security template's copy setting a service's
// start type, planted where Windows keeps them, read from outside.

#include <gtest/gtest.h>

#include <fstream>

#include "wine/WineHarness.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kReportingPolicy[] = "Software\\Policies\\Microsoft\\PCHealth\\ErrorReporting";

std::string TemplatesFolder() {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  return std::string(windows) + "\\security\\templates\\policies";
}

// The copy of an applied template as Windows keeps it: UTF-16LE with its mark.
void PlantTemplate(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << "\xFF\xFE";
  for (char c : text) file << c << '\0';
}

class PolicyEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateSettingKeys();
    PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 0);
  }
  void TearDown() override {
    RemoveKeyTree(HKEY_LOCAL_MACHINE, "Software\\Policies\\Microsoft\\PCHealth");
    DeleteFileA((TemplatesFolder() + "\\gpt00000.inf").c_str());
  }
};

TEST_F(PolicyEndToEnd, ErrorReportPolicyHoldsAndApplyLeavesItAlone) {
  PutNumber(HKEY_LOCAL_MACHINE, kReportingPolicy, "DoReport", 1);
  std::string report;
  EXPECT_EQ(1, RunWithOutput("/status 4", &report));
  EXPECT_NE(std::string::npos,
            report.find("\r\n4\ton\tno\tFehlerberichterstattung ausschalten\tmachine\tpolicy\r\n"))
      << report;
  EXPECT_EQ(1, RunWithOutput("4", &report));
  EXPECT_EQ("Durch Gruppenrichtlinie festgelegt, nicht ge\xE4ndert: 4\r\n", report);
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_LOCAL_MACHINE, kReportingPolicy, "DoReport"));
  // Without the policy the setting is its own again.
  RemoveKeyTree(HKEY_LOCAL_MACHINE, "Software\\Policies\\Microsoft\\PCHealth");
  EXPECT_EQ(0, RunWithOutput("/status 4", &report));
  EXPECT_NE(std::string::npos, report.find("\r\n4\toff\tno\t")) << report;
  EXPECT_NE(std::string::npos, report.find("\tmachine\tlocal\r\n")) << report;
}

TEST_F(PolicyEndToEnd, SecurityTemplateDecidesTheUpdateService) {
  const std::string folder = TemplatesFolder();
  for (size_t at = folder.find("\\security"); at != std::string::npos; at = folder.find('\\', at + 1))
    CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  PlantTemplate(folder + "\\gpt00000.inf",
                "[Unicode]\r\nUnicode=yes\r\n[Service General Setting]\r\n"
                "\"wuauserv\",2,\"D:AR(A;;GA;;;SY)\"\r\n[Version]\r\nsignature=\"$CHICAGO$\"\r\n");
  std::string report;
  RunWithOutput("/status 10", &report);
  EXPECT_NE(std::string::npos, report.find("\r\n10\ton\t")) << report;
  EXPECT_NE(std::string::npos, report.find("\tmachine\tpolicy\r\n")) << report;
  const DWORD before = ReadService("wuauserv").startType;
  EXPECT_EQ(1, RunWithOutput("10", &report));
  EXPECT_EQ("Durch Gruppenrichtlinie festgelegt, nicht ge\xE4ndert: 10\r\n", report);
  EXPECT_EQ(before, ReadService("wuauserv").startType);
}

}  // namespace
