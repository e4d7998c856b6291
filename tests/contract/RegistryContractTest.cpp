// Behaviours of the registry seam that the program relies on. The same tests
// run against the in-memory fake and against Wine's registry, so the fake
// cannot drift from Windows.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "contract/ContractFixture.h"

namespace {

const HKEY kSentinelKey = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0xdeadbeef));
const std::string kScratch = kScratchKey;

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearScratchKey();
    ASSERT_EQ(ERROR_SUCCESS, Create(kScratch, KEY_ALL_ACCESS, &scratch_));
  }
  void TearDown() override {
    platform::CloseKey(scratch_);
    ClearScratchKey();
  }

  static LONG Create(const std::string& path, REGSAM access, HKEY* key,
                     DWORD* disposition = nullptr) {
    DWORD ignored = 0;
    return platform::CreateKey(HKEY_CURRENT_USER, path.c_str(), access, key,
                               disposition ? disposition : &ignored);
  }
  static LONG Open(const std::string& path, REGSAM access, HKEY* key) {
    return platform::OpenKey(HKEY_CURRENT_USER, path.c_str(), access, key);
  }
  void Set(const char* name, DWORD type, const std::vector<BYTE>& bytes) {
    ASSERT_EQ(ERROR_SUCCESS,
              platform::SetValue(scratch_, name, type, bytes.data(), DWORD(bytes.size())));
  }

  HKEY scratch_ = nullptr;
};

TEST_F(RegistryContract, OpenOfMissingKeyFailsAndClearsTheHandle) {
  HKEY key = kSentinelKey;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(kScratch + "\\Missing", KEY_READ, &key));
  EXPECT_EQ(nullptr, key);
}

TEST_F(RegistryContract, CreateMakesEveryMissingKeyOfThePathThenOpensIt) {
  HKEY key;
  DWORD disposition = 0;
  ASSERT_EQ(ERROR_SUCCESS, Create(kScratch + "\\A\\B\\C", KEY_ALL_ACCESS, &key, &disposition));
  EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
  platform::CloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, Create(kScratch + "\\A\\B\\C", KEY_ALL_ACCESS, &key, &disposition));
  EXPECT_EQ(DWORD(REG_OPENED_EXISTING_KEY), disposition);
  platform::CloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, Open(kScratch + "\\A\\B", KEY_READ, &key));
  platform::CloseKey(key);
}

TEST_F(RegistryContract, KeysAndValueNamesMatchWithoutRegardToCase) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, Create(kScratch + "\\MixedCase", KEY_ALL_ACCESS, &key));
  platform::CloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, Open(kScratch + "\\mIXEDcASE", KEY_READ, &key));
  platform::CloseKey(key);
  Set("ValueName", REG_DWORD, {7, 0, 0, 0});
  DWORD size = 0;
  EXPECT_EQ(ERROR_SUCCESS, platform::QueryValue(scratch_, "VALUENAME", nullptr, nullptr, &size));
  EXPECT_EQ(4u, size);
}

struct StoredValue {
  const char* label;
  DWORD type;
  std::vector<BYTE> bytes;
};

class RegistryValueBytes : public RegistryContract,
                           public ::testing::WithParamInterface<StoredValue> {};

TEST_P(RegistryValueBytes, ReadBackWithTheSameTypeSizeAndBytes) {
  const StoredValue& stored = GetParam();
  Set("Value", stored.type, stored.bytes);
  BYTE buffer[64];
  std::memset(buffer, 0xCC, sizeof buffer);
  DWORD type = 0xdeadbeef;
  DWORD size = sizeof buffer;
  ASSERT_EQ(ERROR_SUCCESS, platform::QueryValue(scratch_, "Value", &type, buffer, &size));
  EXPECT_EQ(stored.type, type);
  ASSERT_EQ(stored.bytes.size(), size);
  EXPECT_EQ(stored.bytes, std::vector<BYTE>(buffer, buffer + size));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RegistryValueBytes,
    ::testing::Values(StoredValue{"TextWithZero", REG_SZ, {'N', 'o', 'S', 'y', 'n', 'c', 0}},
                      StoredValue{"TextPaddedWithZeros", REG_SZ, {'1', 0, 0, 0}},
                      StoredValue{"OneZeroByte", REG_BINARY, {0}},
                      StoredValue{"BinaryWithoutZero", REG_BINARY, {1, 2, 3}},
                      StoredValue{"EmptyBinary", REG_BINARY, {}},
                      StoredValue{"Number", REG_DWORD, {0x0A, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RegistryContract, QueryWithoutBufferReportsTheSize) {
  Set("Value", REG_BINARY, std::vector<BYTE>(200, 1));
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(ERROR_SUCCESS, platform::QueryValue(scratch_, "Value", &type, nullptr, &size));
  EXPECT_EQ(200u, size);
  EXPECT_EQ(DWORD(REG_BINARY), type);
}

TEST_F(RegistryContract, QueryIntoShortBufferGivesMoreDataAndTheNeededSize) {
  Set("Binary", REG_BINARY, std::vector<BYTE>(129, 1));
  Set("Text", REG_SZ, {'a', 'b', 'c', 'd', 'e', 'f', 0});
  BYTE buffer[128];
  DWORD size = sizeof buffer;
  EXPECT_EQ(ERROR_MORE_DATA, platform::QueryValue(scratch_, "Binary", nullptr, buffer, &size));
  EXPECT_EQ(129u, size);
  size = 4;
  EXPECT_EQ(ERROR_MORE_DATA, platform::QueryValue(scratch_, "Text", nullptr, buffer, &size));
  EXPECT_EQ(7u, size);
}

TEST_F(RegistryContract, QueryOfMissingValueFailsAndLeavesTheBufferUntouched) {
  BYTE buffer[4] = {0xEF, 0xBE, 0xAD, 0xDE};
  DWORD size = sizeof buffer;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, platform::QueryValue(scratch_, "Missing", nullptr, buffer, &size));
  EXPECT_EQ(0xEF, buffer[0]);
  EXPECT_EQ(0xDE, buffer[3]);
}

TEST_F(RegistryContract, DefaultValueIsTheValueWithTheEmptyName) {
  Set("", REG_SZ, {'x', 0});
  DWORD size = 0;
  EXPECT_EQ(ERROR_SUCCESS, platform::QueryValue(scratch_, nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(2u, size);
}

TEST_F(RegistryContract, DeleteValueSucceedsOnceThenReportsNotFound) {
  Set("Value", REG_DWORD, {1, 0, 0, 0});
  EXPECT_EQ(ERROR_SUCCESS, platform::DeleteValue(scratch_, "Value"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, platform::DeleteValue(scratch_, "Value"));
  DWORD size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, platform::QueryValue(scratch_, "Value", nullptr, nullptr, &size));
}

TEST_F(RegistryContract, DeleteKeyRefusesAKeyWithSubkeys) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, Create(kScratch + "\\Parent\\Child", KEY_ALL_ACCESS, &key));
  platform::CloseKey(key);
  EXPECT_EQ(ERROR_ACCESS_DENIED, platform::DeleteKey(scratch_, "Parent"));
  ASSERT_EQ(ERROR_SUCCESS, Open(kScratch + "\\Parent\\Child", KEY_READ, &key));
  platform::CloseKey(key);
  EXPECT_EQ(ERROR_SUCCESS, platform::DeleteKey(scratch_, "Parent\\Child"));
  EXPECT_EQ(ERROR_SUCCESS, platform::DeleteKey(scratch_, "Parent"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, platform::DeleteKey(scratch_, "Parent"));
}

TEST_F(RegistryContract, EnumerationListsEveryValueThenNoMoreItems) {
  Set("", REG_SZ, {'1', 0});
  Set("1", REG_SZ, {'a', 0});
  Set("2", REG_SZ, {'b', 0});
  std::set<std::string> names;
  for (DWORD index = 0;; ++index) {
    char name[128];
    BYTE data[128];
    DWORD nameLength = sizeof name;
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    LONG error = platform::EnumValue(scratch_, index, name, &nameLength, &type, data, &dataSize);
    if (error == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(ERROR_SUCCESS, error);
    EXPECT_EQ(std::strlen(name), nameLength);
    EXPECT_EQ(2u, dataSize);
    names.insert(name);
    ASSERT_LT(index, 10u);
  }
  EXPECT_EQ((std::set<std::string>{"", "1", "2"}), names);
}

TEST_F(RegistryContract, EnumerationIntoShortBuffersGivesMoreData) {
  Set("LongValueName", REG_BINARY, std::vector<BYTE>(16, 2));
  char name[128];
  BYTE data[128];
  DWORD nameLength = 4;
  DWORD dataSize = sizeof data;
  EXPECT_EQ(ERROR_MORE_DATA, platform::EnumValue(scratch_, 0, name, &nameLength, nullptr, data,
                                                 &dataSize));
  nameLength = sizeof name;
  dataSize = 8;
  EXPECT_EQ(ERROR_MORE_DATA, platform::EnumValue(scratch_, 0, name, &nameLength, nullptr, data,
                                                 &dataSize));
}

TEST_F(RegistryContract, HandleAllowsOnlyTheRightsItWasOpenedWith) {
  HKEY reader;
  ASSERT_EQ(ERROR_SUCCESS, Open(kScratch, KEY_READ, &reader));
  const BYTE one[4] = {1, 0, 0, 0};
  EXPECT_EQ(ERROR_ACCESS_DENIED, platform::SetValue(reader, "Value", REG_DWORD, one, 4));
  platform::CloseKey(reader);

  HKEY writer;
  ASSERT_EQ(ERROR_SUCCESS, Open(kScratch, KEY_SET_VALUE, &writer));
  EXPECT_EQ(ERROR_SUCCESS, platform::SetValue(writer, "Value", REG_DWORD, one, 4));
  DWORD size = 0;
  EXPECT_EQ(ERROR_ACCESS_DENIED, platform::QueryValue(writer, "Value", nullptr, nullptr, &size));
  platform::CloseKey(writer);
}

TEST_F(RegistryContract, KeyOpenedOnlyToCreateSubkeysCanCreateThem) {
  HKEY first;
  HKEY second;
  ASSERT_EQ(ERROR_SUCCESS, Create(kScratch + "\\Chain", KEY_CREATE_SUB_KEY, &first));
  DWORD disposition = 0;
  ASSERT_EQ(ERROR_SUCCESS,
            platform::CreateKey(first, "Link", KEY_CREATE_SUB_KEY, &second, &disposition));
  EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
  platform::CloseKey(second);
  platform::CloseKey(first);
  HKEY check;
  ASSERT_EQ(ERROR_SUCCESS, Open(kScratch + "\\Chain\\Link", KEY_READ, &check));
  platform::CloseKey(check);
}

TEST_F(RegistryContract, ClosingAHandleTwiceFailsTheSecondTime) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, Open(kScratch, KEY_READ, &key));
  EXPECT_EQ(ERROR_SUCCESS, platform::CloseKey(key));
  EXPECT_EQ(ERROR_INVALID_HANDLE, platform::CloseKey(key));
}

}  // namespace
