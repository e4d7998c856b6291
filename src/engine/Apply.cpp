#include "engine/Apply.h"

#include "engine/RegistryStep.h"
#include "engine/SettingKeys.h"
#include "system/SystemAccess.h"

namespace {

using namespace keys;
using namespace data;
constexpr StepAction kWrite = StepAction::kWriteValue;
constexpr StepAction kDeleteValue = StepAction::kDeleteValue;
constexpr StepAction kDeleteKey = StepAction::kDeleteKey;

const RegistryStep kApplySteps[] = {
    {0, kDeleteKey, HKEY_LOCAL_MACHINE, kExtensions, kAlexaExtension, {}},
    {1, kWrite, HKEY_CURRENT_USER, kMediaPlayerPreferences, "SilentAcquisition", kZeroByte},
    {2, kWrite, HKEY_CURRENT_USER, kMediaPlayerPreferences, "SendUserGUID", kZeroByte},
    {3, kWrite, HKEY_CURRENT_USER, kMediaPlayerPreferences, "UpgradeCodecPrompt", kZeroByte},
    {4, kWrite, HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport", kNumber0},
    {5, kWrite, HKEY_LOCAL_MACHINE, kErrorReporting, "ShowUI", kNumber0},
    {6, kWrite, HKEY_CURRENT_USER, kWebcheck, "NoScheduledUpdates", kNumber1},
    {7, kWrite, HKEY_CURRENT_USER, kExplorerMain, "NoUpdateCheck", kNumber1},
    {8, kWrite, HKEY_CURRENT_USER, kInternetSettings, "EnableNegotiate", kNumber0},
    {14, kDeleteValue, HKEY_CURRENT_USER, kRun, "MSMSGS", {}},
    {19, kWrite, HKEY_LOCAL_MACHINE, kTerminalServer, "fAllowToGetHelp", kNumber0},
    {21, kWrite, HKEY_LOCAL_MACHINE, kTimeParameters, "Type", kTextNoSync},
    {22, kWrite, HKEY_LOCAL_MACHINE, kExplorerAdvanced, "EnableBalloonTips", kNumber0},
    {23, kWrite, HKEY_LOCAL_MACHINE, kMemoryManagement, "ClearPageFileAtShutdown", kNumber1},
    {24, kWrite, HKEY_LOCAL_MACHINE, kOutlookExpress, "Hide Messenger", kNumber2},
    {27, kWrite, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNeverUpload", kNumber1},
    {27, kWrite, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoExternalURL", kNumber1},
    {27, kWrite, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoFileCollection", kNumber1},
    {27, kWrite, HKEY_CURRENT_USER, kOfficeCommonUser, "DWNoSecondLevelCollection", kNumber1},
    {27, kWrite, HKEY_USERS, kOfficeCommonDefault, "DWNeverUpload", kNumber1},
    {27, kWrite, HKEY_USERS, kOfficeCommonDefault, "DWNoExternalURL", kNumber1},
    {27, kWrite, HKEY_USERS, kOfficeCommonDefault, "DWNoFileCollection", kNumber1},
    {27, kWrite, HKEY_USERS, kOfficeCommonDefault, "DWNoSecondLevelCollection", kNumber1},
    {28, kWrite, HKEY_LOCAL_MACHINE, kShutdownControl, "WaitToKillServiceTimeout", kText2000},
    {28, kWrite, HKEY_CURRENT_USER, kDesktop, "AutoEndTasks", kText1},
    {29, kWrite, HKEY_CURRENT_USER, kInternetSettings, "MaxConnectionsPer1_0Server", kNumber10},
    {29, kWrite, HKEY_CURRENT_USER, kInternetSettings, "MaxConnectionsPerServer", kNumber10},
};

TableView<RegistryStep> ApplySteps() {
  return {kApplySteps, sizeof kApplySteps / sizeof kApplySteps[0]};
}

// The Office policy keys exist only where "Software\Policies\Microsoft"
// already does; the writes of setting 27 go into them.
void CreateOfficePolicyKeys(SystemAccess& system) {
  const char* const chain[] = {"Office", "10.0", "Common"};
  system.CreateRegistryKeyChain(HKEY_CURRENT_USER, "Software\\Policies\\Microsoft", chain, 3);
  system.CreateRegistryKeyChain(HKEY_USERS, ".DEFAULT\\Software\\Policies\\Microsoft", chain, 3);
}

// Disabled is what counts: a stop request that fails because the service
// was not running leaves it off all the same.
bool DisableService(SystemAccess& system, const char* name) {
  bool disabled = system.Services().SetServiceStartType(SERVICE_DISABLED, name);
  system.Services().StopServiceByName(name);
  return disabled;
}

// Only XP Professional's support account is deleted; with no account left
// there is nothing to do.
bool RemoveSupportAccount(SystemAccess& system) {
  if (!system.SupportAccountExists()) return true;
  return system.GetWindowsPlatform() == 2 && system.DeleteSupportAccount();
}

}  // namespace

bool Apply(SystemAccess& system, SettingId id) {
  const SettingEntry* entry = FindSetting(id);
  if (entry && entry->serviceName) return DisableService(system, entry->serviceName);
  switch (id) {
    case 15:
      return system.UninstallMessenger();
    case 16:
      return RemoveSupportAccount(system);
    case 26:
      return system.WriteQosPolicy(kQosWrite);
    case 27:
      CreateOfficePolicyKeys(system);
      break;
    case 30:
      return system.UnregisterComponent("zipfldr.dll");
  }
  return RunRegistrySteps(system, ApplySteps(), id);
}
