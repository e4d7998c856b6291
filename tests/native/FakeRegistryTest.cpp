// What the fake adds beyond the shared contract: per-key access rights for
// tests, handles of deleted keys, and its own bookkeeping.

#include "native/FakeSystemTest.h"
#include "platform/Platform.h"

namespace {

using FakeRegistryTest = FakeSystemTest;

TEST_F(FakeRegistryTest, UnreadableKeyRefusesReadingButAllowsWriting) {
  Registry().SetAccess(HKEY_LOCAL_MACHINE, "Locked", false, true);
  HKEY key;
  EXPECT_EQ(ERROR_ACCESS_DENIED, Registry().OpenKey(HKEY_LOCAL_MACHINE, "Locked", KEY_READ, &key));
  ASSERT_EQ(ERROR_SUCCESS, Registry().OpenKey(HKEY_LOCAL_MACHINE, "Locked", KEY_SET_VALUE, &key));
  Registry().CloseKey(key);
}

TEST_F(FakeRegistryTest, UnwritableKeyRefusesWritingCreatingAndDeleting) {
  Registry().AddKey(HKEY_LOCAL_MACHINE, "Locked\\Leaf");
  Registry().SetAccess(HKEY_LOCAL_MACHINE, "Locked", true, false);
  Registry().SetAccess(HKEY_LOCAL_MACHINE, "Locked\\Leaf", true, false);
  HKEY key;
  EXPECT_EQ(ERROR_ACCESS_DENIED,
            Registry().OpenKey(HKEY_LOCAL_MACHINE, "Locked", KEY_ALL_ACCESS, &key));
  DWORD disposition;
  EXPECT_EQ(ERROR_ACCESS_DENIED, Registry().CreateKey(HKEY_LOCAL_MACHINE, "Locked\\New",
                                                      KEY_READ, &key, &disposition));
  EXPECT_FALSE(Registry().HasKey(HKEY_LOCAL_MACHINE, "Locked\\New"));
  ASSERT_EQ(ERROR_SUCCESS, Registry().OpenKey(HKEY_LOCAL_MACHINE, "Locked", KEY_READ, &key));
  EXPECT_EQ(ERROR_ACCESS_DENIED, Registry().DeleteKey(key, "Leaf"));
  Registry().CloseKey(key);
  EXPECT_TRUE(Registry().Changes().empty());
}

TEST_F(FakeRegistryTest, HandleOfADeletedKeyReportsKeyDeleted) {
  Registry().AddKey(HKEY_CURRENT_USER, "Gone");
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, Registry().OpenKey(HKEY_CURRENT_USER, "Gone", KEY_ALL_ACCESS, &key));
  ASSERT_EQ(ERROR_SUCCESS, Registry().DeleteKey(HKEY_CURRENT_USER, "Gone"));
  const BYTE one[4] = {1, 0, 0, 0};
  EXPECT_EQ(ERROR_KEY_DELETED, Registry().SetValue(key, "Value", REG_DWORD, one, 4));
  EXPECT_EQ(ERROR_SUCCESS, Registry().CloseKey(key));
}

TEST_F(FakeRegistryTest, CountsOpenHandlesAndUsesOfUnknownOnes) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, Registry().OpenKey(HKEY_CURRENT_USER, "", KEY_READ, &key));
  EXPECT_EQ(1u, Registry().OpenHandleCount());
  Registry().CloseKey(key);
  EXPECT_EQ(0u, Registry().OpenHandleCount());
  DWORD size = 0;
  EXPECT_EQ(ERROR_INVALID_HANDLE, Registry().QueryValue(key, "x", nullptr, nullptr, &size));
  EXPECT_EQ(1, Registry().BadHandleUses());
  // The check after the test would flag this deliberate misuse.
  fake::ResetMachine();
}

TEST_F(FakeRegistryTest, RecordsEveryChangeInOrder) {
  HKEY key;
  DWORD disposition;
  ASSERT_EQ(ERROR_SUCCESS,
            Registry().CreateKey(HKEY_CURRENT_USER, "A\\B", KEY_ALL_ACCESS, &key, &disposition));
  const BYTE zero[1] = {0};
  Registry().SetValue(key, "V", REG_BINARY, zero, 1);
  Registry().DeleteValue(key, "V");
  Registry().CloseKey(key);
  EXPECT_EQ((std::vector<std::string>{"create HKEY_CURRENT_USER\\A",
                                      "create HKEY_CURRENT_USER\\A\\B",
                                      "set HKEY_CURRENT_USER\\A\\B\\V",
                                      "delete-value HKEY_CURRENT_USER\\A\\B\\V"}),
            Registry().Changes());
}

TEST_F(FakeRegistryTest, MessageBoxesAreLoggedAndAnsweredAsScripted) {
  Machine().messageBoxAnswers.push_back(IDCANCEL);
  EXPECT_EQ(IDCANCEL, platform::ShowMessageBox(nullptr, "first", "cap", MB_OKCANCEL));
  EXPECT_EQ(IDYES, platform::ShowMessageBox(nullptr, "second", "cap", MB_YESNO));
  ASSERT_EQ(2u, Machine().messageBoxes.size());
  EXPECT_EQ("first", Machine().messageBoxes[0].text);
  EXPECT_EQ(UINT(MB_YESNO), Machine().messageBoxes[1].type);
}

}  // namespace
