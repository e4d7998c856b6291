// The catalogue read as data, and which settings and categories each kind of
// system offers.

#include <set>
#include <string>
#include <vector>

#include "engine/Availability.h"
#include "engine/SettingCatalogue.h"
#include "common/FullFakeSystem.h"
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
    {31, 831, 931, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, false, true, true},
    {32, 832, 932, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {33, 833, 933, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {34, 834, 934, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {35, 835, 935, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {36, 836, 936, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {37, 837, 937, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {38, 838, 938, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {39, 839, 939, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {40, 840, 940, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, false, false, true},
    {41, 841, 941, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, false, false, true},
    {42, 842, 942, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {43, 843, 943, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {44, 844, 944, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {45, 845, 945, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {46, 846, 946, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, false, true, true},
    {47, 847, 947, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {48, 848, 948, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {49, 849, 949, 7, SettingKind::kCheck, A::kWindowsXp, nullptr, true, false, true},
    {50, 850, 950, 0, SettingKind::kCheck, A::kMediaPlayer9, nullptr, true, false, true},
    {51, 851, 951, 0, SettingKind::kCheck, A::kMediaPlayer9, nullptr, true, false, true},
    {52, 852, 952, 0, SettingKind::kCheck, A::kMediaPlayer9, nullptr, true, false, true},
    {53, 853, 953, 0, SettingKind::kCheck, A::kMediaPlayer9, nullptr, true, false, true},
    {54, 854, 954, 0, SettingKind::kCheck, A::kMediaPlayer9, nullptr, false, true, true},
    {55, 855, 955, 3, SettingKind::kCheck, A::kInternetExplorer7, nullptr, false, false, true},
    {56, 856, 956, 3, SettingKind::kCheck, A::kInternetExplorer8, nullptr, false, false, true},
    {57, 857, 957, 3, SettingKind::kCheck, A::kInternetExplorer8, nullptr, true, false, true},
    {58, 858, 958, 3, SettingKind::kCheck, A::kInternetExplorer8, nullptr, false, false, true},
    {59, 859, 959, 3, SettingKind::kCheck, A::kInternetExplorer8, nullptr, true, false, true},
    {60, 860, 960, 3, SettingKind::kCheck, A::kInternetExplorer7Or8, nullptr, true, false, true},
    {61, 861, 961, 3, SettingKind::kCheck, A::kInternetExplorer7Or8, nullptr, true, false, true},
    {62, 862, 962, 3, SettingKind::kCheck, A::kInternetExplorer7Or8, nullptr, true, false, true},
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

// What each Internet Explorer version is offered, read from its version
// text; a value of another type or one that names no version offers none.
struct ExplorerCase {
  const char* label;
  DWORD type;
  std::string text;
  std::set<SettingId> offered;  // of the IE category's settings
  int categoryLabel;            // 0: the category is not shown
};

class ExplorerVersions : public AvailabilityTest,
                         public ::testing::WithParamInterface<ExplorerCase> {};

TEST_P(ExplorerVersions, OfferTheirOwnSettingsUnderTheirOwnName) {
  const ExplorerCase& c = GetParam();
  Registry().PutValue(HKEY_LOCAL_MACHINE, kVersionVector, "IE", c.type,
                      std::vector<BYTE>(c.text.begin(), c.text.end() + 1));
  std::set<SettingId> offered;
  for (SettingId id : Offered())
    if (FindSetting(id)->category == 3) offered.insert(id);
  EXPECT_EQ(c.offered, offered);
  const CategoryEntry& explorer = *FindCategory(3);
  EXPECT_EQ(c.categoryLabel != 0, IsCategoryShown(system_, explorer));
  if (c.categoryLabel) {
    EXPECT_EQ(c.categoryLabel, CategoryTextsOf(system_, explorer).labelId);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, ExplorerVersions,
    ::testing::Values(
        ExplorerCase{"Six", REG_SZ, "6.0000", {6, 7, 8, 29}, 9},
        ExplorerCase{"Seven", REG_SZ, "7.0000", {55, 60, 61, 62}, IDS_IE_CATEGORY},
        ExplorerCase{"Eight", REG_SZ, "8.00.6001.18702", {56, 57, 58, 59, 60, 61, 62},
                     IDS_IE_CATEGORY},
        ExplorerCase{"Nine", REG_SZ, "9.0000", {}, 0},
        ExplorerCase{"EightyIsNoEight", REG_SZ, "80.0000", {}, 0},
        ExplorerCase{"EightAsBinary", REG_BINARY, "8.0000", {}, 0},
        ExplorerCase{"NoDigits", REG_SZ, ".8", {}, 0},
        ExplorerCase{"TooLong", REG_SZ, "8." + std::string(200, '0'), {}, 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(AvailabilityTest, MediaPlayerNineNeedsItsInstalledMarkAndVersion) {
  auto mediaPlayerNine = [&] { return Offered().count(50) == 1; };
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "IsInstalled", 1);
  Registry().PutString(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "Version", "9,00,00,2980");
  EXPECT_TRUE(mediaPlayerNine());
  EXPECT_EQ(1u, Shown().count(0)) << "the category is shown for either Media Player";
  EXPECT_EQ(0u, Offered().count(1)) << "8's settings need 8's own entry";
  for (const char* version : {"8,100,0,4558", "", "ten", "10"}) {
    Registry().PutString(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "Version", version);
    EXPECT_EQ(std::string(version) == "10", mediaPlayerNine()) << version;
  }
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "IsInstalled", 0);
  EXPECT_FALSE(mediaPlayerNine());
  Registry().PutString(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "IsInstalled", "1");
  EXPECT_FALSE(mediaPlayerNine());
  EXPECT_EQ(0u, Shown().count(0));
}

TEST_F(AvailabilityTest, ConditionsAreEvaluatedAfreshAtEveryCall) {
  EXPECT_EQ(0u, Offered().count(10));
  Machine().services.Add("wuauserv");
  EXPECT_EQ(1u, Offered().count(10));
}

}  // namespace
