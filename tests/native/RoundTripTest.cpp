// Apply then revert of every setting that has both, judged by the status
// check: off after apply, on again after revert.

#include "engine/Apply.h"
#include "engine/Revert.h"
#include "engine/StatusCheck.h"
#include "native/FakeSystemTest.h"
#include "native/PreparedSystem.h"
#include "system/SystemAccess.h"

namespace {

const char kZip[] = ".zip";

class RoundTrip : public FakeSystemTest, public ::testing::WithParamInterface<SettingId> {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    PrepareSettingKeys();
    auto& reg = Registry();
    reg.AddKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion");
    reg.PutString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot",
                  "InstallCount", "1");
    reg.PutString(HKEY_CLASSES_ROOT, "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32",
                  "", "C:\\Programme\\Messenger\\msmsgs.exe");
    reg.PutString(HKEY_CLASSES_ROOT, kZip, "Content Type", "application/x-zip-compressed");
    for (const char* name : {"ERSvc", "wuauserv", "W32Time", "Schedule", "upnphost"})
      Machine().services.Add(name).startType = SERVICE_AUTO_START;
    // regsvr32 on the ZIP folder library adds or removes its file type.
    Machine().onLaunch = [](const fake::LaunchRecord& launch) {
      auto& reg = fake::Machine().registry;
      if (launch.parameters == "/s /u zipfldr.dll") {
        HKEY key;
        reg.OpenKey(HKEY_CLASSES_ROOT, kZip, KEY_ALL_ACCESS, &key);
        reg.DeleteValue(key, "Content Type");
        reg.CloseKey(key);
      } else if (launch.parameters == "/s zipfldr.dll") {
        reg.PutString(HKEY_CLASSES_ROOT, kZip, "Content Type", "application/x-zip-compressed");
      }
    };
  }
  SystemAccess system_;
};

TEST_P(RoundTrip, OffAfterApplyOnAfterRevert) {
  SettingId id = GetParam();
  EXPECT_FALSE(StatusCheck(system_, id));
  EXPECT_TRUE(Apply(system_, id));
  EXPECT_TRUE(StatusCheck(system_, id));
  EXPECT_TRUE(Revert(system_, id));
  EXPECT_FALSE(StatusCheck(system_, id));
}

INSTANTIATE_TEST_SUITE_P(Settings, RoundTrip,
                         ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 14u,
                                           19u, 21u, 22u, 23u, 24u, 25u, 26u, 27u, 28u, 29u, 30u),
                         [](const auto& info) { return "Setting" + std::to_string(info.param); });

}  // namespace
