#include "contract/ContractFixture.h"
#include "wine/WineHarness.h"

void ClearScratchKey() { RemoveKeyTree(HKEY_CURRENT_USER, kScratchKey); }
