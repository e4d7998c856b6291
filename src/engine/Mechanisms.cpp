#include "engine/Revert.h"

#include <string>
#include <vector>

#include "engine/RegistryStep.h"
#include "engine/SettingKeys.h"
#include "platform/Platform.h"
#include "system/RegistryKey.h"
#include "system/SystemAccess.h"

namespace {

using namespace keys;
using namespace data;
constexpr StepAction kWrite = StepAction::kWriteValue;
constexpr StepAction kDelete = StepAction::kDeleteValue;

const RegistryStep kRevertSteps[] = {
    {1, kDelete, HKEY_CURRENT_USER, kMediaPlayerPreferences, "SilentAcquisition", {}},
    {2, kDelete, HKEY_CURRENT_USER, kMediaPlayerPreferences, "SendUserGUID", {}},
    {3, kDelete, HKEY_CURRENT_USER, kMediaPlayerPreferences, "UpgradeCodecPrompt", {}},
    {4, kWrite, HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", kNumber1},
    {5, kWrite, HKEY_LOCAL_MACHINE, kErrorReporting, "ShowUI", kNumber1},
    {6, kWrite, HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates", kNumber0},
    {7, kWrite, HKEY_CURRENT_USER, kExplorerMain, "NoUpdateCheck", kNumber0},
    {8, kWrite, HKEY_CURRENT_USER, kInternetSettings, "EnableNegotiate", kNumber1},
    {19, kWrite, HKEY_LOCAL_MACHINE, kTerminalServer, "fAllowToGetHelp", kNumber1},
    {21, kWrite, HKEY_LOCAL_MACHINE, kTimeParameters, "Type", kTextNtp},
    {22, kDelete, HKEY_LOCAL_MACHINE, kExplorerAdvanced, "EnableBalloonTips", {}},
    {23, kWrite, HKEY_LOCAL_MACHINE, kMemoryManagement, "ClearPageFileAtShutdown", kNumber0},
    {24, kDelete, HKEY_LOCAL_MACHINE, kOutlookExpress, "Hide Messenger", {}},
    {27, kDelete, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNeverUpload", {}},
    {27, kDelete, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoExternalURL", {}},
    {27, kDelete, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoFileCollection", {}},
    {27, kDelete, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoSecondLevelCollection", {}},
    {27, kDelete, HKEY_USERS, kOfficeCommonDefault, "DWNeverUpload", {}},
    {27, kDelete, HKEY_USERS, kOfficeCommonDefault, "DWNoExternalURL", {}},
    {27, kDelete, HKEY_USERS, kOfficeCommonDefault, "DWNoFileCollection", {}},
    {27, kDelete, HKEY_USERS, kOfficeCommonDefault, "DWNoSecondLevelCollection", {}},
    {28, kWrite, HKEY_LOCAL_MACHINE, kShutdownControl, "WaitToKillServiceTimeout", kText20000},
    {28, kWrite, HKEY_CURRENT_USER, kDesktop, "AutoEndTasks", kText0},
    {29, kWrite, HKEY_CURRENT_USER, kInternetSettings, "MaxConnectionsPer1_0Server", kNumber4},
    {29, kWrite, HKEY_CURRENT_USER, kInternetSettings, "MaxConnectionsPerServer", kNumber4},
};

TableView<RegistryStep> RevertSteps() {
  return {kRevertSteps, sizeof kRevertSteps / sizeof kRevertSteps[0]};
}

bool EnableService(SystemAccess& system, const char* name) {
  bool automatic = system.Services().SetServiceStartType(SERVICE_AUTO_START, name);
  system.Services().StartServiceByName(name);
  return automatic;
}

// The Messenger's own program path, read whole whatever its length. Only a
// text that is not empty is a path: an autostart entry made of a number, raw
// bytes or nothing would start nothing.
bool ReadMessengerPath(std::string* path) {
  RegistryKey key;
  DWORD type = 0;
  std::vector<BYTE> data;
  if (key.Open(HKEY_CLASSES_ROOT, kMessengerServer, KEY_READ) != ERROR_SUCCESS ||
      key.ReadWhole("", &type, &data) != ERROR_SUCCESS)
    return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  *path = TextUpToZero(data);
  return !path->empty();
}

bool RestoreMessengerAutostart(SystemAccess& system) {
  std::string path;
  if (!ReadMessengerPath(&path)) {
    platform::ShowMessageBox(nullptr,
                             "Der MS Messenger ist auf diesem System nicht installiert, somit kann "
                             "diese Funktion nicht rückgängig gemacht werden.",
                             platform::ProgramName().c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  return system.WriteRegistryValue(HKEY_CURRENT_USER, kRun, "MSMSGS", path.c_str(), REG_SZ,
                                   DWORD(path.size() + 1));
}

}  // namespace

bool Revert(SystemAccess& system, SettingId id) {
  const SettingEntry* entry = FindSetting(id);
  if (entry && entry->serviceName) return EnableService(system, entry->serviceName);
  switch (id) {
    case 14:
      return RestoreMessengerAutostart(system);
    case 26:
      return system.WriteQosPolicy(kQosRemove);
    case 30:
      return system.RegisterComponent("zipfldr.dll");
  }
  return RunRegistrySteps(system, RevertSteps(), id);
}

void ResetAll(SystemAccess& system) {
  for (SettingId id = 0; id <= kLastSettingId; ++id) Revert(system, id);
}
