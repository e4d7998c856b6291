// The manifest and the version record, read back from the built exe: Wine
// ignores manifests, so only the file itself can show what XP will see.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "native/ExeByBinutils.h"

namespace {

constexpr uint32_t kManifestResource = 24;
constexpr uint32_t kVersionResource = 16;

exe::Exe ReadShippedExe() {
  std::string error;
  auto image = exe::ReadExe(HUSHGATE_EXE, "", error);
  EXPECT_TRUE(image) << error;
  return image ? *image : exe::Exe();
}

const exe::Resource* Find(const exe::Exe& image, uint32_t type, uint32_t id) {
  for (const exe::Resource& resource : image.resources)
    if (resource.type == type && resource.id == id) return &resource;
  return nullptr;
}

std::string Manifest() {
  exe::Exe image = ReadShippedExe();
  const exe::Resource* manifest = Find(image, kManifestResource, 1);
  return manifest ? std::string(manifest->data.begin(), manifest->data.end()) : "";
}

TEST(ReleaseResources, ManifestAsksForCommonControlsSixAndAdministratorRights) {
  std::string manifest = Manifest();
  ASSERT_FALSE(manifest.empty()) << "no manifest resource 1";
  EXPECT_TRUE(std::regex_search(
      manifest, std::regex("<assemblyIdentity[^>]*name=\"Microsoft\\.Windows\\.Common-Controls\"[^>]*"
                           "version=\"6\\.0\\.0\\.0\"[^>]*publicKeyToken=\"6595b64144ccf1df\"")));
  EXPECT_TRUE(std::regex_search(
      manifest, std::regex("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>")));
}

TEST(ReleaseResources, ManifestKeepsToWhatXpsLoaderAccepts) {
  std::string manifest = Manifest();
  // Without the asm.v2 namespace on trustInfo, XP refuses to start the program.
  EXPECT_NE(std::string::npos, manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"));
  // A namespace declared twice on one element makes some XP versions restart.
  std::smatch tag;
  std::string rest = manifest;
  while (std::regex_search(rest, tag, std::regex("<[^>]*>"))) {
    std::string text = tag.str();
    size_t declarations = 0;
    for (size_t at = text.find("xmlns"); at != std::string::npos; at = text.find("xmlns", at + 1))
      ++declarations;
    EXPECT_LE(declarations, 1u) << text;
    rest = tag.suffix();
  }
}

std::string Utf16(const std::string& ascii) {
  std::string wide;
  for (char c : ascii) wide += std::string{c, '\0'};
  return wide;
}

// The text value that follows a key of the version record, past the zero
// padding that aligns it.
std::string ValueOf(const std::string& data, const std::string& key) {
  size_t at = data.find(Utf16(key) + std::string(2, '\0'));
  if (at == std::string::npos) return "<missing>";
  at += 2 * key.size() + 2;
  while (at + 1 < data.size() && data[at] == '\0' && data[at + 1] == '\0') at += 2;
  std::string value;
  for (; at + 1 < data.size() && (data[at] || data[at + 1]); at += 2) value += data[at];
  return value;
}

TEST(ReleaseResources, VersionRecordNamesTheProductAndVersion) {
  exe::Exe image = ReadShippedExe();
  const exe::Resource* version = Find(image, kVersionResource, 1);
  ASSERT_NE(nullptr, version);
  std::string data(version->data.begin(), version->data.end());
  // VS_FIXEDFILEINFO: signature, struct version, then file version 3.61.0.0.
  const std::string fixedInfo("\xBD\x04\xEF\xFE\x00\x00\x01\x00\x3D\x00\x03\x00\x00\x00\x00\x00", 16);
  EXPECT_NE(std::string::npos, data.find(fixedInfo));
  EXPECT_EQ("Hushgate", ValueOf(data, "ProductName"));
  EXPECT_EQ("3.61", ValueOf(data, "ProductVersion"));
  EXPECT_EQ("3.61", ValueOf(data, "FileVersion"));
  EXPECT_NE("<missing>", ValueOf(data, "FileDescription"));
  EXPECT_EQ(std::string::npos, data.find(Utf16("CompanyName")));
}

}  // namespace
