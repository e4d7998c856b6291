#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/CommandLine.h"
#include "app/CommandSwitches.h"
#include "app/MainDialog.h"
#include "engine/TextSource.h"
#include "system/SystemAccess.h"
#include "ui/ResourceText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Not WinMain's lpCmdLine: MinGW's start-up code skips the blanks before it
  // with a signed comparison, so a leading 'é' or no-break space vanished
  // and "é4" applied setting 4.
  std::string tail = CommandLineTail(GetCommandLineA());
  switch (TakeLanguageSwitch(&tail)) {
    case LanguageSwitch::kGerman:
      UseLanguage(Language::kGerman);
      break;
    case LanguageSwitch::kEnglish:
      UseLanguage(Language::kEnglish);
      break;
    case LanguageSwitch::kNone:
      break;
  }
  // Messages and reports come from the string table in the windows' language.
  SetTextSource(LoadText);
  if (!tail.empty()) {
    SystemAccess system;
    return RunCommandLine(tail, system);
  }
  // Asked while the libraries load and the window is made.
  ServiceProbe probe;
  // The dialog template holds a tree-view, whose class must be registered
  // before the dialog is made.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  MainDialog window(&probe);
  window.RunModal(nullptr);
  return 0;
}
