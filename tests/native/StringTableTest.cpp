// The built exe carries every German text of the string table exactly: read
// back as windres decompiles its resources, converted to Windows-1252 and
// compared with the texts the program must show, which german-texts.txt
// holds.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "native/ExeByBinutils.h"

namespace {

// The texts the program must show, by number, from the file beside this test.
std::map<unsigned, std::string> ExpectedTexts() {
  std::ifstream in(GERMAN_TEXTS);
  std::map<unsigned, std::string> texts;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::string& text = texts[std::stoul(line)];
    for (size_t at = line.find('\t') + 1; at < line.size(); ++at) {
      char c = line[at];
      if (c == '\\' && at + 1 < line.size()) {
        c = line[++at];
        c = c == 'n' ? '\n' : c == 'r' ? '\r' : c;
      }
      text += c;
    }
  }
  return texts;
}

class StringTable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    table_ = exe::Strings(exe::Decompiled(HUSHGATE_EXE), exe::kGerman);
    ASSERT_FALSE(table_.empty()) << "windres could not read " << HUSHGATE_EXE;
    expected_ = ExpectedTexts();
    ASSERT_GT(expected_.size(), 100u) << "cannot read " << GERMAN_TEXTS;
  }
  static std::map<unsigned, std::string> table_, expected_;
};

std::map<unsigned, std::string> StringTable::table_, StringTable::expected_;

TEST_F(StringTable, EveryTextIsInTheExeExactly) {
  for (const auto& [id, text] : expected_) {
    auto found = table_.find(id);
    ASSERT_NE(table_.end(), found) << "string " << id << " is missing";
    EXPECT_EQ(text, found->second) << "string " << id;
  }
}

// Besides these, what each setting costs (700-731, and 1000 plus the number
// for 31-62), which the catalogue's test checks in both languages.
TEST_F(StringTable, HoldsNoOtherTexts) {
  size_t costs = 0;
  for (const auto& entry : table_)
    costs += (entry.first >= 700 && entry.first <= 731) || (entry.first >= 1031 && entry.first <= 1062);
  EXPECT_EQ(60u, costs);
  EXPECT_EQ(expected_.size() + costs, table_.size());
}

TEST_F(StringTable, AboutTextContinuesTheTitleLine) {
  const std::string& about = table_[45];
  ASSERT_GE(about.size(), 3u);
  EXPECT_EQ(" \x96 ", about.substr(0, 3));  // blank, en dash, blank
}

}  // namespace
