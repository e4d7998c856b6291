// What hushgate.exe knows of a machine before it changes it, seen from
// outside on a real prefix: setting 10 on machines that get updates through
// the update service, the German description pane of every setting, and a
// restore point that Wine cannot make.

#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>

#include "common/SettingKeyPaths.h"
#include "engine/SettingCatalogue.h"
#include "treeoptions/OptionImages.h"
#include "wine/WineHarness.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kLegacyUpdate[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Legacy Update";
const char kUpdatePolicy[] = "Software\\Policies\\Microsoft\\Windows\\WindowsUpdate";
const char kPosReady[] = "System\\WPA\\PosReady";
constexpr int kUpdatesNeedService = 111;
constexpr int kTreeId = 1048;

// The exe's German string table, read from its resources.
std::string GermanText(int id) {
  static HMODULE exe = LoadLibraryExA(HushgateExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = FindResourceExA(exe, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(id / 16 + 1),
                                MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL));
  const WCHAR* at =
      found ? static_cast<const WCHAR*>(LockResource(LoadResource(exe, found))) : nullptr;
  if (!at) return "<no block>";
  for (int i = 0; i < id % 16; ++i) at += 1 + *at;
  std::string text(*at * 2 + 1, '\0');
  int length =
      WideCharToMultiByte(1252, 0, at + 1, *at, &text[0], int(text.size()), nullptr, nullptr);
  text.resize(length > 0 ? length : 0);
  return text;
}

// The main window of a running hushgate.exe, driven from outside. Tree items
// are read through a buffer in its own memory.
class RunningWindow {
 public:
  explicit RunningWindow(const std::string& arguments) {
    std::string commandLine = "\"" + HushgateExe() + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
      return;
    // Visible once its tree is built.
    for (int i = 0; i < 600 && !window_; ++i) {
      HWND found = FindWindowA("#32770", "Hushgate V3.61");
      if (found && IsWindowVisible(found))
        window_ = found;
      else
        Sleep(50);
    }
    tree_ = GetDlgItem(window_, kTreeId);
    pane_ = FindWindowExA(window_, nullptr, "RichEdit20A", nullptr);
    remote_ = VirtualAllocEx(process_.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RunningWindow() {
    if (remote_) VirtualFreeEx(process_.hProcess, remote_, 0, MEM_RELEASE);
    if (window_) PostMessageA(window_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0)
      TerminateProcess(process_.hProcess, 0xdead);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool IsOpen() const { return tree_ && pane_ && remote_; }

  // Every setting item (the children of the categories): text and image.
  std::map<std::string, std::pair<HTREEITEM, int>> Items() {
    std::map<std::string, std::pair<HTREEITEM, int>> items;
    for (HTREEITEM category = Next(nullptr, TVGN_ROOT); category;
         category = Next(category, TVGN_NEXT))
      for (HTREEITEM item = Next(category, TVGN_CHILD); item; item = Next(item, TVGN_NEXT)) {
        auto [text, image] = Read(item);
        items[text] = {item, image};
      }
    return items;
  }
  // Selects the item, as the arrow keys do, and reads the pane.
  std::string PaneOf(HTREEITEM item) {
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    static char text[8192];
    text[0] = 0;
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(pane_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                        5000, &copied);
    return text;
  }

 private:
  HTREEITEM Next(HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  }
  std::pair<std::string, int> Read(HTREEITEM item) {
    char* remoteText = static_cast<char*>(remote_) + 1024;
    TVITEMA query = {};
    query.mask = TVIF_TEXT | TVIF_IMAGE;
    query.hItem = item;
    query.pszText = remoteText;
    query.cchTextMax = 1024;
    SIZE_T moved = 0;
    WriteProcessMemory(process_.hProcess, remote_, &query, sizeof query, &moved);
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_));
    char text[1024] = {};
    ReadProcessMemory(process_.hProcess, remote_, &query, sizeof query, &moved);
    ReadProcessMemory(process_.hProcess, remoteText, text, sizeof text - 1, &moved);
    return {text, query.iImage};
  }

  PROCESS_INFORMATION process_ = {};
  HWND window_ = nullptr;
  HWND tree_ = nullptr;
  HWND pane_ = nullptr;
  void* remote_ = nullptr;
};

// Other tests may leave the update service disabled; 10 must be on here.
void StartOnDemand(const char* service) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE handle = manager ? OpenServiceA(manager, service, SERVICE_CHANGE_CONFIG) : nullptr;
  if (handle)
    ChangeServiceConfigA(handle, SERVICE_NO_CHANGE, SERVICE_DEMAND_START, SERVICE_NO_CHANGE,
                         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (handle) CloseServiceHandle(handle);
  if (manager) CloseServiceHandle(manager);
}

class BeforeChangesEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    StartOnDemand("wuauserv");
    CreateSettingKeys();
    ClearMarks();
    PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
    RemoveKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hushgate");
  }
  void TearDown() override {
    ClearMarks();
    RemoveValue(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "srclient");
  }
  static void ClearMarks() {
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kLegacyUpdate);
    RemoveValue(HKEY_LOCAL_MACHINE, kUpdatePolicy, "WUServer");
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kPosReady);
  }
};

// Each mark alone: no red mark on 10, and the reason in its pane and preview.
TEST_F(BeforeChangesEndToEnd, UpdatesThroughTheServiceKeepTenUnchosenAndSayWhy) {
  const std::string label = GermanText(FindSetting(10)->labelId);
  const std::string warning = GermanText(kUpdatesNeedService);
  const std::function<void()> marks[] = {
      [] {},
      [] { CreateRegistryKey(HKEY_LOCAL_MACHINE, kLegacyUpdate); },
      [] { PutString(HKEY_LOCAL_MACHINE, kUpdatePolicy, "WUServer", "http://wsus.example:8530"); },
      [] { PutNumber(HKEY_LOCAL_MACHINE, kPosReady, "Installed", 1); },
  };
  for (size_t i = 0; i < std::size(marks); ++i) {
    ClearMarks();
    marks[i]();
    const bool marked = i > 0;
    RunningWindow window("/lang:de");
    ASSERT_TRUE(window.IsOpen()) << i;
    auto items = window.Items();
    ASSERT_TRUE(items.count(label)) << "setting 10 not offered";
    EXPECT_EQ(marked ? ImageUnchecked : ImageCheckedAttention, items[label].second) << i;
    const std::string pane = window.PaneOf(items[label].first);
    EXPECT_EQ(marked, pane.find(warning) != std::string::npos) << i << ": " << pane;
    std::string report;
    EXPECT_EQ(0, RunWithOutput("/lang:de /preview 10", &report));
    EXPECT_EQ(marked, report.find("10\t" + warning + "\r\n") != std::string::npos) << report;
  }
}

TEST_F(BeforeChangesEndToEnd, GermanPaneOfEverySettingBeginsWithItsDescription) {
  RunningWindow window("/lang:de");
  ASSERT_TRUE(window.IsOpen());
  auto items = window.Items();
  size_t seen = 0;
  for (const SettingEntry& setting : AllSettings()) {
    auto item = items.find(GermanText(setting.labelId));
    if (item == items.end()) continue;
    ++seen;
    const std::string description = GermanText(setting.descriptionId);
    const std::string pane = window.PaneOf(item->second.first);
    EXPECT_EQ(description + "\r\n\r\n", pane.substr(0, description.size() + 4)) << setting.id;
    EXPECT_NE(std::string::npos, pane.find(GermanText(setting.consequenceId))) << setting.id;
  }
  EXPECT_EQ(items.size(), seen) << "a tree item matched no setting's label";
}

// Wine's srclient.dll refuses; without it, the library is missing. Either
// way, nothing is changed and the run says so.
TEST_F(BeforeChangesEndToEnd, RestorePointThatCannotBeMadeChangesNothing) {
  for (bool dllThere : {true, false})
    for (const char* numbers : {"13", "4 13"}) {
      if (!dllThere) PutString(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "srclient", "");
      std::string report;
      EXPECT_EQ(3, RunWithOutput(std::string("/lang:de /restorepoint ") + numbers, &report))
          << dllThere << " " << numbers;
      EXPECT_EQ("Wiederherstellungspunkt nicht verfügbar\r\n", report) << dllThere;
      EXPECT_EQ("type 4: 01 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
      EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hushgate")) << "a backup was written";
    }
}

}  // namespace
