#pragma once
// Which registry of a 64-bit Windows a location lives in. This 32-bit program
// runs there under WOW64, where HKLM\SOFTWARE (and HKCR's class ids) are
// redirected to 32-bit copies that the 64-bit system never reads. On 32-bit
// Windows there is one registry, and no view flag is ever passed: Windows
// 2000 refuses it.

#include "platform/WinTypes.h"

enum class RegistryView {
  kSystem,  // the system's own: the 64-bit one under WOW64
  k32Bit,   // the 32-bit copy: a component that is 32-bit only, the program's own keys
  kEach,    // plan rows only: a component with both halves, in each view where its key is
};

// What an open, create or delete below the root in the view adds to its
// access: nothing on 32-bit Windows, for the 32-bit view, which is this
// program's own, and below HKCU and HKU, which are one for both widths; so
// those calls stay the ones earlier versions made.
REGSAM ViewAccess(RegistryView view, HKEY root);
