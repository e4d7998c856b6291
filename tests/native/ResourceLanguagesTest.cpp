// The built exe speaks German and English alike: every German text the user
// sees (string table, menus, dialogs) has its English counterpart with the
// same placeholders, the English windows keep the German layout, and the
// legend icons keep their size. Read line by line as windres decompiles the
// exe: a resource's texts stand in quotes, everything else is its layout.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "native/ExeByBinutils.h"

namespace {

// The tags Windows itself picks by: German under the neutral sublanguage,
// English under U.S. English.
constexpr int kGerman = 0x0007;
constexpr int kEnglish = 0x0409;

struct Resource {
  int language;
  std::string header;  // "243 MENU", "202 DIALOGEX 0, 0, 286, 249", "STRINGTABLE"
  std::vector<std::string> lines;
};

// The menus, dialogs and string tables, each from its first line to the END
// in the first column; windres names a language only where it changes.
std::vector<Resource> TextResources(const std::string& script) {
  static const std::regex language("LANGUAGE (\\d+), (\\d+)");
  static const std::regex header("(\\d+ (MENU|DIALOGEX)|STRINGTABLE)\\b.*");
  std::vector<Resource> resources;
  int current = 0;
  bool inside = false;
  std::istringstream in(script);
  std::smatch match;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_match(line, match, language)) {
      current = std::stoi(match[1]) | std::stoi(match[2]) << 10;
    } else if (!inside && std::regex_match(line, header)) {
      resources.push_back({current, line, {}});
      inside = true;
    } else if (inside) {
      inside = line != "END";
      resources.back().lines.push_back(line);
    }
  }
  return resources;
}

// The quoted texts of a line, and the line with each of them emptied.
std::vector<std::string> Texts(const std::string& line, std::string* layout = nullptr) {
  static const std::regex quoted("L?\"((?:[^\"]|\"\")*)\"");
  std::vector<std::string> texts;
  for (auto it = std::sregex_iterator(line.begin(), line.end(), quoted);
       it != std::sregex_iterator(); ++it)
    texts.push_back((*it)[1]);
  if (layout) *layout = std::regex_replace(line, quoted, "\"\"");
  return texts;
}

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
    std::string script = exe::DecompiledScript(HUSHGATE_EXE);
    ASSERT_FALSE(script.empty()) << "windres could not read " << HUSHGATE_EXE;
    resources_ = TextResources(script);
  }
  // The resources of a language in the order windres writes them, which
  // is the same for both.
  static std::vector<Resource> In(int language) {
    std::vector<Resource> found;
    for (const Resource& resource : resources_)
      if (resource.language == language) found.push_back(resource);
    return found;
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
  EXPECT_EQ((std::map<int, int>{{kGerman, 22}, {kEnglish, 22}}), count)
      << "16 string table blocks, 2 menus and 4 dialogs in each language";
}

TEST_F(ResourceLanguages, EveryGermanTextHasAnEnglishOneWithTheSamePlaceholders) {
  std::vector<Resource> german = In(kGerman);
  std::vector<Resource> english = In(kEnglish);
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
    for (auto [dialog, icons] : {std::pair<const char*, size_t>{"205", 5}, {"211", 2}}) {
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
