// The catalogue's facts that the command line and the tree rely on.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/SettingCatalogue.h"

namespace {

TEST(SettingCatalogue, CommandLineAcceptsExactlyItsNumbers) {
  std::set<SettingId> accepted;
  for (SettingId id = 0; id <= 70; ++id)
    if (IsCommandLineSetting(id)) accepted.insert(id);
  std::set<SettingId> expected = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                  12, 14, 15, 16, 19, 21, 22, 23, 24, 26, 27};
  for (SettingId id = 31; id <= 62; ++id) expected.insert(id);
  EXPECT_EQ(expected, accepted);
}

TEST(SettingCatalogue, NumbersWithoutASettingHaveNoEntry) {
  for (SettingId id : {17u, 18u, 20u, 63u, 4294967295u}) EXPECT_EQ(nullptr, FindSetting(id)) << id;
  EXPECT_EQ(nullptr, FindCategory(8));
  EXPECT_EQ(nullptr, FindCategory(-1));
}

TEST(SettingCatalogue, TreeOrderOfSettings) {
  std::vector<SettingId> order;
  for (const SettingEntry& entry : AllSettings()) order.push_back(entry.id);
  std::vector<SettingId> expected = {1, 2,  3,  4,  5,  19, 21, 16, 0,  22, 23, 24, 26, 27,
                                     28, 7, 6,  8,  29, 9,  10, 11, 12, 25, 13, 14, 15, 30};
  for (SettingId id = 31; id <= 62; ++id) expected.push_back(id);
  EXPECT_EQ(expected, order);
}

}  // namespace
