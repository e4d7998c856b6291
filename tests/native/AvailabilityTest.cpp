// The catalogue read as data, and which settings and categories each kind of
// system offers.

#include <iterator>
#include <map>
#include <set>
#include <string>

#include "engine/Availability.h"
#include "engine/SettingCatalogue.h"
#include "common/FullFakeSystem.h"
#include "common/PolicyValueRows.h"
#include "native/FakeSystemTest.h"
#include "res/resource.h"
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
  // After these, 31-62 in their order (the tree's order test checks it).
  ASSERT_EQ(std::size(kExpected) + std::size(kPolicyValueRows), AllSettings().count);
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
  const CategoryEntry expected[] = {
      {0, 1, 600, A::kMediaPlayer8Or9}, {1, 5, 601, A::kWindowsXp},
      {2, 34, 602, A::kAlways},         {3, 9, 603, A::kInternetExplorer6To8},
      {4, 15, 604, A::kAlways},         {5, 19, 605, A::kAlways},
      {6, 23, 606, A::kAlways},         {7, 31, 607, A::kWindowsXp}};
  ASSERT_EQ(8u, AllCategories().count);
  for (size_t i = 0; i < 8; ++i) {
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
  // All but the settings of Internet Explorer 7 and 8 (55-62).
  EXPECT_EQ(52u, Offered().size());
  EXPECT_EQ(8u, Shown().size());
}

TEST_F(AvailabilityTest, BandwidthNeedsBothXpAndThePacketScheduler) {
  EXPECT_EQ(0u, Offered().count(26));
  Registry().PutNumber(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\PSched\\Enum",
                       "Count", 1);
  EXPECT_EQ(1u, Offered().count(26));
  Machine().minorVersion = 2;
  EXPECT_EQ(0u, Offered().count(26));
}

// Each Internet Explorer version is offered its own settings, under its own
// name, and others none; Media Player 9 its own (hostile texts: the fuzzer).
TEST_F(AvailabilityTest, PlayerAndExplorerVersionsOfferTheirOwnSettings) {
  const std::map<std::string, std::set<SettingId>> offered = {
      {"6.0000", {6, 7, 8, 29}}, {"7.0000", {55, 60, 61, 62}},
      {"8.00.6001.18702", {56, 57, 58, 59, 60, 61, 62}}, {"9.0000", {}}};
  for (const auto& [version, ids] : offered) {
    Registry().PutString(HKEY_LOCAL_MACHINE, kVersionVector, "IE", version);
    std::set<SettingId> explorer;
    for (SettingId id : Offered())
      if (FindSetting(id)->category == 3) explorer.insert(id);
    EXPECT_EQ(ids, explorer) << version;
    EXPECT_EQ(!ids.empty(), Shown().count(3) == 1) << version;
    const CategoryTexts texts = CategoryTextsOf(system_, *FindCategory(3));
    const bool six = version[0] == '6';
    EXPECT_EQ(six ? 9 : IDS_IE_CATEGORY, texts.labelId);
    EXPECT_EQ(six ? 603 : IDS_IE_CATEGORY_DESCRIPTION, texts.descriptionId);
  }
  // Media Player 9 and later: installed, and a version of 9 or more.
  Registry().PutString(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "Version", "9,00,00,2980");
  EXPECT_EQ(0u, Offered().count(50)) << "without its installed mark";
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "IsInstalled", 1);
  EXPECT_EQ(1u, Offered().count(50));
  EXPECT_EQ(1u, Shown().count(0)) << "the category is shown for either Player";
  Registry().PutString(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "Version", "8,100,0,4558");
  EXPECT_EQ(0u, Offered().count(50));
}

TEST_F(AvailabilityTest, ConditionsAreEvaluatedAfreshAtEveryCall) {
  EXPECT_EQ(0u, Offered().count(10));
  Machine().services.Add("wuauserv");
  EXPECT_EQ(1u, Offered().count(10));
}

}  // namespace
