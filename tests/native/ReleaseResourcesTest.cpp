// The manifest and the version record, as windres decompiles them from the
// built exe: Wine ignores manifests, so only the file itself can show what
// XP will see.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "native/ExeByBinutils.h"

namespace {

class ReleaseResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const exe::Resource& resource : exe::Decompiled(HUSHGATE_EXE)) {
      if (resource.header.rfind("1 24 ", 0) == 0)  // the manifest, in pieces of quoted text
        for (const std::string& line : resource.lines)
          for (const std::string& text : exe::Texts(line)) manifest_ += exe::Unquoted(text);
      if (resource.header == "1 VERSIONINFO") version_ = resource.lines;
    }
  }
  // What each language's block of the version record gives a key.
  static std::vector<std::string> Values(const std::string& key) {
    std::vector<std::string> values;
    for (const std::string& line : version_) {
      const std::vector<std::string> texts = exe::Texts(line);
      if (line.find("VALUE \"") != std::string::npos && texts.size() == 2 && texts[0] == key)
        values.push_back(exe::Unquoted(texts[1]));
    }
    return values;
  }
  static std::string manifest_;
  static std::vector<std::string> version_;
};

std::string ReleaseResources::manifest_;
std::vector<std::string> ReleaseResources::version_;

TEST_F(ReleaseResources, ManifestAsksForCommonControlsSixAndAdministratorRights) {
  ASSERT_FALSE(manifest_.empty()) << "no manifest resource 1";
  EXPECT_TRUE(std::regex_search(
      manifest_, std::regex("<assemblyIdentity[^>]*name=\"Microsoft\\.Windows\\.Common-Controls\"[^>]*"
                            "version=\"6\\.0\\.0\\.0\"[^>]*processorArchitecture=\"X86\"[^>]*"
                            "publicKeyToken=\"6595b64144ccf1df\"")));
  // The manifest is made per build: the shipped exe is an x86 one.
  EXPECT_TRUE(std::regex_search(
      manifest_, std::regex("<assemblyIdentity[^>]*name=\"Hushgate\\.Hushgate\"[^>]*"
                            "processorArchitecture=\"X86\"")));
  EXPECT_TRUE(std::regex_search(
      manifest_, std::regex("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>")));
}

TEST_F(ReleaseResources, ManifestKeepsToWhatXpsLoaderAccepts) {
  // Without the asm.v2 namespace on trustInfo, XP refuses to start the program.
  EXPECT_NE(std::string::npos, manifest_.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"));
  // A namespace declared twice on one element makes some XP versions restart.
  static const std::regex tag("<[^>]*>");
  for (auto it = std::sregex_iterator(manifest_.begin(), manifest_.end(), tag);
       it != std::sregex_iterator(); ++it) {
    const std::string text = it->str();
    size_t declarations = 0;
    for (size_t at = text.find("xmlns"); at != std::string::npos; at = text.find("xmlns", at + 1))
      ++declarations;
    EXPECT_LE(declarations, 1u) << text;
  }
}

TEST_F(ReleaseResources, VersionRecordNamesTheProductAndVersion) {
  ASSERT_FALSE(version_.empty()) << "no version record 1";
  EXPECT_EQ(1, std::count(version_.begin(), version_.end(), " FILEVERSION 3, 61, 0, 0"));
  // Its fixed part, once, right after the record's key: 52 bytes of value,
  // "VS_VERSION_INFO" in UTF-16, padding; then the signature, struct version
  // 1.0 (windres takes 0 too) and file version 3.61.0.0.
  std::ifstream in(HUSHGATE_EXE, std::ios::binary);
  const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string record("\x34\x00\x00\x00", 4);
  for (char c : std::string("VS_VERSION_INFO", 16)) record += std::string{c, '\0'};
  record += std::string("\0\0\xBD\x04\xEF\xFE\x00\x00\x01\x00\x3D\x00\x03\x00\x00\x00\x00\x00", 18);
  EXPECT_NE(std::string::npos, file.find(record));
  EXPECT_EQ(file.rfind(record), file.find(record));
  // Each language's block says the same.
  EXPECT_EQ(std::vector<std::string>(2, "Hushgate"), Values("ProductName"));
  EXPECT_EQ(std::vector<std::string>(2, "3.61"), Values("ProductVersion"));
  EXPECT_EQ(std::vector<std::string>(2, "3.61"), Values("FileVersion"));
  EXPECT_EQ(2u, Values("FileDescription").size());
  for (const std::string& line : version_) EXPECT_EQ(std::string::npos, line.find("CompanyName"));
}

}  // namespace
