#include <windows.h>

#include "app/CommandLine.h"
#include "system/SystemAccess.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (!commandLine || !*commandLine) return 0;
  SystemAccess system;
  return RunCommandLine(commandLine, system);
}
