// The main window's settings refresh and the two applies that launch system
// programs, timed in-process over the real registry and service manager,
// with the seam counting the handles they open.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchRow.h"
#include "CountingPlatform.h"
#include "Stopwatch.h"
#include "WindowCounts.h"
#include "app/MainDialog.h"
#include "engine/Apply.h"
#include "engine/PolicyPlan.h"
#include "engine/StatusCheck.h"
#include "engine/UpdateSource.h"
#include "system/SystemAccess.h"

namespace {

constexpr int kPasses = 20;

struct PassFigures {
  double medianMs;
  double openKeys;      // per pass
  double managerOpens;  // per pass
};

void PrintWindowCounts(const char* what, const WindowCounts& counts, int passes) {
  std::printf("%s, per pass: %.1f tree messages (%.1f item changes), %.1f redraw switches,"
              " %.1f scroll bar updates, %.1f repaints\n",
              what, double(counts.treeMessages) / passes, double(counts.itemSets) / passes,
              double(counts.redrawSwitches) / passes, double(counts.scrollUpdates) / passes,
              double(counts.repaints) / passes);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

struct Measured {
  std::vector<double> times;
  SeamCounts counts;
};

// One pass, timed, its counts added to those of the earlier ones.
void Pass(const std::function<void()>& pass, Measured* measured) {
  Counts() = measured->counts;
  Stopwatch watch;
  pass();
  measured->times.push_back(watch.Milliseconds());
  measured->counts = Counts();
}

// One more pass, untimed, with its window messages counted.
void CountedPass(const char* name, const std::function<void()>& pass) {
  StartCounting();
  pass();
  StopCounting();
  PrintWindowCounts(name, Windows(), 1);
}

PassFigures Report(const char* name, const Measured& measured) {
  const SeamCounts& counts = measured.counts;
  PassFigures figures{Median(measured.times), double(counts.openKeyCalls) / kPasses,
                      double(counts.managerOpenCalls) / kPasses};
  std::printf("%s, %d passes: median %.2f ms; per pass %.1f OpenKey, %.1f OpenServiceManager;"
              " left open: %d keys, %d service handles\n",
              name, kPasses, figures.medianMs, figures.openKeys, figures.managerOpens,
              counts.keysOpened - counts.keysClosed,
              counts.serviceHandlesOpened - counts.serviceHandlesClosed);
  std::fflush(stdout);
  return figures;
}

void BenchRefresh() {
  // The parts of the window's start that the minimal tree dialog lacks: the
  // description pane's library (with what it loads), then the window itself.
  Stopwatch library;
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  LoadLibraryA((std::string(folder, length) + "\\riched20.dll").c_str());
  std::printf("The description pane's library riched20.dll loaded in %.2f ms\n",
              library.Milliseconds());
  MainDialog dialog;
  Counts() = SeamCounts();
  Stopwatch made;
  if (!dialog.Create(nullptr)) {
    std::printf("The main window could not be made\n");
    return;
  }
  std::printf("Main window made (tree built and refreshed) in %.2f ms; %d OpenKey,"
              " %d OpenServiceManager\n",
              made.Milliseconds(), Counts().openKeyCalls, Counts().managerOpenCalls);
  DestroyWindow(dialog.Handle());
  MainDialog counted;
  StartCounting();
  counted.Create(nullptr);
  PrintWindowCounts("Main window made (tree built and refreshed)", Windows(), 1);
  Windows() = WindowCounts();
  PumpMessages();
  StopCounting();
  PrintWindowCounts("Main window first shown", Windows(), 1);
  SettingsTree& settings = counted.Settings();

  // The floor: only what the refresh must know of each setting the tree
  // shows (the "no action" choices have none): its status check and whether
  // it is recommended on this machine. Passes alternate, so that both see
  // the same machine.
  std::vector<SettingId> shown;
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    if (settings.Slot(id).item && !IsNoAction(*FindSetting(id))) shown.push_back(id);
  SystemAccess system;
  auto refreshPass = [&] { settings.RefreshSettingsTree(); };
  auto checksPass = [&] {
    // One manager and one reading of the policies for them all, as the
    // refresh has.
    ServiceControl::SharedManager oneManager(system.Services());
    PolicyView policies(system);
    for (SettingId id : shown) {
      IsRecommendedHere(system, *FindSetting(id));
      if (!policies.Decide(id).decided()) IsSettingOffLocally(system, id);
    }
  };
  Measured refreshes, checks;
  for (int i = 0; i < kPasses; ++i) {
    Pass(refreshPass, &refreshes);
    Pass(checksPass, &checks);
  }
  PassFigures refresh = Report("RefreshSettingsTree", refreshes);
  PassFigures floor = Report("Status checks alone", checks);
  CountedPass("RefreshSettingsTree", [&] {
    refreshPass();
    PumpMessages();
  });
  std::printf("Settings with an item: %zu\n", shown.size());

  const char kFloor[] = "status checks alone";
  PrintRow({"RefreshSettingsTree, ms per call", refresh.medianMs, kFloor, floor.medianMs, 2});
  PrintRow({"OpenKey per refresh", refresh.openKeys, kFloor, floor.openKeys, 0});
  PrintRow({"OpenServiceManager per refresh", refresh.managerOpens, kFloor, floor.managerOpens, 0});
  DestroyWindow(counted.Handle());
  PumpMessages();
}

void BenchApply(SettingId id, const char* what, double pauseSeconds) {
  SystemAccess system;
  Stopwatch watch;
  bool applied = Apply(system, id);
  double seconds = watch.Milliseconds() / 1000;
  std::printf("Apply %u (%s): %.3f s against a pause of %.0f s, %s\n", id, what, seconds,
              pauseSeconds, applied ? "applied" : "not applied");
  PrintRow({"Apply " + std::to_string(id) + " (" + what + "), s", seconds, "its pause",
            pauseSeconds, 2});
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  BenchRefresh();
  BenchApply(30, "regsvr32 /u zipfldr.dll", 3);
  BenchApply(15, "Messenger INF removal", 10);
  return 0;
}
