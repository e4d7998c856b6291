// The main window's settings refresh and the two applies that launch system
// programs, timed in-process over the real registry and service manager,
// with the seam counting the handles they open.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "BenchRow.h"
#include "CountingPlatform.h"
#include "Stopwatch.h"
#include "app/MainDialog.h"
#include "engine/Apply.h"
#include "engine/StatusCheck.h"
#include "system/SystemAccess.h"

namespace {

constexpr int kPasses = 20;

struct PassFigures {
  double medianMs;
  double openKeys;      // per pass
  double managerOpens;  // per pass
};

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

PassFigures Measure(const char* name, const std::function<void()>& pass) {
  Counts() = SeamCounts();
  std::vector<double> times;
  for (int i = 0; i < kPasses; ++i) {
    Stopwatch watch;
    pass();
    times.push_back(watch.Milliseconds());
  }
  const SeamCounts& counts = Counts();
  PassFigures figures{Median(times), double(counts.openKeyCalls) / kPasses,
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
  MainDialog dialog;
  if (!dialog.Create(nullptr)) {
    std::printf("The main window could not be made\n");
    return;
  }
  PumpMessages();
  SettingsTree& settings = dialog.Settings();
  PassFigures refresh = Measure("RefreshSettingsTree", [&] { settings.RefreshSettingsTree(); });

  // The floor: only the status checks of the settings the tree shows.
  std::vector<SettingId> shown;
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    if (settings.Slot(id).item) shown.push_back(id);
  SystemAccess system;
  PassFigures floor = Measure("Status checks alone", [&] {
    for (SettingId id : shown) StatusCheck(system, id);
  });
  std::printf("Settings with an item: %zu\n", shown.size());

  const char kFloor[] = "status checks alone";
  PrintRow({"RefreshSettingsTree, ms per call", refresh.medianMs, kFloor, floor.medianMs, 2});
  PrintRow({"OpenKey per refresh", refresh.openKeys, kFloor, floor.openKeys, 0});
  PrintRow({"OpenServiceManager per refresh", refresh.managerOpens, kFloor, floor.managerOpens, 0});
  DestroyWindow(dialog.Handle());
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
