// The time-server dialog's registry work against the fake: reading the list
// and the current server, and the writes of applying one, with exact types,
// sizes and bytes.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "native/FakeSystemTest.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "engine/TimeServerPlan.h"
#include "res/resource.h"
#include "timeserver/TimeServerRegistry.h"

namespace {

const char kTimeService[] = "SYSTEM\\CurrentControlSet\\Services\\W32Time";
const char kTimeParameters[] = "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
const HWND kOwner = reinterpret_cast<HWND>(0x4321);

using Entries = std::vector<std::pair<std::string, std::string>>;  // number, host

fake::FakeRegistry& Registry() { return fake::Machine().registry; }

// Puts REG_SZ values below kServers in the order given: the fake enumerates
// them in that order.
void PutServers(const Entries& values) {
  Registry().AddKey(HKEY_LOCAL_MACHINE, kServers);
  for (const auto& [name, text] : values)
    Registry().PutString(HKEY_LOCAL_MACHINE, kServers, name, text);
}

void PutTimeServiceKeys() {
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kTimeService, "Start", 4);
  Registry().PutString(HKEY_LOCAL_MACHINE, kTimeParameters, "Type", "NoSync");
}

void PutUsualLayout() {
  PutServers({{"", "1"}, {"1", "time.example.org"}, {"2", "ntp.example.net"}});
  PutTimeServiceKeys();
}

Entries Listed(const TimeServerList& list) {
  Entries entries;
  for (const TimeServer& server : list.servers)
    entries.emplace_back(std::to_string(server.number), server.host);
  return entries;
}

// A REG_SZ value as written: the text, its zero, zero bytes up to size.
std::string WrittenText(const std::string& text, size_t size) {
  std::vector<BYTE> bytes(size, 0);
  std::copy(text.begin(), text.end(), bytes.begin());
  return DescribeValue(REG_SZ, bytes);
}

const char kStartAutomatic[] = "type 4: 02 00 00 00";

class TimeServerRegistry : public FakeSystemTest {};

struct ReadCase {
  const char* label;
  std::function<void()> arrange;
  Entries listed;
  int current;
};

class TimeServerReadCases : public TimeServerRegistry,
                            public ::testing::WithParamInterface<ReadCase> {};

TEST_P(TimeServerReadCases, ListsAndSelects) {
  GetParam().arrange();
  TimeServerList list = ReadTimeServers();
  EXPECT_EQ(GetParam().listed, Listed(list));
  EXPECT_EQ(GetParam().current, list.current);
}

const Entries kUsualList = {{"1", "a"}, {"2", "b"}};

std::function<void()> UsualWithCurrent(const std::string& current) {
  return [current] { PutServers({{"", current}, {"1", "a"}, {"2", "b"}}); };
}

INSTANTIATE_TEST_SUITE_P(
    TimeServerReads, TimeServerReadCases,
    ::testing::Values(
        ReadCase{"CurrentFirst", UsualWithCurrent("1"), kUsualList, 0},
        ReadCase{"CurrentSecond", UsualWithCurrent("2"), kUsualList, 1},
        ReadCase{"CurrentZero", UsualWithCurrent("0"), kUsualList, -1},
        ReadCase{"CurrentNotANumber", UsualWithCurrent("abc"), kUsualList, -1},
        ReadCase{"CurrentNoServerHas", UsualWithCurrent("99"), kUsualList, -1},
        ReadCase{"CurrentNegative", UsualWithCurrent("-1"), kUsualList, -1},
        ReadCase{"CurrentEmpty", UsualWithCurrent(""), kUsualList, -1},
        ReadCase{"CurrentWithTrailingText", UsualWithCurrent("2abc"), kUsualList, 1},
        ReadCase{"CurrentWithBlanksAndSign", UsualWithCurrent(" \t+2"), kUsualList, 1},
        ReadCase{"CurrentTooLargeDoesNotWrap", UsualWithCurrent("4294967297"), kUsualList, -1},
        ReadCase{"CurrentHuge", UsualWithCurrent("99999999999999999999999"), kUsualList, -1},
        ReadCase{"CurrentMissing", [] { PutServers({{"1", "a"}, {"2", "b"}}); }, kUsualList, -1},
        ReadCase{"ReorderedEnumeration",
                 [] { PutServers({{"2", "b"}, {"", "1"}, {"1", "a"}}); }, kUsualList, 0},
        ReadCase{"ReorderedEnumerationSecond",
                 [] { PutServers({{"2", "b"}, {"", "2"}, {"1", "a"}}); }, kUsualList, 1},
        ReadCase{"GapsAndOddNames",
                 [] {
                   PutServers({{"3", "c"}, {"x", "x"}, {"01", "z"}, {"0", "o"}, {"", "3"},
                               {"1", "a"}, {"-2", "m"}, {"+4", "p"}, {" 5", "s"}});
                 },
                 Entries{{"1", "a"}, {"3", "c"}}, 1},
        ReadCase{"SortedByNumberNotByName",
                 [] { PutServers({{"10", "ten"}, {"9", "nine"}, {"", "10"}}); },
                 Entries{{"9", "nine"}, {"10", "ten"}}, 1},
        ReadCase{"NineDigitsAtMost",
                 [] {
                   PutServers(
                       {{"123456789", "nine"}, {"1234567890", "ten"}, {"", "123456789"}});
                 },
                 Entries{{"123456789", "nine"}}, 0},
        ReadCase{"CurrentWithoutTerminatingZero",
                 [] {
                   PutServers({{"1", "a"}, {"2", "b"}});
                   Registry().PutValue(HKEY_LOCAL_MACHINE, kServers, "", REG_SZ, {'2'});
                 },
                 kUsualList, 1},
        ReadCase{"HostEndsAtItsFirstZero",
                 [] {
                   PutServers({{"", "1"}});
                   Registry().PutValue(HKEY_LOCAL_MACHINE, kServers, "1", REG_SZ,
                                       {'a', 0, 'b', 0});
                 },
                 Entries{{"1", "a"}}, 0},
        ReadCase{"EmptyHost",
                 [] { Registry().PutValue(HKEY_LOCAL_MACHINE, kServers, "1", REG_SZ, {}); },
                 Entries{{"1", ""}}, -1},
        ReadCase{"NameTooLongIsSkipped",
                 [] { PutServers({{std::string(256, 'n'), "long"}, {"", "1"}, {"1", "a"}}); },
                 Entries{{"1", "a"}}, 0},
        ReadCase{"EmptyKey", [] { PutServers({}); }, Entries{}, -1},
        ReadCase{"MissingKey", [] {}, Entries{}, -1},
        ReadCase{"UnreadableKey",
                 [] {
                   PutServers({{"", "1"}, {"1", "a"}});
                   Registry().SetAccess(HKEY_LOCAL_MACHINE, kServers, false, true);
                 },
                 Entries{}, -1}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(TimeServerRegistry, HostOf128BytesWithoutZeroIsListedWhole) {
  const std::string host(128, 'h');
  PutServers({{"", "1"}});
  Registry().PutValue(HKEY_LOCAL_MACHINE, kServers, "1", REG_SZ,
                      std::vector<BYTE>(host.begin(), host.end()));
  TimeServerList list = ReadTimeServers();
  ASSERT_EQ(1u, list.servers.size());
  EXPECT_EQ(host, list.servers[0].host);
  EXPECT_EQ(0, list.current);
}

TEST_F(TimeServerRegistry, LargeDataIsReadWholeAndLaterValuesStillRead) {
  const std::string withoutZero(300, 'w');
  const std::string withZero(299, 'z');
  Registry().AddKey(HKEY_LOCAL_MACHINE, kServers);
  Registry().PutValue(HKEY_LOCAL_MACHINE, kServers, "1", REG_SZ,
                      std::vector<BYTE>(withoutZero.begin(), withoutZero.end()));
  Registry().PutString(HKEY_LOCAL_MACHINE, kServers, "3", withZero);
  Registry().PutString(HKEY_LOCAL_MACHINE, kServers, "", "2");
  Registry().PutString(HKEY_LOCAL_MACHINE, kServers, "2", "b");
  TimeServerList list = ReadTimeServers();
  EXPECT_EQ((Entries{{"1", withoutZero}, {"2", "b"}, {"3", withZero}}), Listed(list));
  EXPECT_EQ(1, list.current);
}

TEST_F(TimeServerRegistry, NextNumberFollowsTheHighest) {
  EXPECT_EQ(1, NextServerNumber({}));
  EXPECT_EQ(3, NextServerNumber({{1, "a"}, {2, "b"}}));
  EXPECT_EQ(8, NextServerNumber({{7, "a"}, {2, "b"}}));
  PutServers({{"1", "a"}, {"x", "x"}, {"01", "z"}, {"0", "o"}, {"3", "c"}});
  EXPECT_EQ(4, NextServerNumber(ReadTimeServers().servers));
}

TEST_F(TimeServerRegistry, ApplyingAnAddedThirdServerWritesExactValues) {
  PutUsualLayout();
  TimeServerList list = ReadTimeServers();
  TimeServer added{NextServerNumber(list.servers), "pool.example.com"};
  ASSERT_EQ(3, added.number);
  ApplyTimeServer(added);

  EXPECT_EQ(WrittenText("3", 128), Describe(HKEY_LOCAL_MACHINE, kServers, ""));
  EXPECT_EQ(WrittenText("pool.example.com", 128), Describe(HKEY_LOCAL_MACHINE, kServers, "3"));
  EXPECT_EQ(WrittenText("pool.example.com,0x1", 128),
            Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer"));
  EXPECT_EQ(WrittenText("NTP", 128), Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "Type"));
  EXPECT_EQ(kStartAutomatic, Describe(HKEY_LOCAL_MACHINE, kTimeService, "Start"));
  // The others are left as they were.
  EXPECT_EQ(DescribeValue(REG_SZ, {'t', 'i', 'm', 'e', '.', 'e', 'x', 'a', 'm', 'p', 'l', 'e', '.',
                                   'o', 'r', 'g', 0}),
            Describe(HKEY_LOCAL_MACHINE, kServers, "1"));

  TimeServerList reread = ReadTimeServers();
  EXPECT_EQ((Entries{{"1", "time.example.org"}, {"2", "ntp.example.net"},
                     {"3", "pool.example.com"}}),
            Listed(reread));
  EXPECT_EQ(2, reread.current);
}

TEST_F(TimeServerRegistry, WrittenTextsHaveExactBytes) {
  PutUsualLayout();
  ApplyTimeServer({1, "a"});
  // Spelled out once so the helper above is itself checked.
  std::string zeros;
  for (int i = 0; i < 126; ++i) zeros += " 00";
  EXPECT_EQ("type 1: 31 00" + zeros, Describe(HKEY_LOCAL_MACHINE, kServers, ""));
  EXPECT_EQ("type 1: 61 00" + zeros, Describe(HKEY_LOCAL_MACHINE, kServers, "1"));
}

TEST_F(TimeServerRegistry, ReorderedEnumerationAppliesEachNameUnderItsOwnNumber) {
  PutServers({{"2", "second.example"}, {"", "1"}, {"1", "first.example"}});
  PutTimeServiceKeys();
  TimeServerList list = ReadTimeServers();
  ASSERT_EQ(2u, list.servers.size());
  const TimeServer& second = list.servers[1];
  ASSERT_EQ(2, second.number);
  ASSERT_EQ("second.example", second.host);
  ApplyTimeServer(second);

  EXPECT_EQ(WrittenText("2", 128), Describe(HKEY_LOCAL_MACHINE, kServers, ""));
  EXPECT_EQ(WrittenText("second.example", 128), Describe(HKEY_LOCAL_MACHINE, kServers, "2"));
  EXPECT_EQ(DescribeValue(REG_SZ, {'f', 'i', 'r', 's', 't', '.', 'e', 'x', 'a', 'm', 'p', 'l', 'e',
                                   0}),
            Describe(HKEY_LOCAL_MACHINE, kServers, "1"));
  EXPECT_EQ(WrittenText("second.example,0x1", 128),
            Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer"));
  EXPECT_EQ((Entries{{"1", "first.example"}, {"2", "second.example"}}), Listed(ReadTimeServers()));
  EXPECT_EQ(1, ReadTimeServers().current);
}

TEST_F(TimeServerRegistry, LongHostIsWrittenWhole) {
  PutUsualLayout();
  const std::string host(200, 'h');
  ApplyTimeServer({2, host});
  auto ntpServer = Registry().GetValue(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer");
  ASSERT_TRUE(ntpServer);
  EXPECT_EQ(205u, ntpServer->bytes.size());
  EXPECT_EQ(WrittenText(host + ",0x1", 205),
            Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer"));
  EXPECT_EQ(WrittenText(host, 201), Describe(HKEY_LOCAL_MACHINE, kServers, "2"));
}

TEST_F(TimeServerRegistry, HostOf127CharactersFillsTheBufferExactly) {
  PutUsualLayout();
  const std::string host(127, 'h');
  ApplyTimeServer({2, host});
  EXPECT_EQ(WrittenText(host, 128), Describe(HKEY_LOCAL_MACHINE, kServers, "2"));
  EXPECT_EQ(WrittenText(host + ",0x1", 132),
            Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer"));
}

TEST_F(TimeServerRegistry, MissingServersKeyStillWritesTheTimeService) {
  PutTimeServiceKeys();
  TimeServerList list = ReadTimeServers();
  EXPECT_TRUE(list.servers.empty());
  EXPECT_EQ(-1, list.current);
  ApplyTimeServer({NextServerNumber(list.servers), "a"});
  EXPECT_FALSE(Registry().HasKey(HKEY_LOCAL_MACHINE, kServers));
  EXPECT_EQ(WrittenText("a,0x1", 128), Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer"));
  EXPECT_EQ(WrittenText("NTP", 128), Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "Type"));
  EXPECT_EQ(kStartAutomatic, Describe(HKEY_LOCAL_MACHINE, kTimeService, "Start"));
}

TEST_F(TimeServerRegistry, MissingParametersKeyIsNotCreated) {
  PutServers({{"", "1"}, {"1", "a"}});
  Registry().PutNumber(HKEY_LOCAL_MACHINE, kTimeService, "Start", 4);
  ApplyTimeServer({1, "a"});
  EXPECT_FALSE(Registry().HasKey(HKEY_LOCAL_MACHINE, kTimeParameters));
  EXPECT_EQ(WrittenText("1", 128), Describe(HKEY_LOCAL_MACHINE, kServers, ""));
  EXPECT_EQ(WrittenText("a", 128), Describe(HKEY_LOCAL_MACHINE, kServers, "1"));
  EXPECT_EQ(kStartAutomatic, Describe(HKEY_LOCAL_MACHINE, kTimeService, "Start"));
}

TEST_F(TimeServerRegistry, MissingTimeServiceWritesOnlyTheServers) {
  PutServers({{"", "1"}, {"1", "a"}});
  ApplyTimeServer({1, "b"});
  EXPECT_FALSE(Registry().HasKey(HKEY_LOCAL_MACHINE, kTimeService));
  EXPECT_EQ(WrittenText("b", 128), Describe(HKEY_LOCAL_MACHINE, kServers, "1"));
}

// What the dialog writes is what the backup captures: one list for both.
TEST_F(TimeServerRegistry, WritesExactlyTheLocationsTheBackupTakes) {
  PutUsualLayout();
  const size_t before = Registry().Changes().size();
  ASSERT_TRUE(ApplyTimeServer({3, "pool.example.com"}));
  std::vector<std::string> written(Registry().Changes().begin() + before, Registry().Changes().end());
  std::vector<std::string> listed;
  for (const BackupLocation& location : TimeServerLocations(3))
    listed.push_back("set HKEY_LOCAL_MACHINE\\" + location.path + "\\" +
                     (location.name.empty() ? "(default)" : location.name));
  EXPECT_EQ(listed, written);
}

TEST_F(TimeServerRegistry, ReadOnlyKeyIsSkippedAndTheOthersWritten) {
  PutUsualLayout();
  Registry().SetAccess(HKEY_LOCAL_MACHINE, kTimeParameters, true, false);
  Machine().messageBoxAnswers = {IDYES};
  // A change that was not made whole is no success, here or in the log.
  EXPECT_FALSE(ConfirmAndApplyTimeServer(kOwner, {2, "ntp.example.net"}));
  ASSERT_EQ(1u, Machine().events.size());
  EXPECT_EQ(WORD(EVENTLOG_ERROR_TYPE), Machine().events[0].type);
  EXPECT_EQ("missing", Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer"));
  EXPECT_EQ(DescribeValue(REG_SZ, {'N', 'o', 'S', 'y', 'n', 'c', 0}),
            Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "Type"));
  EXPECT_EQ(WrittenText("2", 128), Describe(HKEY_LOCAL_MACHINE, kServers, ""));
  EXPECT_EQ(kStartAutomatic, Describe(HKEY_LOCAL_MACHINE, kTimeService, "Start"));
}

const char kQuestion[] =
    "Das Festlegen des Timeservers bedeutet, das der Windows\n"
    "Zeitgeber-Service und die Internet Zeit Synchronisation\n"
    "reaktiviert werden, m\xF6"
    "chtest Du das?";

class TimeServerRefusedAnswers : public TimeServerRegistry,
                                 public ::testing::WithParamInterface<int> {};

TEST_P(TimeServerRefusedAnswers, WriteNothing) {
  PutUsualLayout();
  const size_t changesBefore = Registry().Changes().size();
  Machine().messageBoxAnswers = {GetParam()};
  EXPECT_FALSE(ConfirmAndApplyTimeServer(kOwner, {2, "ntp.example.net"}));
  EXPECT_EQ(changesBefore, Registry().Changes().size());
  ASSERT_EQ(1u, Machine().messageBoxes.size());
  const fake::MessageBoxCall& box = Machine().messageBoxes[0];
  EXPECT_EQ(kOwner, box.owner);
  EXPECT_EQ(kQuestion, box.text);
  EXPECT_EQ("hushgate", box.caption);
  EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), box.type);
}

INSTANTIATE_TEST_SUITE_P(TimeServerAnswers, TimeServerRefusedAnswers,
                         ::testing::Values(IDNO, IDCANCEL, 0));

TEST_F(TimeServerRegistry, ConfirmedWithYesApplies) {
  PutUsualLayout();
  Machine().programName = "timecheck";
  Machine().messageBoxAnswers = {IDYES};
  EXPECT_TRUE(ConfirmAndApplyTimeServer(kOwner, {2, "ntp.example.net"}));
  ASSERT_EQ(1u, Machine().messageBoxes.size());
  EXPECT_EQ(kQuestion, Machine().messageBoxes[0].text);
  EXPECT_EQ("timecheck", Machine().messageBoxes[0].caption);
  EXPECT_EQ(UINT(0x24), Machine().messageBoxes[0].type);
  EXPECT_EQ(WrittenText("2", 128), Describe(HKEY_LOCAL_MACHINE, kServers, ""));
  EXPECT_EQ(WrittenText("ntp.example.net,0x1", 128),
            Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer"));
  EXPECT_EQ(WrittenText("NTP", 128), Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "Type"));
  EXPECT_EQ(kStartAutomatic, Describe(HKEY_LOCAL_MACHINE, kTimeService, "Start"));
}

// Where a Group Policy decides whether the clock synchronises (21) or the
// time service starts (11), the dialog says so and writes neither value.
TEST_F(TimeServerRegistry, WhatAPolicyDecidesIsNamedAndLeftAlone) {
  PutUsualLayout();
  Registry().PutString(HKEY_LOCAL_MACHINE, "Software\\Policies\\Microsoft\\W32time\\Parameters",
                       "Type", "NoSync");
  Registry().PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                       "SystemRoot", "C:\\WINDOWS");
  Machine().fileContents["c:\\windows\\security\\templates\\policies\\gpt00000.inf"] =
      "[Service General Setting]\r\n\"W32Time\",4,\"\"\r\n";
  Machine().messageBoxAnswers = {IDYES};
  EXPECT_TRUE(ConfirmAndApplyTimeServer(kOwner, {2, "ntp.example.net"}));
  ASSERT_EQ(1u, Machine().messageBoxes.size());
  EXPECT_EQ(FormatText(IDS_TIME_SERVER_CONFIRM_POLICY,
                       {Text(FindSetting(21)->labelId) +
                        " (HKLM\\Software\\Policies\\Microsoft\\W32time\\Parameters\\Type = \"NoSync\"), " +
                        Text(FindSetting(11)->labelId) +
                        " (C:\\WINDOWS\\security\\templates\\policies\\gpt00000.inf: W32Time = 4)"}),
            Machine().messageBoxes[0].text);
  EXPECT_EQ(DescribeValue(REG_SZ, {'N', 'o', 'S', 'y', 'n', 'c', 0}),
            Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "Type"));
  EXPECT_EQ("type 4: 04 00 00 00", Describe(HKEY_LOCAL_MACHINE, kTimeService, "Start"));
  EXPECT_EQ(WrittenText("ntp.example.net,0x1", 128),
            Describe(HKEY_LOCAL_MACHINE, kTimeParameters, "NtpServer"));
}

}  // namespace
