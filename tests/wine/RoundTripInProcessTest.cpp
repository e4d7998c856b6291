// Apply and revert through SystemAccess on Wine's real registry and service
// manager, judged by the status check: off after apply, on after revert.

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// A service's configuration as the wide API reports it, every field but the
// start type and the tag.
std::wstring WideConfiguration(const wchar_t* name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = manager ? OpenServiceW(manager, name, SERVICE_ALL_ACCESS) : nullptr;
  std::wstring text = L"unreadable";
  DWORD needed = 0;
  QueryServiceConfigW(service, nullptr, 0, &needed);
  std::vector<QUERY_SERVICE_CONFIGW> buffer(needed / sizeof(QUERY_SERVICE_CONFIGW) + 1);
  if (service && QueryServiceConfigW(service, buffer.data(),
                                     DWORD(buffer.size() * sizeof buffer[0]), &needed)) {
    const QUERY_SERVICE_CONFIGW& c = buffer[0];
    auto field = [](const wchar_t* s) { return std::wstring(s ? s : L"(null)") + L"|"; };
    text = std::to_wstring(c.dwServiceType) + L"|" + std::to_wstring(c.dwErrorControl) + L"|" +
           field(c.lpBinaryPathName) + field(c.lpLoadOrderGroup) + field(c.lpDependencies) +
           field(c.lpServiceStartName) + field(c.lpDisplayName);
  }
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return text;
}

bool ReconfigureWide(const wchar_t* name, const wchar_t* path, const wchar_t* display) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = manager ? OpenServiceW(manager, name, SERVICE_ALL_ACCESS) : nullptr;
  bool done = service && ChangeServiceConfigW(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                              SERVICE_NO_CHANGE, path, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, display);
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return done;
}

// Characters outside the ANSI code page survive apply and revert: only the
// start type is handed to the service manager.
TEST_F(RoundTripOnWine, ServiceNamesOutsideTheCodePageAreKeptByApplyAndRevert) {
  const std::wstring original = WideConfiguration(L"W32Time");
  ASSERT_NE(L"unreadable", original);
  ASSERT_TRUE(ReconfigureWide(L"W32Time", L"C:\\Dienste\\Zeit \u2603 \u03A9\\w32time.exe",
                              L"Zeit \u2603 \u03A9"));
  const std::wstring before = WideConfiguration(L"W32Time");
  ASSERT_NE(std::wstring::npos, before.find(L"Zeit \u2603 \u03A9|"));
  EXPECT_TRUE(Apply(system_, 11));
  EXPECT_EQ(DWORD(SERVICE_DISABLED), ReadService("W32Time").startType);
  EXPECT_TRUE(before == WideConfiguration(L"W32Time")) << "apply rewrote the configuration";
  EXPECT_TRUE(Revert(system_, 11));
  EXPECT_EQ(DWORD(SERVICE_AUTO_START), ReadService("W32Time").startType);
  EXPECT_TRUE(before == WideConfiguration(L"W32Time")) << "revert rewrote the configuration";
  ASSERT_TRUE(InstallRunningService("W32Time", BesideTestProgram("minimal_service.exe")));
}

}  // namespace
