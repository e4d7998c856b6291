// The two registries a 32-bit program sees on a 64-bit Windows, as the fake
// models them and Wine's WOW64 has them: run natively against the fake and
// under Wine in a 64-bit prefix (elsewhere each case says why not).

#include <gtest/gtest.h>

#include <string>

#include "contract/ContractFixture.h"

namespace {

const char kKey[] = "Software\\HushgateContract";
const char kShared[] = "Software\\Policies\\HushgateContract";

class Wow64RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PrepareWow64Registry()) GTEST_SKIP() << "the registry here has one view only";
  }
  void TearDown() override { PrepareWow64Registry(); }

  // Creates the key in the view and stores its width there as "Width".
  static void Write(const char* path, REGSAM view, DWORD width) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, platform::CreateKey(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS | view,
                                                 &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, platform::SetValue(key, "Width", REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&width), 4));
    platform::CloseKey(key);
  }
  // The width the key in the view holds, 0 when there is none, -1 when the
  // key cannot be opened.
  static long Read(const char* path, REGSAM view) {
    HKEY key;
    if (platform::OpenKey(HKEY_LOCAL_MACHINE, path, KEY_READ | view, &key) != ERROR_SUCCESS)
      return -1;
    DWORD width = 0;
    DWORD size = sizeof width;
    platform::QueryValue(key, "Width", nullptr, reinterpret_cast<BYTE*>(&width), &size);
    platform::CloseKey(key);
    return long(width);
  }
};

TEST_F(Wow64RegistryContract, EachViewBelowSoftwareKeepsItsOwnCopy) {
  Write(kKey, KEY_WOW64_64KEY, 64);
  EXPECT_EQ(-1, Read(kKey, 0));
  Write(kKey, 0, 32);
  EXPECT_EQ(64, Read(kKey, KEY_WOW64_64KEY));
  EXPECT_EQ(32, Read(kKey, 0));
  EXPECT_EQ(32, Read(kKey, KEY_WOW64_32KEY));
}

TEST_F(Wow64RegistryContract, PoliciesAreOneKeyForBoth) {
  Write(kShared, 0, 32);
  EXPECT_EQ(32, Read(kShared, KEY_WOW64_64KEY));
}

TEST_F(Wow64RegistryContract, DeleteInOneViewLeavesTheOtherCopy) {
  Write(kKey, KEY_WOW64_64KEY, 64);
  Write(kKey, 0, 32);
  EXPECT_EQ(ERROR_SUCCESS, platform::DeleteKey(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_64KEY));
  EXPECT_EQ(-1, Read(kKey, KEY_WOW64_64KEY));
  EXPECT_EQ(32, Read(kKey, 0));
  EXPECT_EQ(ERROR_SUCCESS, platform::DeleteKey(HKEY_LOCAL_MACHINE, kKey));
  EXPECT_EQ(-1, Read(kKey, 0));
}

}  // namespace
