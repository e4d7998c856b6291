#include "contract/ContractFixture.h"
#include "platform/fake/FakeMachine.h"

void ClearScratchKey() { fake::ResetMachine(); }

std::string ScratchFolder() { return "C:\\Temp"; }
std::string CurrentFolder() { return fake::Machine().currentFolder; }
void RemoveScratchFile(const std::string& path) { fake::Machine().fileContents.erase(fake::Lower(path)); }

HeldOpen::HeldOpen(const std::string& path) : path_(fake::Lower(path)) {
  fake::Machine().lockedFiles.insert(path_);
}

HeldOpen::~HeldOpen() { fake::Machine().lockedFiles.erase(path_); }

bool PrepareWow64Registry() {
  fake::ResetMachine();
  fake::Machine().registry.SetWow64(true);
  return true;
}
