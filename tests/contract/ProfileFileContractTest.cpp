// Behaviours of the profile-file seam that profiles rely on, run against the
// fake natively and against Wine's profile functions, so the fake cannot
// drift from them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract/ContractFixture.h"

namespace {

const char kText[] = "; a comment\r\n[Hushgate]\r\nFormat=1\r\n\r\n[Settings]\r\n4=off\r\n10=on\r\n";

std::string Utf16(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (char c : text) bytes += std::string{c, '\0'};
  return bytes;
}

class ProfileFileContract : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    path_ = ScratchFolder() + "\\hushgate-contract.ini";
    ASSERT_EQ(DWORD(ERROR_SUCCESS),
              platform::WriteWholeFile(path_, GetParam() ? Utf16(kText) : std::string(kText)));
  }
  void TearDown() override { RemoveScratchFile(path_); }
  std::string path_;
};

TEST_P(ProfileFileContract, SectionsAndTheirLinesReadBack) {
  std::vector<std::string> names, lines, none;
  ASSERT_TRUE(platform::ReadProfileSectionNames(path_, 1024, &names));
  EXPECT_EQ((std::vector<std::string>{"Hushgate", "Settings"}), names);
  ASSERT_TRUE(platform::ReadProfileSection(path_, "SETTINGS", 1024, &lines));
  EXPECT_EQ((std::vector<std::string>{"4=off", "10=on"}), lines);
  ASSERT_TRUE(platform::ReadProfileSection(path_, "Missing", 1024, &none));
  EXPECT_TRUE(none.empty());
}

// A comment inside a section is not one of its lines.
TEST_P(ProfileFileContract, ACommentInsideASectionIsNoLineOfIt) {
  ASSERT_EQ(DWORD(ERROR_SUCCESS),
            platform::WriteWholeFile(path_, GetParam() ? Utf16("[S]\r\n; note\r\na=1\r\n")
                                                       : std::string("[S]\r\n; note\r\na=1\r\n")));
  std::vector<std::string> lines;
  ASSERT_TRUE(platform::ReadProfileSection(path_, "S", 1024, &lines));
  EXPECT_EQ((std::vector<std::string>{"a=1"}), lines);
}

TEST_P(ProfileFileContract, SectionThatDoesNotFitIsRefused) {
  std::vector<std::string> lines;
  EXPECT_FALSE(platform::ReadProfileSection(path_, "Settings", 8, &lines));
}

TEST_P(ProfileFileContract, FileStartReadsTheFirstBytes) {
  std::string start = "sentinel";
  ASSERT_EQ(DWORD(ERROR_SUCCESS), platform::ReadFileStart(path_, 3, &start));
  EXPECT_EQ(GetParam() ? std::string("\xFF\xFE;", 3) : std::string("; a"), start);
}

// The new bytes go beside the file and then take its place: where the file
// cannot be replaced, it keeps its bytes and nothing is left beside it.
TEST_P(ProfileFileContract, AFileThatCannotBeReplacedKeepsItsBytes) {
  ASSERT_EQ(DWORD(ERROR_SUCCESS), platform::WriteWholeFile(path_, "new"));
  std::string start;
  ASSERT_EQ(DWORD(ERROR_SUCCESS), platform::ReadFileStart(path_, 16, &start));
  EXPECT_EQ("new", start);
  {
    HeldOpen reader(path_);
    EXPECT_NE(DWORD(ERROR_SUCCESS), platform::WriteWholeFile(path_, "newer"));
  }
  ASSERT_EQ(DWORD(ERROR_SUCCESS), platform::ReadFileStart(path_, 16, &start));
  EXPECT_EQ("new", start);
  std::vector<std::string> beside;
  platform::ListFiles((ScratchFolder() + "\\hg*.tmp").c_str(), 16, &beside);
  EXPECT_TRUE(beside.empty()) << beside.front();
}

INSTANTIATE_TEST_SUITE_P(Encodings, ProfileFileContract, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Utf16" : "Ansi"; });

TEST(ProfileFilePaths, MissingFileAndBareNames) {
  std::string start = "sentinel";
  EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND),
            platform::ReadFileStart(ScratchFolder() + "\\no-such-profile.ini", 3, &start));
  EXPECT_EQ("sentinel", start);
  EXPECT_EQ(CurrentFolder() + "\\p.ini", platform::FullPathName("p.ini"));
  EXPECT_EQ("C:\\x\\p.ini", platform::FullPathName("C:\\x\\p.ini"));
}

}  // namespace
