// The main window's profile commands: the choice in the tree saved as a
// profile, and a profile loaded into the choice.

#include "app/MainDialog.h"

#include <map>

#include "engine/Profile.h"
#include "engine/ProfileChecks.h"
#include "engine/TextSource.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "ui/ResourceText.h"

// Chosen settings are wanted off; every other one is written as left alone.
void MainDialog::SaveChoiceAsProfile() {
  std::string file;
  if (!AskFileName(true, "hushgate-profile.ini", IDS_PROFILE_FILTER, "ini", &file)) return;
  std::map<SettingId, Wanted> choice;
  for (SettingId id : settings_.ChosenSettings()) choice[id] = Wanted::kOff;
  const SavedProfile saved =
      SaveProfile(file, choice, system_.ComputerName(), system_.LocalTimeText());
  if (!saved.problem.empty()) ShowMessage(saved.problem, MB_OK);
}

// Only the choice changes, until the apply button; what the profile wants
// back on is done at once, when the user says so. A setting a policy holds
// otherwise is named and never offered: the policy would put it back.
void MainDialog::LoadProfileIntoChoice() {
  std::string file;
  if (!AskFileName(false, "", IDS_PROFILE_FILTER, "ini", &file)) return;
  LoadedProfile loaded = LoadProfile(file);
  if (!loaded.problem.empty()) {
    ShowMessage(loaded.problem, MB_OK);
    return;
  }
  std::string problems;
  for (const std::string& line : loaded.profile.skipped) problems += line + "\n";
  const SwitchOns switchOns = SwitchOnsOf(system_, loaded.profile);
  for (SettingId id : switchOns.cannotUndo)
    problems += LoadText(FindSetting(id)->labelId) + ": " + LoadText(IDS_CANNOT_REVERT) + "\n";
  for (SettingId id : switchOns.byPolicy)
    problems += FormatText(IDS_POLICY_NOT_CHANGED, {LoadText(FindSetting(id)->labelId)}) + "\n";
  // Switching on refreshes the tree, so the choice is set after it.
  if (!switchOns.revert.empty() &&
      platform::ShowMessageBox(Handle(), FormatText(IDS_PROFILE_ASK_ON, {Labels(switchOns.revert)}).c_str(),
                               platform::ProgramName().c_str(),
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES &&
      Changes().Revert(switchOns.revert))
    settings_.RefreshSettingsTree();
  for (SettingId id : settings_.ChooseFromProfile(loaded.profile.wanted))
    problems += FormatText(IDS_PROFILE_LOCKED, {LoadText(FindSetting(id)->labelId)}) + "\n";
  if (!problems.empty()) ShowMessage(FormatText(IDS_PROFILE_PROBLEMS, {problems}), MB_OK);
}
