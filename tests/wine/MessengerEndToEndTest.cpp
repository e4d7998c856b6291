// hushgate.exe removing Messenger through the system's INF installer: the
// section of the prefix's msmsgs.inf really runs, and programs planted under
// the installer's name never do.

#include <gtest/gtest.h>

#include <fstream>

#include "wine/PlantedMarker.h"
#include "wine/WineHarness.h"

namespace {

const char kMessengerClass[] = "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32";

std::string WindowsFolderPath() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

class MessengerEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream inf(WindowsFolderPath() + "\\INF\\msmsgs.inf");
    inf << "[Version]\r\nSignature=\"$Windows NT$\"\r\n\r\n"
           "[BLC.Remove]\r\nDelReg=BLC.Remove.Reg\r\n\r\n"
           "[BLC.Remove.Reg]\r\nHKCR,\""
        << kMessengerClass << "\"\r\n";
    inf.close();
    PutString(HKEY_CLASSES_ROOT, kMessengerClass, "", "C:\\Programme\\Messenger\\msmsgs.exe");
    DeleteFileA(kPlantedMarker);
    workFolder_ = WindowsFolderPath() + "\\Temp\\hushgate-cwd";
    CreateDirectoryA(workFolder_.c_str(), nullptr);
    planted_ = {workFolder_ + "\\RunDll32.exe", FolderOf(HushgateExe()) + "\\RunDll32.exe"};
    for (const std::string& path : planted_)
      ASSERT_TRUE(CopyFileA(BesideTestProgram("planted_program.exe").c_str(), path.c_str(), FALSE))
          << path;
  }
  void TearDown() override {
    for (const std::string& path : planted_) DeleteFileA(path.c_str());
  }

  std::string workFolder_;
  std::vector<std::string> planted_;
};

TEST_F(MessengerEndToEnd, InfSectionRemovesTheClassKeyAndExitIsZero) {
  ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kMessengerClass));
  RunResult run = RunHushgate("15", nullptr, 60000, workFolder_.c_str());
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kMessengerClass));
  EXPECT_FALSE(FileExists(kPlantedMarker)) << "a planted RunDll32.exe was started";
}

}  // namespace
