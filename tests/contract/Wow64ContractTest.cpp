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

  // Creates the key in the view with its width as its default value.
  static void Write(const char* path, REGSAM view, BYTE width) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, platform::CreateKey(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS | view,
                                                 &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, platform::SetValue(key, "", REG_BINARY, &width, 1));
    platform::CloseKey(key);
  }
  // The width the key in the view holds, -1 when it cannot be opened.
  static int Read(const char* path, REGSAM view) {
    HKEY key;
    BYTE width = 0;
    DWORD size = 1;
    if (platform::OpenKey(HKEY_LOCAL_MACHINE, path, KEY_READ | view, &key) != ERROR_SUCCESS)
      return -1;
    platform::QueryValue(key, "", nullptr, &width, &size);
    platform::CloseKey(key);
    return width;
  }
};

// Software\Policies is one key for both; a key deleted in one view leaves
// the other's copy.
TEST_F(Wow64RegistryContract, EachViewBelowSoftwareKeepsItsOwnCopy) {
  Write(kKey, KEY_WOW64_64KEY, 64);
  EXPECT_EQ(-1, Read(kKey, 0));
  Write(kKey, 0, 32);
  EXPECT_EQ(64, Read(kKey, KEY_WOW64_64KEY));
  EXPECT_EQ(32, Read(kKey, KEY_WOW64_32KEY));
  Write(kShared, 0, 32);
  EXPECT_EQ(32, Read(kShared, KEY_WOW64_64KEY));
  EXPECT_EQ(ERROR_SUCCESS, platform::DeleteKey(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_64KEY));
  EXPECT_EQ(-1, Read(kKey, KEY_WOW64_64KEY));
  EXPECT_EQ(32, Read(kKey, 0));
}

}  // namespace
