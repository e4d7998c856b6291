// hushgate.exe with a profile in a fresh XP-like Wine prefix, judged from
// outside: the registry bytes it leaves, its reports before and after, and a
// saved profile carried to the same machine.

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>

#include "common/SettingKeyPaths.h"
#include "wine/WineHarness.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kWebcheck[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck";
const char kAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

std::string TempFile(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

void PutFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ProfileEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateSettingKeys();
    for (const char* name : {"DoReport", "ShowUI"}) RemoveValue(HKEY_LOCAL_MACHINE, kErrorReporting, name);
    RemoveValue(HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates");
    RemoveValue(HKEY_LOCAL_MACHINE, kAdvanced, "EnableBalloonTips");
  }
  void TearDown() override {
    std::string report;
    RunWithOutput("/undo", &report);
  }
};

TEST_F(ProfileEndToEnd, ChangesExactlyTheNamedSettingsAndReportsDriftThenMatch) {
  const std::string profile = TempFile("hushgate-profile.ini");
  PutFile(profile, "; test\r\n[Hushgate]\r\nFormat=1\r\n[Settings]\r\n4=off\r\n5 = OFF\r\n22=leave\r\n");
  std::string report;
  EXPECT_EQ(1, RunWithOutput("/status /profile:" + profile, &report)) << report;
  EXPECT_NE(std::string::npos, report.find("\r\n4\ton\tno\t")) << report;
  EXPECT_NE(std::string::npos, report.find("\tmachine\tlocal\toff\tdrift\r\n5\ton\t")) << report;
  EXPECT_EQ(std::string::npos, report.find("\r\n22\t")) << report;

  EXPECT_EQ(0, RunWithOutput("/profile:" + profile, &report)) << report;
  EXPECT_EQ(0u, report.find("4\tdone\tFehlerberichterstattung ausschalten\r\n5\tdone\t")) << report;
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "ShowUI"));
  EXPECT_EQ("missing", Describe(HKEY_LOCAL_MACHINE, kAdvanced, "EnableBalloonTips"));
  EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates"));

  EXPECT_EQ(0, RunWithOutput("/status /profile:" + profile, &report)) << report;
  EXPECT_NE(std::string::npos, report.find("\toff\tmatch\r\n5\toff\tyes\t")) << report;
  EXPECT_EQ(std::string::npos, report.find("drift")) << report;
  DeleteFileA(profile.c_str());
}

TEST_F(ProfileEndToEnd, SavedProfileRoundTripsOnTheSameMachine) {
  const std::string saved = TempFile("hushgate-saved.ini");
  DeleteFileA(saved.c_str());
  RunHushgate("4 5 6");
  std::string report;
  EXPECT_EQ(0, RunWithOutput("/saveprofile:" + saved, &report)) << report;
  const std::string text = FileText(saved);
  EXPECT_EQ(0u, text.find("[Hushgate]\r\n; Profil von ")) << text;
  EXPECT_NE(std::string::npos, text.find("\r\n; Fehlerberichterstattung ausschalten\r\n4=off\r\n")) << text;
  EXPECT_NE(std::string::npos, text.find("\r\n5=off\r\n")) << text;
  // Without Internet Explorer 6 the setting is not offered here: its state
  // says nothing of what is wanted.
  EXPECT_NE(std::string::npos, text.find("\r\n6=leave\r\n")) << text;
  EXPECT_EQ(0, RunWithOutput("/status /profile:" + saved, &report)) << report;
  EXPECT_NE(std::string::npos, report.find("\toff\tmatch\r\n")) << report;
  EXPECT_EQ(std::string::npos, report.find("drift")) << report;
  // Applied elsewhere, or here after a change, it brings the same states back.
  RemoveValue(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport");
  EXPECT_EQ(1, RunWithOutput("/status /profile:" + saved, &report)) << report;
  EXPECT_EQ(0, RunWithOutput("/profile:" + saved, &report)) << report;
  EXPECT_EQ("4\tdone\tFehlerberichterstattung ausschalten\r\n", report.substr(0, report.find("\r\n") + 2));
  DeleteFileA(saved.c_str());
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// A save onto the sample keeps its notes and comments line for line, in
// their order: only its settings' values change, and what it adds.
TEST_F(ProfileEndToEnd, SavingOntoTheSampleKeepsItsNotesLineForLine) {
  const std::string copy = TempFile("hushgate-tills.ini");
  const std::string before = FileText(PROFILE_SAMPLE) + "\r\n[Notes]\r\nKasse 3=alt\r\n";
  PutFile(copy, before);
  std::string report;
  EXPECT_EQ(0, RunWithOutput("/saveprofile:" + copy, &report)) << report;
  const std::vector<std::string> saved = LinesOf(FileText(copy));
  size_t at = 0;
  for (const std::string& line : LinesOf(before)) {
    // A setting's own line keeps its place; its value is this machine's.
    const std::string kept = std::isdigit(static_cast<unsigned char>(line[0])) ? line.substr(0, line.find('=') + 1) : line;
    while (at < saved.size() && saved[at].compare(0, kept.size(), kept) != 0) ++at;
    ASSERT_LT(at, saved.size()) << "lost or moved: " << line << "\n" << FileText(copy);
    ++at;
  }
  // The notes before the first section stay first.
  EXPECT_EQ(0u, FileText(copy).find(before.substr(0, before.find("[Hushgate]")) + "[Hushgate]\r\n"));
  const int status = RunWithOutput("/status /profile:" + copy, &report);
  EXPECT_TRUE(status == 0 || status == 1) << status << report;
  DeleteFileA(copy.c_str());
}

}  // namespace
