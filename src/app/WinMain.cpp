#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/CommandLine.h"
#include "app/CommandSwitches.h"
#include "app/MainDialog.h"
#include "engine/TextSource.h"
#include "system/SystemAccess.h"
#include "ui/ResourceText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  std::string tail = commandLine ? commandLine : "";
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
  // The dialog template holds a tree-view, whose class must be registered
  // before the dialog is made.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  MainDialog window;
  if (tail.empty()) {
    window.RunModal(nullptr);
    return 0;
  }
  SystemAccess system;
  return RunCommandLine(tail, system);
}
