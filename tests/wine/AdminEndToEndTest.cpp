// hushgate.exe's switches for administrators, run from outside with the
// standard output in a file: the status report, and undo giving back the
// registry and the start types of before.

#include <gtest/gtest.h>

#include <algorithm>

#include "common/SettingKeyPaths.h"
#include "wine/WineHarness.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kOfficeRoot[] = "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot";

// A key with everything below it, values by name, as text.
void DumpKey(HKEY root, const std::string& path, std::string* text) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  *text += "[" + path + "]\n";
  std::vector<std::string> values;
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD nameLength = sizeof name;
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      break;
    values.push_back(std::string(name) + " = " + Describe(root, path, name));
  }
  std::sort(values.begin(), values.end());
  for (const std::string& value : values) *text += value + "\n";
  std::vector<std::string> subKeys;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLength = sizeof name;
    if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    subKeys.push_back(name);
  }
  RegCloseKey(key);
  std::sort(subKeys.begin(), subKeys.end());
  for (const std::string& sub : subKeys)
    if (sub != "Hushgate") DumpKey(root, path + "\\" + sub, text);
}

// Everything the settings of these tests and the backup can touch.
std::string MachineState() {
  std::string text;
  DumpKey(HKEY_CURRENT_USER, "Software", &text);
  DumpKey(HKEY_USERS, ".DEFAULT\\Software", &text);
  DumpKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &text);
  DumpKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Terminal Server", &text);
  DumpKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters", &text);
  text += "ERSvc start " + std::to_string(ReadService("ERSvc").startType) + "\n";
  return text;
}

class AdminEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateSettingKeys();
    ASSERT_TRUE(InstallRunningService("ERSvc", BesideTestProgram("minimal_service.exe")));
    PutString(HKEY_LOCAL_MACHINE, kOfficeRoot, "InstallCount", "1");
    PutString(HKEY_CLASSES_ROOT, kMessengerClass, "", "C:\\Programme\\Messenger\\msmsgs.exe");
    PutString(HKEY_CURRENT_USER, kRunKey, "MSMSGS", kMessengerAutostart);
    PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
    PutString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters",
              "Type", "NT5DS");
  }
};

TEST_F(AdminEndToEnd, UndoGivesBackTheRegistryAndStartTypesOfBefore) {
  const std::string before = MachineState();
  RunResult apply = RunHushgate("1 4 9 14 19 21 26 27");
  ASSERT_FALSE(apply.timedOut);
  ASSERT_NE(before, MachineState());
  std::string report;
  EXPECT_EQ(0, RunWithOutput("/undo", &report)) << report;
  EXPECT_NE(std::string::npos, report.find("4\trestored\t")) << report;
  EXPECT_EQ(before, MachineState());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hushgate"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Hushgate"));
}

TEST_F(AdminEndToEnd, StatusReportsAndChangesNothing) {
  RunHushgate("4");
  const std::string before = MachineState();
  std::string report;
  EXPECT_EQ(1, RunWithOutput("/status 4 5", &report));
  EXPECT_EQ(0u, report.find("Hushgate 3.61\t")) << report;
  EXPECT_NE(std::string::npos,
            report.find("\r\n4\toff\tyes\tFehlerberichterstattung ausschalten\tmachine\tlocal\r\n"))
      << report;
  EXPECT_NE(std::string::npos, report.find("\r\n5\ton\tno\t")) << report;
  EXPECT_EQ(1, RunWithOutput("/status 1 4 27", &report));
  EXPECT_NE(std::string::npos, report.find("\r\n1\tnot-offered\tno\t")) << report;
  EXPECT_NE(std::string::npos, report.find("\tuser\tlocal\r\n4\toff\tyes\t")) << report;
  EXPECT_NE(std::string::npos, report.find("\tmachine\tlocal\r\n27\ton\tno\t")) << report;
  EXPECT_NE(std::string::npos, report.find("\tmachine+user\tlocal\r\n")) << report;
  EXPECT_EQ(0, RunWithOutput("/STATUS 4", &report)) << report;
  PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
  EXPECT_EQ(1, RunWithOutput("/status 4", &report));
  EXPECT_NE(std::string::npos, report.find("\r\n4\ton-again\tyes\t")) << report;
  PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 0);
  EXPECT_EQ(0, RunWithOutput("/preview 4 9 21", &report));
  EXPECT_NE(std::string::npos, report.find("9\tDienst\tERSvc\tjetzt: manuell\t")) << report;
  // Asked with only the rights a query needs, the running service is on.
  EXPECT_EQ(1, RunWithOutput("/status 9", &report));
  EXPECT_NE(std::string::npos, report.find("\r\n9\ton\t")) << report;
  EXPECT_EQ(before, MachineState());
  RunWithOutput("/undo", &report);
}

// Numbers that name no setting are mistyped, and a setting without a backup
// never widens undo to everything.
TEST_F(AdminEndToEnd, UndoOfOtherNumbersChangesNothing) {
  RunHushgate("4");
  const std::string applied = MachineState();
  for (const char* tail : {"/undo 99", "/status 99"}) {
    RunResult run = RunHushgate(tail);
    ASSERT_FALSE(run.timedOut) << tail;
    EXPECT_EQ(2u, run.exitCode) << tail;
    ASSERT_EQ(1u, run.messageBoxes.size()) << tail;
    EXPECT_EQ("You mistyped some of the commandline aguments!", run.messageBoxes[0].text);
    EXPECT_EQ(applied, MachineState()) << tail;
  }
  std::string report;
  EXPECT_EQ(0, RunWithOutput("/undo 28", &report));
  EXPECT_EQ(applied, MachineState());
  EXPECT_NE(std::string::npos, report.find("28\tno-backup\t")) << report;
  RunWithOutput("/undo 4", &report);
  EXPECT_NE(std::string::npos, report.find("4\trestored\t")) << report;
}

}  // namespace
