#pragma once
// The contract suite runs against whichever seam the test program links: the
// fake natively, Wine's registry under Wine. Each side says how to get a
// clean scratch key.

#include "platform/Platform.h"

inline constexpr char kScratchKey[] = "Software\\HushgateContract";

// Leaves HKEY_CURRENT_USER\Software\HushgateContract absent.
void ClearScratchKey();
