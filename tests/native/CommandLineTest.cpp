// Reading the command line and running it against the fake system.

#include "app/CommandLine.h"
#include "app/CommandSwitches.h"
#include "native/FakeSystemTest.h"
#include "native/PreparedSystem.h"
#include "system/SystemAccess.h"

namespace {

struct Reading {
  const char* label;
  const char* tail;
  std::vector<long long> tokens;  // the numbers read; -1 for mistyped, end implied
};

class CommandLineReading : public ::testing::TestWithParam<Reading> {};

TEST_P(CommandLineReading, YieldsTheNumbersInOrder) {
  CommandLineReader reader(GetParam().tail);
  std::vector<long long> tokens;
  for (int guard = 0; guard < 20; ++guard) {
    unsigned int number = 0xdeadbeef;
    CommandLineReader::Token token = reader.Next(&number);
    if (token == CommandLineReader::Token::kEnd) break;
    if (token == CommandLineReader::Token::kMistyped) {
      tokens.push_back(-1);
      break;
    }
    tokens.push_back(number);
  }
  EXPECT_EQ(GetParam().tokens, tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Tails, CommandLineReading,
    ::testing::Values(Reading{"Empty", "", {}},
                      Reading{"InGivenOrder", "5 1", {5, 1}},
                      Reading{"DuplicatesKept", "3 3", {3, 3}},
                      Reading{"SeveralBlanksAndTabs", "1  \t2", {1, 2}},
                      Reading{"TrailingBlankEndsQuietly", "1 2 5 ", {1, 2, 5}},
                      Reading{"TrailingLineBreakEndsQuietly", "1 2\r\n", {1, 2}},
                      Reading{"LeadingZeros", "007", {7}},
                      Reading{"Word", "abc", {-1}},
                      Reading{"WordBetweenNumbers", "4 x 6", {4, -1}},
                      Reading{"CommaIsNoSeparator", "4,6", {4, -1}},
                      Reading{"DigitsThenLetters", "4x", {4, -1}},
                      Reading{"TooLargeFor32Bits", "99999999999", {-1}},
                      Reading{"AllBitsSetIsTheMarker", "4294967295", {-1}},
                      Reading{"LargestNumber", "4294967294", {4294967294}},
                      Reading{"NegativeWouldWrapTo10", "-4294967286", {-1}},
                      Reading{"MinusOne", "1 -1", {1, -1}}),
    [](const auto& info) { return std::string(info.param.label); });

struct Tail {
  const char* label;
  const char* commandLine;
  const char* tail;
};

class CommandLineTailOf : public ::testing::TestWithParam<Tail> {};

TEST_P(CommandLineTailOf, IsTheTextAfterTheProgramName) {
  EXPECT_EQ(GetParam().tail, CommandLineTail(GetParam().commandLine));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CommandLineTailOf,
    ::testing::Values(
        Tail{"NameAlone", "hushgate.exe", ""},
        Tail{"NameAndBlanks", "hushgate.exe \t ", ""},
        Tail{"Numbers", "hushgate.exe 4 5 ", "4 5 "},
        Tail{"QuotedNameWithBlanks", "\"C:\\Program Files\\hushgate.exe\" 13", "13"},
        Tail{"ControlCharactersSkipped", "hushgate.exe\x01\x1f 7", "7"},
        Tail{"LetterAbove0x7FKept", "hushgate.exe \xE9" "4", "\xE9" "4"},
        Tail{"NoBreakSpaceKept", "hushgate.exe \xA0" "4", "\xA0" "4"},
        Tail{"LetterAlone", "hushgate.exe \xFC", "\xFC"},
        Tail{"LetterInUnquotedName", "C:\\Pr\xFC" "fung\\hushgate.exe 1", "1"},
        Tail{"LetterInQuotedName", "\"C:\\Pr\xFC" "fung\\hushgate.exe\" 1", "1"},
        Tail{"NoCommandLine", nullptr, ""}),
    [](const auto& info) { return std::string(info.param.label); });

class CommandLineRun : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    PrepareSettingKeys();
    Registry().PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
    Registry().PutNumber(HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates", 0);
    changesBefore_ = Registry().Changes().size();
  }
  // The settings' own changes: the backup and the event log's source are
  // the program's bookkeeping beside them.
  std::vector<std::string> NewChanges() const {
    const auto& all = Registry().Changes();
    std::vector<std::string> changes;
    for (auto change = all.begin() + changesBefore_; change != all.end(); ++change)
      if (change->find("\\Hushgate") == std::string::npos) changes.push_back(*change);
    return changes;
  }

  static constexpr const char* kErrorReporting = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
  static constexpr const char* kWebcheck = "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck";
  SystemAccess system_;
  size_t changesBefore_ = 0;
};

TEST_F(CommandLineRun, AppliesInTheGivenOrderAndExitsZero) {
  EXPECT_EQ(kAllDone, RunCommandLine("5 1 5", system_));
  EXPECT_EQ((std::vector<std::string>{
                "set HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting\\ShowUI",
                "set HKEY_CURRENT_USER\\Software\\Microsoft\\MediaPlayer\\Preferences\\SilentAcquisition",
                "set HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting\\ShowUI"}),
            NewChanges());
  EXPECT_TRUE(Machine().messageBoxes.empty());
}

TEST_F(CommandLineRun, SkipsNumbersTheCommandLineDoesNotApply) {
  EXPECT_EQ(kAllDone, RunCommandLine("13 17 18 20 25 28 29 30 63 99", system_));
  EXPECT_TRUE(NewChanges().empty());
  EXPECT_TRUE(Machine().messageBoxes.empty());
}

TEST_F(CommandLineRun, MistypedArgumentShowsTheMessageAndStops) {
  EXPECT_EQ(kMistyped, RunCommandLine("4 x 6", system_));
  ASSERT_EQ(1u, Machine().messageBoxes.size());
  const fake::MessageBoxCall& box = Machine().messageBoxes[0];
  EXPECT_EQ("You mistyped some of the commandline aguments!", box.text);
  EXPECT_EQ("hushgate", box.caption);
  EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), box.type);
  EXPECT_EQ(nullptr, box.owner);
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates"));
}

TEST_F(CommandLineRun, WordAloneAppliesNothing) {
  EXPECT_EQ(kMistyped, RunCommandLine("abc", system_));
  EXPECT_TRUE(NewChanges().empty());
  EXPECT_EQ(1u, Machine().messageBoxes.size());
}

TEST_F(CommandLineRun, SettingThatCouldNotBeAppliedGivesExitOne) {
  Registry().DeleteKey(HKEY_CURRENT_USER, kWebcheck);
  EXPECT_EQ(kSomeNotDone, RunCommandLine("6 1", system_));
  EXPECT_FALSE(Registry().HasKey(HKEY_CURRENT_USER, kWebcheck));
  EXPECT_EQ("type 3: 00", Describe(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Preferences",
                                   "SilentAcquisition"));
}

TEST_F(CommandLineRun, MistypedWinsOverNotDone) {
  Registry().DeleteKey(HKEY_CURRENT_USER, kWebcheck);
  EXPECT_EQ(kMistyped, RunCommandLine("6 abc", system_));
}

struct LanguageTail {
  const char* label;
  const char* tail;
  LanguageSwitch language;
  const char* rest;
};

class LanguageSwitchOf : public ::testing::TestWithParam<LanguageTail> {};

TEST_P(LanguageSwitchOf, IsTakenOnlyAsTheFirstArgument) {
  std::string tail = GetParam().tail;
  EXPECT_EQ(GetParam().language, TakeLanguageSwitch(&tail));
  EXPECT_EQ(GetParam().rest, tail);
}

INSTANTIATE_TEST_SUITE_P(
    Tails, LanguageSwitchOf,
    ::testing::Values(
        LanguageTail{"German", "/lang:de", LanguageSwitch::kGerman, ""},
        LanguageTail{"EnglishWithBlanks", " /lang:en \t", LanguageSwitch::kEnglish, ""},
        LanguageTail{"UpperCaseThenNumbers", "/LANG:EN 1 2", LanguageSwitch::kEnglish, "1 2"},
        LanguageTail{"BeforeASwitch", "/Lang:De  /status 4", LanguageSwitch::kGerman, "/status 4"},
        LanguageTail{"OtherLanguage", "/lang:fr", LanguageSwitch::kNone, "/lang:fr"},
        LanguageTail{"RunTogether", "/lang:en4", LanguageSwitch::kNone, "/lang:en4"},
        LanguageTail{"AfterASwitch", "/status /lang:en", LanguageSwitch::kNone, "/status /lang:en"},
        LanguageTail{"AfterANumber", "4 /lang:de", LanguageSwitch::kNone, "4 /lang:de"},
        LanguageTail{"Nothing", "", LanguageSwitch::kNone, ""}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
