#include "contract/ContractFixture.h"
#include "platform/fake/FakeMachine.h"

void ClearScratchKey() { fake::ResetMachine(); }
