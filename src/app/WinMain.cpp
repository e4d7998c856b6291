#include <windows.h>
#include <commctrl.h>

#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "system/SystemAccess.h"
#include "ui/ResourceText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // The dialog template holds a tree-view, whose class must be registered
  // before the dialog is made.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  MainDialog window;
  if (!commandLine || !*commandLine) {
    window.RunModal(nullptr);
    return 0;
  }
  SystemAccess system;
  return RunCommandLine(commandLine, system, LoadText);
}
