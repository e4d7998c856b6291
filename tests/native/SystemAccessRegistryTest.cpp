// The registry operations and probes of SystemAccess against the fake, with
// exact types, sizes and bytes.

#include <functional>

#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

class SystemAccessRegistry : public FakeSystemTest {
 protected:
  SystemAccess system_;
};

TEST_F(SystemAccessRegistry, WriteStoresExactBytesIntoAnExistingKey) {
  Registry().AddKey(HKEY_LOCAL_MACHINE, "K");
  EXPECT_TRUE(system_.WriteRegistryValue(HKEY_LOCAL_MACHINE, "k", "V", "2000", REG_SZ, 4));
  EXPECT_EQ("type 1: 32 30 30 30", Describe(HKEY_LOCAL_MACHINE, "K", "V"));
}

TEST_F(SystemAccessRegistry, WriteNeverCreatesAMissingKey) {
  EXPECT_FALSE(system_.WriteRegistryValue(HKEY_CURRENT_USER, "Missing\\Key", "V", "\1\0\0\0",
                                          REG_DWORD, 4));
  EXPECT_FALSE(Registry().HasKey(HKEY_CURRENT_USER, "Missing"));
  EXPECT_TRUE(Registry().Changes().empty());
}

TEST_F(SystemAccessRegistry, WriteReportsARefusedKey) {
  Registry().SetAccess(HKEY_LOCAL_MACHINE, "Locked", true, false);
  EXPECT_FALSE(system_.WriteRegistryValue(HKEY_LOCAL_MACHINE, "Locked", "V", "\1\0\0\0",
                                          REG_DWORD, 4));
  EXPECT_EQ("missing", Describe(HKEY_LOCAL_MACHINE, "Locked", "V"));
}

struct Comparison {
  const char* label;
  std::function<void()> arrange;  // puts HKLM\K\V in place, or not
  int kind;
  DWORD expectedNumber;
  const char* expectedText;
  int result;
};

std::vector<BYTE> Filled(size_t count, BYTE value) { return std::vector<BYTE>(count, value); }
void Put(DWORD type, const std::vector<BYTE>& bytes) {
  fake::Machine().registry.PutValue(HKEY_LOCAL_MACHINE, "K", "V", type, bytes);
}

class CompareRegistryValueCases : public SystemAccessRegistry,
                                  public ::testing::WithParamInterface<Comparison> {};

TEST_P(CompareRegistryValueCases, Answers) {
  GetParam().arrange();
  EXPECT_EQ(GetParam().result,
            system_.CompareRegistryValue(HKEY_LOCAL_MACHINE, "K", "V", GetParam().kind,
                                         GetParam().expectedNumber, GetParam().expectedText));
}

const std::string k128(128, 'a');
const std::string k127(127, 'a');

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareRegistryValueCases,
    ::testing::Values(
        Comparison{"TextEqual", [] { Put(REG_SZ, {'N', 'o', 'S', 'y', 'n', 'c', 0}); }, 1, 0,
                   "NoSync", kValueEquals},
        Comparison{"TextIsCaseSensitive", [] { Put(REG_SZ, {'n', 'o', 's', 'y', 'n', 'c', 0}); },
                   1, 0, "NoSync", kValueDiffers},
        Comparison{"TextPrefixDiffers", [] { Put(REG_SZ, {'N', 'o', 0}); }, 1, 0, "NoSync",
                   kValueDiffers},
        Comparison{"TextWithoutExpectationDiffers", [] { Put(REG_SZ, {'x', 0}); }, 1, 0,
                   nullptr, kValueDiffers},
        Comparison{"MissingValue", [] { fake::Machine().registry.AddKey(HKEY_LOCAL_MACHINE, "K"); },
                   1, 0, nullptr, kValueUnreadable},
        Comparison{"MissingKey", [] {}, 4, 0, nullptr, kValueUnreadable},
        Comparison{"UnreadableKey",
                   [] {
                     Put(REG_DWORD, {0, 0, 0, 0});
                     fake::Machine().registry.SetAccess(HKEY_LOCAL_MACHINE, "K", false, true);
                   },
                   4, 0, nullptr, kValueUnreadable},
        Comparison{"Text128BytesWithoutZeroIsReadWhole",
                   [] { Put(REG_SZ, std::vector<BYTE>(k128.begin(), k128.end())); }, 1, 0,
                   k128.c_str(), kValueEquals},
        Comparison{"Text128BytesIsNotCutToAShorterOne",
                   [] { Put(REG_SZ, std::vector<BYTE>(k128.begin(), k128.end())); }, 1, 0,
                   k127.c_str(), kValueDiffers},
        Comparison{"Text129BytesIsUnreadable", [] { Put(REG_SZ, Filled(129, 'a')); }, 1, 0, "",
                   kValueUnreadable},
        Comparison{"BinaryZeroByteEqualsEmptyText", [] { Put(REG_BINARY, {0}); }, 3, 0, "",
                   kValueEquals},
        Comparison{"BinaryOneDiffersFromEmptyText", [] { Put(REG_BINARY, {1}); }, 3, 0, "",
                   kValueDiffers},
        Comparison{"BinaryWithoutZeroByte", [] { Put(REG_BINARY, Filled(128, 7)); }, 3, 0, "",
                   kValueDiffers},
        Comparison{"EmptyBinaryEqualsEmptyText", [] { Put(REG_BINARY, {}); }, 3, 0, "",
                   kValueEquals},
        Comparison{"NumberEqual", [] { Put(REG_DWORD, {0x0A, 0, 0, 0}); }, 4, 10, nullptr,
                   kValueEquals},
        Comparison{"NumberDiffers", [] { Put(REG_DWORD, {1, 0, 0, 0}); }, 4, 0, nullptr,
                   kValueDiffers},
        Comparison{"TwoByteValueReadsAsItsNumber", [] { Put(REG_BINARY, {1, 0}); }, 4, 1,
                   nullptr, kValueEquals},
        Comparison{"TextOneIsNotNumberOne", [] { Put(REG_SZ, {'1', 0}); }, 4, 1, nullptr,
                   kValueDiffers},
        Comparison{"FiveByteNumberIsUnreadable", [] { Put(REG_BINARY, Filled(5, 0)); }, 4, 0,
                   nullptr, kValueUnreadable},
        Comparison{"Number256EqualsEmptyTextByItsBytes", [] { Put(REG_DWORD, {0, 1, 0, 0}); }, 1,
                   0, "", kValueEquals},
        Comparison{"NumberZeroAsBinaryEqualsEmptyText", [] { Put(REG_DWORD, {0, 0, 0, 0}); }, 3,
                   0, "", kValueEquals},
        Comparison{"OtherKindIsNotRead", [] { Put(REG_DWORD, {0, 0, 0, 0}); }, 7, 0, nullptr,
                   kValueDiffers},
        Comparison{"OtherKindOnMissingKey", [] {}, 7, 0, nullptr, kValueUnreadable}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SystemAccessRegistry, DeleteKeyRemovesOnlyALeafKey) {
  Registry().AddKey(HKEY_LOCAL_MACHINE, "P\\Leaf");
  Registry().AddKey(HKEY_LOCAL_MACHINE, "P\\Branch\\Twig");
  EXPECT_TRUE(system_.DeleteRegistryKey(HKEY_LOCAL_MACHINE, "P", "leaf"));
  EXPECT_FALSE(Registry().HasKey(HKEY_LOCAL_MACHINE, "P\\Leaf"));
  EXPECT_FALSE(system_.DeleteRegistryKey(HKEY_LOCAL_MACHINE, "P", "Branch"));
  EXPECT_TRUE(Registry().HasKey(HKEY_LOCAL_MACHINE, "P\\Branch\\Twig"));
  EXPECT_FALSE(system_.DeleteRegistryKey(HKEY_LOCAL_MACHINE, "P", "Leaf"));
  EXPECT_FALSE(system_.DeleteRegistryKey(HKEY_LOCAL_MACHINE, "NoParent", "Leaf"));
}

TEST_F(SystemAccessRegistry, DeleteValueSucceedsOnceThenFails) {
  Registry().PutNumber(HKEY_CURRENT_USER, "K", "V", 1);
  EXPECT_TRUE(system_.DeleteRegistryValue(HKEY_CURRENT_USER, "K", "V"));
  EXPECT_EQ("missing", Describe(HKEY_CURRENT_USER, "K", "V"));
  EXPECT_FALSE(system_.DeleteRegistryValue(HKEY_CURRENT_USER, "K", "V"));
  EXPECT_FALSE(system_.DeleteRegistryValue(HKEY_CURRENT_USER, "NoKey", "V"));
}

const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const std::string kLocalPsched = std::string(kCurrentVersion) +
    "\\Group Policy Objects\\LocalMachine\\Software\\Policies\\Microsoft\\Windows\\Psched";
const std::string kLokalPsched = std::string(kCurrentVersion) +
    "\\Group Policy Objects\\LokalMachine\\Software\\Policies\\Microsoft\\Windows\\Psched";

TEST_F(SystemAccessRegistry, QosWriteCreatesBothChainsAndWritesBothLimits) {
  Registry().AddKey(HKEY_CURRENT_USER, kCurrentVersion);
  EXPECT_TRUE(system_.WriteQosPolicy(kQosWrite));
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_CURRENT_USER, kLocalPsched, "NonBestEffortLimit"));
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_CURRENT_USER, kLokalPsched, "NonBestEffortLimit"));
}

TEST_F(SystemAccessRegistry, QosWriteWithoutTheCurrentVersionKeyCreatesNothing) {
  EXPECT_FALSE(system_.WriteQosPolicy(kQosWrite));
  EXPECT_TRUE(Registry().Changes().empty());
}

TEST_F(SystemAccessRegistry, QosRemoveDeletesBothPschedKeysAndKeepsTheChains) {
  Registry().PutNumber(HKEY_CURRENT_USER, kLocalPsched, "NonBestEffortLimit", 0);
  Registry().PutNumber(HKEY_CURRENT_USER, kLokalPsched, "NonBestEffortLimit", 0);
  EXPECT_TRUE(system_.WriteQosPolicy(kQosRemove));
  EXPECT_FALSE(Registry().HasKey(HKEY_CURRENT_USER, kLocalPsched));
  EXPECT_FALSE(Registry().HasKey(HKEY_CURRENT_USER, kLokalPsched));
  EXPECT_TRUE(Registry().HasKey(HKEY_CURRENT_USER, kLokalPsched.substr(0, kLokalPsched.size() - 7)));
}

TEST_F(SystemAccessRegistry, QosRemoveOfAbsentKeysChangesNothingAndSucceeds) {
  EXPECT_TRUE(system_.WriteQosPolicy(kQosRemove));
  EXPECT_TRUE(Registry().Changes().empty());
}

TEST_F(SystemAccessRegistry, QosUnknownModeDoesNothing) {
  Registry().AddKey(HKEY_CURRENT_USER, kCurrentVersion);
  EXPECT_FALSE(system_.WriteQosPolicy(2));
  EXPECT_TRUE(Registry().Changes().empty());
}

struct Probe {
  const char* label;
  std::function<void()> arrange;
  std::function<bool(SystemAccess&)> probe;
  bool expected;
};

class ProbeCases : public SystemAccessRegistry, public ::testing::WithParamInterface<Probe> {};

TEST_P(ProbeCases, Answers) {
  GetParam().arrange();
  EXPECT_EQ(GetParam().expected, GetParam().probe(system_));
}

const char kVersionVector[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector";
const char kOffice[] = "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot";
const char kMediaPlayer[] = "Software\\Microsoft\\MediaPlayer\\8.0\\Registration";
const char kPsched[] = "SYSTEM\\CurrentControlSet\\Services\\PSched\\Enum";
auto& Reg() { return fake::Machine().registry; }
bool Ie6(SystemAccess& s) { return s.IsInternetExplorer6(); }
bool Office(SystemAccess& s) { return s.IsOfficeXpInstalled(); }
bool Player(SystemAccess& s) { return s.IsMediaPlayer8Installed(); }
bool Qos(SystemAccess& s) { return s.IsQosInstalled(); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ProbeCases,
    ::testing::Values(
        Probe{"Ie6", [] { Reg().PutString(HKEY_LOCAL_MACHINE, kVersionVector, "IE", "6.0000"); },
              Ie6, true},
        Probe{"Ie55", [] { Reg().PutString(HKEY_LOCAL_MACHINE, kVersionVector, "IE", "5.5"); },
              Ie6, false},
        Probe{"IeEmpty",
              [] { Reg().PutValue(HKEY_LOCAL_MACHINE, kVersionVector, "IE", REG_SZ, {}); }, Ie6,
              false},
        Probe{"IeMissing", [] {}, Ie6, false},
        Probe{"OfficeNumberOne",
              [] { Reg().PutNumber(HKEY_LOCAL_MACHINE, kOffice, "InstallCount", 1); }, Office,
              true},
        Probe{"OfficeNumberZero",
              [] { Reg().PutNumber(HKEY_LOCAL_MACHINE, kOffice, "InstallCount", 0); }, Office,
              false},
        Probe{"OfficeMissing", [] {}, Office, false},
        Probe{"PlayerVersion",
              [] { Reg().PutString(HKEY_LOCAL_MACHINE, kMediaPlayer, "UDBVersion", "8.0"); },
              Player, true},
        Probe{"PlayerEmptyText",
              [] { Reg().PutString(HKEY_LOCAL_MACHINE, kMediaPlayer, "UDBVersion", ""); },
              Player, false},
        Probe{"QosCount", [] { Reg().PutNumber(HKEY_LOCAL_MACHINE, kPsched, "Count", 0); }, Qos,
              true},
        Probe{"QosMissing", [] {}, Qos, false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
