// The built exe speaks German and English alike: every German text the user
// sees (string table, menus, dialogs) has its English counterpart with the
// same placeholders, the English windows keep the German layout, and the
// legend icons keep their size. Read as windres decompiles the exe.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "native/RcText.h"

namespace {

// The tags Windows itself picks by: German under the neutral sublanguage,
// English under U.S. English.
constexpr int kGerman = 0x0007;
constexpr int kEnglish = 0x0409;

// printf-style conversions. No flags: "20% der" is a percentage, not "% d".
std::vector<std::string> Placeholders(const std::string& text) {
  static const std::regex conversion("%[0-9.]*(l|ll|h)?[sdiuxXc]");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), conversion);
       it != std::sregex_iterator(); ++it)
    found.push_back(it->str());
  return found;
}

std::string KeyOf(const rc::Resource& resource, const std::string& text) {
  if (resource.type == "STRINGTABLE") return "string " + text;
  return resource.type + " " + std::to_string(resource.name) + " " + text;
}

class ResourceLanguages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    auto resources = rc::ReadDecompiledExe(HUSHGATE_EXE);
    ASSERT_TRUE(resources) << "windres could not read " << HUSHGATE_EXE;
    resources_ = *resources;
  }
  // Every text of the language by where it stands.
  static std::map<std::string, std::string> TextsIn(int language) {
    std::map<std::string, std::string> texts;
    for (const rc::Resource& resource : resources_)
      if (resource.language == language)
        for (const auto& [where, text] : resource.texts) texts[KeyOf(resource, where)] = text;
    return texts;
  }
  static const rc::Resource* Find(const std::string& type, int name, int language) {
    for (const rc::Resource& resource : resources_)
      if (resource.type == type && resource.name == name && resource.language == language)
        return &resource;
    return nullptr;
  }
  static std::vector<rc::Resource> resources_;
};

std::vector<rc::Resource> ResourceLanguages::resources_;

TEST_F(ResourceLanguages, TextsComeInGermanAndEnglishOnly) {
  std::map<int, int> count;
  for (const rc::Resource& resource : resources_) ++count[resource.language];
  EXPECT_EQ((std::map<int, int>{{kGerman, 21}, {kEnglish, 21}}), count)
      << "15 string table blocks, 2 menus and 4 dialogs in each language";
}

TEST_F(ResourceLanguages, EveryGermanTextHasAnEnglishOneWithTheSamePlaceholders) {
  std::map<std::string, std::string> german = TextsIn(kGerman);
  std::map<std::string, std::string> english = TextsIn(kEnglish);
  ASSERT_FALSE(german.empty());
  for (const auto& [where, text] : german) {
    auto translated = english.find(where);
    ASSERT_NE(english.end(), translated) << where << " has no English text";
    EXPECT_EQ(text.empty(), translated->second.empty()) << where;
    EXPECT_EQ(Placeholders(text), Placeholders(translated->second)) << where;
  }
  EXPECT_EQ(german.size(), english.size()) << "English texts without a German one";
}

TEST_F(ResourceLanguages, EnglishDialogsKeepTheGermanLayout) {
  for (int dialog : {202, 205, 211, 213}) {
    const rc::Resource* german = Find("DIALOGEX", dialog, kGerman);
    const rc::Resource* english = Find("DIALOGEX", dialog, kEnglish);
    ASSERT_TRUE(german && english) << "dialog " << dialog;
    ASSERT_EQ(german->controls.size(), english->controls.size()) << "dialog " << dialog;
    for (size_t i = 0; i < german->controls.size(); ++i) {
      const rc::Control& de = german->controls[i];
      const rc::Control& en = english->controls[i];
      EXPECT_EQ(de.statement + " " + de.id + " " + de.className, en.statement + " " + en.id + " " + en.className)
          << "dialog " << dialog << " control " << i;
      EXPECT_EQ(de.place, en.place) << "dialog " << dialog << " control " << i;
    }
  }
}

// windres drops the size of an ICON statement; the legend icons are written
// so that they keep their 20 x 20 dialog units.
TEST_F(ResourceLanguages, LegendIconsKeepTheirSize) {
  for (int language : {kGerman, kEnglish}) {
    for (auto [dialog, icons] : {std::pair<int, size_t>{205, 5}, {211, 2}}) {
      const rc::Resource* resource = Find("DIALOGEX", dialog, language);
      ASSERT_NE(nullptr, resource) << "dialog " << dialog;
      std::vector<std::vector<int>> sizes;
      for (const rc::Control& control : resource->controls)
        if (control.statement == "ICON" || control.className == "STATIC")
          if (!control.text.empty() && std::isdigit(static_cast<unsigned char>(control.text[0])))
            sizes.push_back({control.place.at(2), control.place.at(3)});
      EXPECT_EQ(std::vector<std::vector<int>>(icons, {20, 20}), sizes)
          << "dialog " << dialog << " language " << language;
    }
  }
}

}  // namespace
