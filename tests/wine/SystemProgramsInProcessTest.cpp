// SystemAccess launching the system's own regsvr32 for the ZIP folder
// setting, with impostors planted where a search-path lookup would find them.

#include <gtest/gtest.h>

#include "engine/Apply.h"
#include "system/SystemAccess.h"
#include "wine/PlantedMarker.h"
#include "wine/WineHarness.h"

namespace {

class ZipFolderSetting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA(BesideTestProgram("zipfldr.dll").c_str(),
                          (SystemFolderPath() + "\\zipfldr.dll").c_str(), FALSE));
    RemoveKeyTree(HKEY_CURRENT_USER, kStandInKey);
    DeleteFileA(kPlantedMarker);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    previousFolder_ = current;
    std::string work = SystemFolderPath() + "\\..\\Temp\\hushgate-planted";
    CreateDirectoryA(work.c_str(), nullptr);
    planted_ = {work + "\\regsvr32.exe", BesideTestProgram("regsvr32.exe")};
    for (const std::string& path : planted_)
      ASSERT_TRUE(CopyFileA(BesideTestProgram("planted_program.exe").c_str(), path.c_str(), FALSE));
    SetCurrentDirectoryA(work.c_str());
  }
  void TearDown() override {
    SetCurrentDirectoryA(previousFolder_.c_str());
    for (const std::string& path : planted_) DeleteFileA(path.c_str());
  }

  std::string previousFolder_;
  std::vector<std::string> planted_;
};

TEST_F(ZipFolderSetting, ApplyUnregistersThroughTheSystemsRegsvr32) {
  SystemAccess system;
  EXPECT_TRUE(Apply(system, 30));
  EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_CURRENT_USER, kStandInKey, "Unregistered"));
  EXPECT_FALSE(FileExists(kPlantedMarker)) << "a planted regsvr32.exe was started";
}

TEST_F(ZipFolderSetting, RegisterRunsTheLibrarysRegistration) {
  SystemAccess system;
  EXPECT_TRUE(system.RegisterComponent("zipfldr.dll"));
  EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_CURRENT_USER, kStandInKey, "Registered"));
  EXPECT_FALSE(FileExists(kPlantedMarker));
}

TEST_F(ZipFolderSetting, MissingLibraryIsReportedAfterThePause) {
  DeleteFileA((SystemFolderPath() + "\\zipfldr.dll").c_str());
  SystemAccess system;
  DWORD start = GetTickCount();
  EXPECT_FALSE(system.UnregisterComponent("zipfldr.dll"));
  EXPECT_GE(GetTickCount() - start, 2900u);
}

}  // namespace
