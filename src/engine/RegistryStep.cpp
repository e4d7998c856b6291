#include "engine/RegistryStep.h"

#include "system/SystemAccess.h"

namespace {

bool RunStep(SystemAccess& system, const RegistryStep& step) {
  switch (step.action) {
    case StepAction::kWriteValue:
      return system.WriteRegistryValue(step.root, step.path, step.name, step.data.bytes,
                                       step.data.type, step.data.size);
    case StepAction::kDeleteValue:
      return system.DeleteRegistryValue(step.root, step.path, step.name);
    case StepAction::kDeleteKey:
      return system.DeleteRegistryKey(step.root, step.path, step.name);
  }
  return false;
}

}  // namespace

bool RunRegistrySteps(SystemAccess& system, TableView<RegistryStep> steps, SettingId id) {
  bool any = false;
  bool allDone = true;
  for (const RegistryStep& step : steps) {
    if (step.id != id) continue;
    any = true;
    allDone &= RunStep(system, step);
  }
  return any && allDone;
}
