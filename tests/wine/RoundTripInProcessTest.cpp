// Apply and revert through SystemAccess on Wine's real registry and service
// manager, judged by the status check: off after apply, on after revert.

#include <gtest/gtest.h>

#include "common/SettingKeyPaths.h"
#include "engine/Apply.h"
#include "engine/Revert.h"
#include "engine/StatusCheck.h"
#include "system/SystemAccess.h"
#include "wine/WineHarness.h"

namespace {

class RoundTripOnWine : public ::testing::TestWithParam<SettingId> {
 protected:
  static void SetUpTestSuite() {
    for (const char* name : {"ERSvc", "wuauserv", "W32Time", "Schedule", "upnphost"})
      ASSERT_TRUE(InstallRunningService(name, BesideTestProgram("minimal_service.exe"))) << name;
  }
  void SetUp() override {
    CreateSettingKeys();
    PutString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot",
              "InstallCount", "1");
    PutString(HKEY_CLASSES_ROOT, "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32",
              "", "C:\\Programme\\Messenger\\msmsgs.exe");
    PutString(HKEY_CURRENT_USER, kRunKey, "MSMSGS", kMessengerAutostart);
  }
  SystemAccess system_;
};

TEST_P(RoundTripOnWine, OffAfterApplyOnAfterRevert) {
  SettingId id = GetParam();
  EXPECT_TRUE(Apply(system_, id));
  EXPECT_TRUE(StatusCheck(system_, id));
  EXPECT_TRUE(Revert(system_, id));
  EXPECT_FALSE(StatusCheck(system_, id));
}

INSTANTIATE_TEST_SUITE_P(RegistryAndServiceSettings, RoundTripOnWine,
                         ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 14u,
                                           19u, 21u, 22u, 23u, 24u, 25u, 26u, 27u, 28u, 29u),
                         [](const auto& info) { return "Setting" + std::to_string(info.param); });

}  // namespace
