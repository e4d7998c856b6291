// Stands in for a program planted in the working directory or beside the
// tool under a system program's name. If it ever runs, it leaves a marker.

#include <windows.h>

#include "wine/PlantedMarker.h"

int main() {
  HANDLE file = CreateFileA(kPlantedMarker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return 0;
}
