#include "contract/ContractFixture.h"
#include "platform/fake/FakeMachine.h"

void ClearScratchKey() { fake::ResetMachine(); }

std::string ScratchFolder() { return "C:\\Temp"; }
std::string CurrentFolder() { return fake::Machine().currentFolder; }
void RemoveScratchFile(const std::string& path) { fake::Machine().fileContents.erase(fake::Lower(path)); }

bool PrepareWow64Registry() {
  fake::ResetMachine();
  fake::Machine().registry.SetWow64(true);
  return true;
}
