#pragma once
// A value with its name, type and bytes, as whole keys are read and written.

#include <string>
#include <vector>

#include "platform/WinTypes.h"

struct NamedValue {
  std::string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};
