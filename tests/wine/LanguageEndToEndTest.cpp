// Which language hushgate.exe speaks, judged from outside: the user's
// interface language without a switch, and /lang:de or /lang:en before the
// window, the switches or the numbers. The same tests run once on a German
// and once on an English system (ctest sets the locale).

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/SettingKeyPaths.h"
#include "wine/WineHarness.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kMistyped[] = "You mistyped some of the commandline aguments!";

struct Words {
  const char* label4;   // the label of setting 4
  const char* service;  // the kind of a service's line in /preview
  const char* apply;    // the apply button
};

const Words kGerman = {"Fehlerberichterstattung ausschalten", "Dienst", "&Einstellungen übernehmen"};
const Words kEnglish = {"Switch off error reporting", "service", "&Apply settings"};

// What this process's locale asks for; hushgate.exe, started from here,
// gets the same.
bool SystemIsGerman() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN; }

std::string TextOf(HWND hwnd) {
  char text[256] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                      5000, &copied);
  return text;
}

HWND MainWindowOf(DWORD processId) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", "Hushgate V3.61"));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return window;
  }
  return nullptr;
}

// Starts the window with the arguments, reads its apply button from outside
// and closes it again.
std::string ApplyButtonText(const std::string& arguments) {
  std::string commandLine = "\"" + HushgateExe() + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return "<not started>";
  HWND window = nullptr;
  for (int i = 0; i < 600 && !window; ++i) {
    window = MainWindowOf(process.dwProcessId);
    if (!window) Sleep(50);
  }
  std::string text = window ? TextOf(GetDlgItem(window, 1000)) : "<no window>";
  if (window) PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 0xdead);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return text;
}

class LanguageEndToEnd : public ::testing::Test {
 protected:
  // Setting 4 on, and no backup or mark of an earlier run.
  void SetUp() override {
    CreateSettingKeys();
    PutNumber(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", 1);
    RemoveKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hushgate");
    RemoveKeyTree(HKEY_CURRENT_USER, "Software\\Hushgate");
  }
  void TearDown() override { SetUp(); }
  // The report, the preview and the window of a run with the arguments
  // before them all speak the language of the words.
  void ExpectSpoken(const std::string& language, const Words& words) {
    std::string report;
    EXPECT_EQ(1, RunWithOutput(language + " /status 4", &report)) << report;
    EXPECT_NE(std::string::npos, report.find("\r\n4\ton\tno\t" + std::string(words.label4) + "\tmachine\tlocal\r\n"))
        << report;
    EXPECT_EQ(0, RunWithOutput(language + " /preview 9", &report)) << report;
    EXPECT_EQ(0u, report.find("9\t" + std::string(words.service) + "\t")) << report;
    EXPECT_EQ(words.apply, ApplyButtonText(language));
  }
};

TEST_F(LanguageEndToEnd, WithoutTheSwitchTheUserInterfaceLanguageChooses) {
  if (const char* expected = std::getenv("HUSHGATE_EXPECTED_LANGUAGE")) {
    ASSERT_EQ(std::string(expected), SystemIsGerman() ? "de" : "en")
        << "the locale did not reach Wine";
  }
  ExpectSpoken("", SystemIsGerman() ? kGerman : kEnglish);
}

TEST_F(LanguageEndToEnd, TheSwitchChoosesWhateverTheSystem) {
  ExpectSpoken("/lang:de", kGerman);
  ExpectSpoken("/LANG:en", kEnglish);
}

TEST_F(LanguageEndToEnd, NumbersMayFollowAndOtherLanguagesAreMistyped) {
  RunResult numbers = RunHushgate("/lang:en 4 13");
  EXPECT_EQ(0u, numbers.exitCode);
  EXPECT_TRUE(numbers.messageBoxes.empty());
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  RunResult other = RunHushgate("/lang:fr 4");
  EXPECT_EQ(2u, other.exitCode);
  ASSERT_EQ(1u, other.messageBoxes.size());
  EXPECT_EQ(kMistyped, other.messageBoxes[0].text);
}

}  // namespace
