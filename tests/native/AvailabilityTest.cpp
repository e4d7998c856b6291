// The catalogue read as data, and which settings and categories each kind of
// system offers.

#include <set>

#include "engine/Availability.h"
#include "engine/SettingCatalogue.h"
#include "common/FullFakeSystem.h"
#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

using A = Availability;

struct Row {
  SettingId id;
  int label;
  int description;
  SettingCategory category;
  SettingKind kind;
  Availability offeredWhen;
  const char* service;
  bool recommended, expertOnly, commandLine;
};

// The published table, row by row in tree order.
const Row kExpected[] = {
    {1, 2, 501, 0, SettingKind::kCheck, A::kMediaPlayer8, nullptr, true, false, true},
    {2, 3, 502, 0, SettingKind::kCheck, A::kMediaPlayer8, nullptr, true, false, true},
    {3, 4, 503, 0, SettingKind::kCheck, A::kMediaPlayer8, nullptr, true, false, true},
    {4, 6, 504, 1, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {5, 7, 505, 1, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {19, 8, 519, 2, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {21, 12, 521, 2, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {16, 22, 516, 2, SettingKind::kCheck, A::kSupportAccount, nullptr, false, false, true},
    {0, 27, 500, 2, SettingKind::kCheck, A::kAlways, nullptr, true, true, true},
    {22, 28, 522, 2, SettingKind::kCheck, A::kWindowsXp, nullptr, false, false, true},
    {23, 29, 523, 2, SettingKind::kCheck, A::kAlways, nullptr, false, false, true},
    {24, 30, 524, 2, SettingKind::kCheck, A::kAlways, nullptr, false, false, true},
    {26, 36, 526, 2, SettingKind::kCheck, A::kWindowsXpWithQos, nullptr, false, false, true},
    {27, 37, 527, 2, SettingKind::kCheck, A::kOfficeXp, nullptr, false, false, true},
    {28, 41, 528, 2, SettingKind::kCheck, A::kAlways, nullptr, false, false, false},
    {7, 11, 507, 3, SettingKind::kCheck, A::kInternetExplorer6, nullptr, true, false, true},
    {6, 10, 506, 3, SettingKind::kCheck, A::kInternetExplorer6, nullptr, true, false, true},
    {8, 13, 508, 3, SettingKind::kCheck, A::kInternetExplorer6, nullptr, true, false, true},
    {29, 43, 530, 3, SettingKind::kCheck, A::kInternetExplorer6, nullptr, false, false, false},
    {9, 16, 509, 4, SettingKind::kCheck, A::kService, "ERSvc", true, false, true},
    {10, 17, 510, 4, SettingKind::kCheck, A::kService, "wuauserv", true, false, true},
    {11, 18, 511, 4, SettingKind::kCheck, A::kService, "W32Time", true, false, true},
    {12, 26, 512, 4, SettingKind::kCheck, A::kService, "Schedule", true, true, true},
    {25, 42, 529, 4, SettingKind::kCheck, A::kService, "upnphost", true, false, false},
    {13, 35, 513, 5, SettingKind::kRadio, A::kAlways, nullptr, false, false, false},
    {14, 20, 514, 5, SettingKind::kRadio, A::kAlways, nullptr, false, false, true},
    {15, 21, 515, 5, SettingKind::kRadio, A::kAlways, nullptr, false, false, true},
    {30, 44, 531, 6, SettingKind::kCheck, A::kWindowsXp, nullptr, false, false, false},
};

TEST(SettingCatalogueRows, MatchThePublishedTableInTreeOrder) {
  ASSERT_EQ(sizeof kExpected / sizeof kExpected[0], AllSettings().count);
  const SettingEntry* entry = AllSettings().begin();
  for (const Row& row : kExpected) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(row.id, entry->id);
    EXPECT_EQ(row.label, entry->labelId);
    EXPECT_EQ(row.description, entry->descriptionId);
    EXPECT_EQ(row.category, entry->category);
    EXPECT_EQ(row.kind, entry->kind);
    EXPECT_EQ(row.offeredWhen, entry->offeredWhen);
    EXPECT_STREQ(row.service, entry->serviceName);
    EXPECT_EQ(row.recommended, entry->recommended);
    EXPECT_EQ(row.expertOnly, entry->expertOnly);
    EXPECT_EQ(row.commandLine, entry->commandLine);
    ++entry;
  }
}

TEST(SettingCatalogueRows, CategoriesInTreeOrder) {
  const CategoryEntry expected[] = {{0, 1, 600, A::kMediaPlayer8}, {1, 5, 601, A::kWindowsXp},
                                    {2, 34, 602, A::kAlways},      {3, 9, 603, A::kInternetExplorer6},
                                    {4, 15, 604, A::kAlways},      {5, 19, 605, A::kAlways},
                                    {6, 23, 606, A::kAlways}};
  ASSERT_EQ(7u, AllCategories().count);
  for (size_t i = 0; i < 7; ++i) {
    const CategoryEntry& entry = AllCategories().begin()[i];
    EXPECT_EQ(expected[i].category, entry.category);
    EXPECT_EQ(expected[i].labelId, entry.labelId);
    EXPECT_EQ(expected[i].descriptionId, entry.descriptionId);
    EXPECT_EQ(expected[i].shownWhen, entry.shownWhen);
  }
}

class AvailabilityTest : public FakeSystemTest {
 protected:
  std::set<SettingId> Offered() {
    std::set<SettingId> ids;
    for (const SettingEntry& entry : AllSettings())
      if (IsSettingOffered(system_, entry)) ids.insert(entry.id);
    return ids;
  }
  std::set<SettingCategory> Shown() {
    std::set<SettingCategory> categories;
    for (const CategoryEntry& entry : AllCategories())
      if (IsCategoryShown(system_, entry)) categories.insert(entry.category);
    return categories;
  }
  SystemAccess system_;
};

TEST_F(AvailabilityTest, BareOlderSystemOffersOnlyWhatNeedsNothing) {
  Machine().minorVersion = 0;
  EXPECT_EQ((std::set<SettingId>{0, 23, 24, 28, 13, 14, 15}), Offered());
  EXPECT_EQ((std::set<SettingCategory>{2, 4, 5, 6}), Shown());
}

TEST_F(AvailabilityTest, FullXpSystemOffersEverything) {
  MakeFullFakeSystem();
  EXPECT_EQ(28u, Offered().size());
  EXPECT_EQ(7u, Shown().size());
}

TEST_F(AvailabilityTest, BandwidthNeedsBothXpAndThePacketScheduler) {
  EXPECT_EQ(0u, Offered().count(26));
  Registry().PutNumber(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\PSched\\Enum",
                       "Count", 1);
  EXPECT_EQ(1u, Offered().count(26));
  Machine().minorVersion = 2;
  EXPECT_EQ(0u, Offered().count(26));
}

TEST_F(AvailabilityTest, ConditionsAreEvaluatedAfreshAtEveryCall) {
  EXPECT_EQ(0u, Offered().count(10));
  Machine().services.Add("wuauserv");
  EXPECT_EQ(1u, Offered().count(10));
}

}  // namespace
