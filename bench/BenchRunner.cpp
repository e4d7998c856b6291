// Starts each program as its own process, side by side with its baseline,
// times it from the Windows side and prints the table of all figures.
// Arguments: hushgate.exe minimal_program.exe floor_kernel_advapi.exe
// floor_eager_imports.exe minimal_tree_dialog.exe in_process_bench.exe
// (Windows paths).
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchRow.h"
#include "Stopwatch.h"

namespace {

constexpr int kCommandLineRuns = 15;
constexpr int kWindowRuns = 15;
constexpr int kProfileRuns = 5;
constexpr int kTreeId = 1048;
constexpr DWORD kWindowTimeoutMs = 30000;
// Lets the window paint before its memory is read.
constexpr DWORD kSettleMs = 300;
const char kMainTitle[] = "Hushgate V3.61";
const char kMinimalTitle[] = "Minimal tree";

bool Start(const std::string& commandLine, PROCESS_INFORMATION* process) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string line = commandLine;
  return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, process) != FALSE;
}

void Finish(PROCESS_INFORMATION& process) {
  if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT) {
    std::printf("  (a process did not end; terminated)\n");
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

double MillisecondsToExit(const std::string& commandLine) {
  Stopwatch watch;
  PROCESS_INFORMATION process = {};
  if (!Start(commandLine, &process)) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  double elapsed = watch.Milliseconds();
  Finish(process);
  return elapsed;
}

struct WindowSearch {
  DWORD processId;
  const char* title;
  HWND found;
};

// The process's visible top-level window of that title whose tree holds items.
BOOL CALLBACK FindFilledWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  char title[128] = {};
  GetWindowTextA(window, title, sizeof title);
  HWND tree = GetDlgItem(window, kTreeId);
  DWORD_PTR count = 0;
  if (std::string(title) != search->title || !tree ||
      !SendMessageTimeoutA(tree, TVM_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count) || count == 0)
    return TRUE;
  search->found = window;
  return FALSE;
}

struct WindowRun {
  double shownMs = -1;
  double peakWorkingSetKiB = 0;
  double peakPagefileKiB = 0;
};

WindowRun RunWindow(const std::string& exe, const char* title) {
  WindowRun run;
  Stopwatch watch;
  PROCESS_INFORMATION process = {};
  if (!Start(Quoted(exe), &process)) return run;
  WindowSearch search{process.dwProcessId, title, nullptr};
  while (!search.found && watch.Milliseconds() < kWindowTimeoutMs &&
         WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT)
    EnumWindows(FindFilledWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found) {
    run.shownMs = watch.Milliseconds();
    Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
      run.peakWorkingSetKiB = memory.PeakWorkingSetSize / 1024.0;
      run.peakPagefileKiB = memory.PeakPagefileUsage / 1024.0;
    }
    PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  } else {
    std::printf("  (window \"%s\" not seen)\n", title);
    TerminateProcess(process.hProcess, 1);
  }
  Finish(process);
  return run;
}

double FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return double(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
}

// Runs the program with its output piped here: echoes it and keeps its rows.
void RunAndCollectRows(const std::string& commandLine, std::vector<BenchRow>* rows) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string line = commandLine;
  PROCESS_INFORMATION process = {};
  BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                &startup, &process);
  CloseHandle(writeEnd);
  if (started) {
    std::string pending;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      pending.append(buffer, got);
      for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
        std::string text = pending.substr(0, end);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        BenchRow row;
        if (ParseRow(text, &row))
          rows->push_back(row);
        else
          std::printf("  %s\n", text.c_str());
      }
    }
    Finish(process);
  }
  CloseHandle(readEnd);
}

void PrintTable(const std::vector<BenchRow>& rows) {
  std::printf("\n%-52s %10s   %-28s %10s %8s\n", "figure", "hushgate", "against", "value",
              "ratio");
  std::printf("%s\n", std::string(113, '-').c_str());
  for (const BenchRow& row : rows) {
    std::printf("%-52s %10.*f   %-28s %10.*f ", row.figure.c_str(), row.decimals, row.value,
                row.against.c_str(), row.decimals, row.baseline);
    if (row.baseline > 0)
      std::printf("%8.2f\n", row.value / row.baseline);
    else
      std::printf("%8s\n", "-");
  }
}

// The command line's settings without the Messenger removal and the support
// account, whose installer wait and account would swamp the figure: as
// numbers, and as a profile that names every setting of the tree.
const char kProfileNumbers[] = "0 1 2 3 4 5 6 7 8 9 10 11 12 14 19 21 22 23 24 26 27";
const char kProfileText[] =
    "[Hushgate]\r\nFormat=1\r\n[Settings]\r\n0=off\r\n1=off\r\n2=off\r\n3=off\r\n4=off\r\n"
    "5=off\r\n6=off\r\n7=off\r\n8=off\r\n9=off\r\n10=off\r\n11=off\r\n12=off\r\n14=off\r\n"
    "15=leave\r\n16=leave\r\n19=off\r\n21=off\r\n22=off\r\n23=off\r\n24=off\r\n25=leave\r\n"
    "26=off\r\n27=off\r\n28=leave\r\n29=leave\r\n30=leave\r\n";

// Each run starts from the same machine: undo, not measured, puts back what
// the run before changed.
void CompareProfileWithNumbers(const std::string& hushgate, std::vector<BenchRow>* rows) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string profile = std::string(folder) + "bench-profile.ini";
  HANDLE file = CreateFileA(profile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, kProfileText, sizeof kProfileText - 1, &written, nullptr);
  CloseHandle(file);
  const std::string undo = Quoted(hushgate) + " /undo";
  const std::vector<std::string> commandLines = {Quoted(hushgate) + " " + kProfileNumbers,
                                                 Quoted(hushgate) + " /profile:" + Quoted(profile)};
  std::vector<std::vector<double>> times(commandLines.size());
  for (int i = 0; i < kProfileRuns; ++i)
    for (size_t run = 0; run < commandLines.size(); ++run) {
      MillisecondsToExit(undo);
      times[run].push_back(MillisecondsToExit(commandLines[run]));
    }
  MillisecondsToExit(undo);
  DeleteFileA(profile.c_str());
  std::printf("  medians: %.1f ms (numbers) and %.1f ms (profile)\n", Median(times[0]),
              Median(times[1]));
  rows->push_back({"start to exit, 21 settings as /profile:, ms", Median(times[1]),
                   "the same as numbers", Median(times[0]), 1});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::printf("usage: bench_runner hushgate.exe minimal_program.exe floor_kernel_advapi.exe"
                " floor_eager_imports.exe minimal_tree_dialog.exe in_process_bench.exe\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::string hushgate = argv[1], minimalProgram = argv[2], kernelAdvapi = argv[3],
                    eagerImports = argv[4], minimalTree = argv[5], inProcess = argv[6];
  std::vector<BenchRow> rows;

  std::printf("Command line: \"hushgate.exe 13\" against the minimal program and the two"
              " floors, %d runs each, alternating\n", kCommandLineRuns);
  const std::vector<std::string> commandLines = {Quoted(hushgate) + " 13", Quoted(minimalProgram),
                                                 Quoted(kernelAdvapi), Quoted(eagerImports)};
  // Warm-up: the first start fills caches.
  for (const std::string& commandLine : commandLines) MillisecondsToExit(commandLine);
  std::vector<std::vector<double>> times(commandLines.size());
  for (int i = 0; i < kCommandLineRuns; ++i)
    for (size_t program = 0; program < commandLines.size(); ++program)
      times[program].push_back(MillisecondsToExit(commandLines[program]));
  std::printf("  medians: %.1f ms, %.1f ms, %.1f ms and %.1f ms\n", Median(times[0]),
              Median(times[1]), Median(times[2]), Median(times[3]));
  const char kThirteen[] = "start to exit, \"hushgate.exe 13\", ms";
  rows.push_back({kThirteen, Median(times[0]), "minimal program", Median(times[1]), 1});
  rows.push_back({kThirteen, Median(times[0]), "kernel32+advapi32 only", Median(times[2]), 1});
  rows.push_back({kThirteen, Median(times[0]), "main's eager imports, empty", Median(times[3]), 1});

  std::printf("Profile: the same settings as numbers and as /profile:, %d runs each,"
              " alternating\n", kProfileRuns);
  CompareProfileWithNumbers(hushgate, &rows);

  std::printf("Main window: start until shown with a filled tree, %d runs each, alternating\n",
              kWindowRuns);
  RunWindow(hushgate, kMainTitle);  // warm-up
  RunWindow(minimalTree, kMinimalTitle);
  std::vector<double> mainShown, treeShown, mainSet, treeSet, mainPage, treePage;
  for (int i = 0; i < kWindowRuns; ++i) {
    WindowRun main = RunWindow(hushgate, kMainTitle);
    WindowRun tree = RunWindow(minimalTree, kMinimalTitle);
    std::printf("  run %d: %.1f ms and %.1f ms\n", i + 1, main.shownMs, tree.shownMs);
    mainShown.push_back(main.shownMs);
    treeShown.push_back(tree.shownMs);
    mainSet.push_back(main.peakWorkingSetKiB);
    treeSet.push_back(tree.peakWorkingSetKiB);
    mainPage.push_back(main.peakPagefileKiB);
    treePage.push_back(tree.peakPagefileKiB);
  }
  const char kTree[] = "minimal tree dialog";
  rows.push_back({"main window shown with filled tree, ms", Median(mainShown), kTree,
                  Median(treeShown), 1});
  rows.push_back({"peak working set, window shown, KiB", Median(mainSet), kTree, Median(treeSet),
                  0});
  rows.push_back({"peak pagefile usage, window shown, KiB", Median(mainPage), kTree,
                  Median(treePage), 0});
  rows.push_back({"exe size, bytes", FileBytes(hushgate), kTree, FileBytes(minimalTree), 0});

  std::printf("In-process: settings refresh and applies over the real system\n");
  RunAndCollectRows(Quoted(inProcess), &rows);

  PrintTable(rows);
  return 0;
}
