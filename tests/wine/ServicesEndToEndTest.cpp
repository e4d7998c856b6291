// hushgate.exe disabling real services of the Wine prefix, judged through the
// service control manager from outside.

#include <gtest/gtest.h>

#include "wine/WineHarness.h"

namespace {

const char* const kCommandLineServices[] = {"ERSvc", "wuauserv", "W32Time", "Schedule"};

TEST(ServicesEndToEnd, DisablesAndStopsEachServiceAndKeepsItsConfiguration) {
  const std::string program = BesideTestProgram("minimal_service.exe");
  std::vector<ServiceSnapshot> before;
  for (const char* name : kCommandLineServices) {
    ASSERT_TRUE(InstallRunningService(name, program)) << name;
    before.push_back(ReadService(name));
  }
  RunResult run = RunHushgate("9 10 11 12");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(0u, run.exitCode);
  for (size_t i = 0; i < before.size(); ++i) {
    const char* name = kCommandLineServices[i];
    EXPECT_TRUE(WaitForServiceState(name, SERVICE_STOPPED)) << name;
    ServiceSnapshot after = ReadService(name);
    EXPECT_EQ(DWORD(SERVICE_DISABLED), after.startType) << name;
    EXPECT_EQ(before[i].binaryPath, after.binaryPath) << name;
    EXPECT_EQ(before[i].displayName, after.displayName) << name;
    // Wine's manager reports no dependencies; the comparison holds on Windows.
    EXPECT_EQ(before[i].dependencies, after.dependencies) << name;
  }
}

}  // namespace
