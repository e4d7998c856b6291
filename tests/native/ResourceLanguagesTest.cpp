// The built exe speaks German and English alike: every German text the user
// sees (string table, menus, dialogs) has its English counterpart with the
// same placeholders, the English windows keep the German layout, and the
// legend icons keep their size. Read line by line as windres decompiles the
// exe: a resource's texts stand in quotes, everything else is its layout.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "native/ExeByBinutils.h"

namespace {

using exe::kEnglish;
using exe::kGerman;
using exe::Resource;
using exe::Texts;

// printf-style conversions. No flags: "20% der" is a percentage, not "% d".
std::vector<std::string> Placeholders(const std::string& text) {
  static const std::regex conversion("%[0-9.]*(l|ll|h)?[sdiuxXc]");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), conversion);
       it != std::sregex_iterator(); ++it)
    found.push_back(it->str());
  return found;
}

class ResourceLanguages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const std::regex texts("\\d+ (MENU|DIALOGEX)\\b.*|STRINGTABLE\\b.*");
    for (const Resource& resource : exe::Decompiled(HUSHGATE_EXE))
      if (std::regex_match(resource.header, texts)) resources_.push_back(resource);
    ASSERT_FALSE(resources_.empty()) << "windres could not read " << HUSHGATE_EXE;
  }
  static const Resource* Find(const std::string& dialog, int language) {
    for (const Resource& resource : resources_)
      if (resource.language == language && resource.header.rfind(dialog + " DIALOGEX", 0) == 0)
        return &resource;
    return nullptr;
  }
  static std::vector<Resource> resources_;
};

std::vector<Resource> ResourceLanguages::resources_;

TEST_F(ResourceLanguages, TextsComeInGermanAndEnglishOnly) {
  std::map<int, int> count;
  for (const Resource& resource : resources_) ++count[resource.language];
  EXPECT_EQ((std::map<int, int>{{kGerman, 37}, {kEnglish, 37}}), count)
      << "31 string table blocks, 2 menus and 4 dialogs in each language";
}

TEST_F(ResourceLanguages, EveryGermanTextHasAnEnglishOneWithTheSamePlaceholders) {
  // In the order windres writes them, which is the same for both.
  std::vector<Resource> german, english;
  for (const Resource& resource : resources_) {
    if (resource.language == kGerman) german.push_back(resource);
    if (resource.language == kEnglish) english.push_back(resource);
  }
  ASSERT_FALSE(german.empty());
  ASSERT_EQ(german.size(), english.size()) << "resources without a counterpart";
  for (size_t r = 0; r < german.size(); ++r) {
    ASSERT_EQ(german[r].header, english[r].header);
    ASSERT_EQ(german[r].lines.size(), english[r].lines.size()) << german[r].header;
    for (size_t i = 0; i < german[r].lines.size(); ++i) {
      std::vector<std::string> de = Texts(german[r].lines[i]);
      std::vector<std::string> en = Texts(english[r].lines[i]);
      ASSERT_EQ(de.size(), en.size()) << german[r].lines[i] << "\n" << english[r].lines[i];
      for (size_t t = 0; t < de.size(); ++t) {
        EXPECT_EQ(de[t].empty(), en[t].empty()) << german[r].lines[i];
        EXPECT_EQ(Placeholders(de[t]), Placeholders(en[t])) << german[r].lines[i];
      }
    }
  }
}

// Statements, ids, classes, places and styles: the lines with their texts
// emptied are the same.
TEST_F(ResourceLanguages, EnglishDialogsKeepTheGermanLayout) {
  for (const char* dialog : {"202", "205", "211", "213"}) {
    const Resource* german = Find(dialog, kGerman);
    const Resource* english = Find(dialog, kEnglish);
    ASSERT_TRUE(german && english) << "dialog " << dialog;
    ASSERT_EQ(german->lines.size(), english->lines.size()) << "dialog " << dialog;
    for (size_t i = 0; i < german->lines.size(); ++i) {
      std::string de, en;
      Texts(german->lines[i], &de);
      Texts(english->lines[i], &en);
      EXPECT_EQ(de, en) << "dialog " << dialog << " line " << i;
    }
  }
}

// windres drops the size of an ICON statement; the legend icons are written
// as static controls with an icon, so that they keep their 20 x 20 units.
TEST_F(ResourceLanguages, LegendIconsKeepTheirSize) {
  static const std::regex icon(
      "\\s*CONTROL \\d+, -?\\d+, \"STATIC\", \\w+, -?\\d+, -?\\d+, (\\d+), (\\d+).*");
  for (int language : {kGerman, kEnglish}) {
    for (auto [dialog, icons] : {std::pair<const char*, size_t>{"205", 6}, {"211", 2}}) {
      const Resource* resource = Find(dialog, language);
      ASSERT_NE(nullptr, resource) << "dialog " << dialog;
      std::vector<std::vector<int>> sizes;
      std::smatch match;
      for (const std::string& line : resource->lines)
        if (std::regex_match(line, match, icon))
          sizes.push_back({std::stoi(match[1]), std::stoi(match[2])});
      EXPECT_EQ(std::vector<std::vector<int>>(icons, {20, 20}), sizes)
          << "dialog " << dialog << " language " << language;
    }
  }
}

}  // namespace
