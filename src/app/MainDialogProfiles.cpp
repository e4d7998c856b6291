// The main window's profile commands: the choice in the tree saved as a
// profile, and a profile loaded into the choice.

#include "app/MainDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <map>

#include "engine/Profile.h"
#include "engine/ProfileChecks.h"
#include "engine/RecordedChanges.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "ui/ResourceText.h"

namespace {

std::string WithValue(int id, const std::string& value) {
  std::string text = LoadText(id);
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace

bool MainDialog::AskProfileFile(bool save, std::string* file) {
  char name[MAX_PATH] = "hushgate-profile.ini";
  if (!save) name[0] = '\0';
  std::string filter = LoadText(IDS_PROFILE_FILTER);
  std::replace(filter.begin(), filter.end(), '|', '\0');
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = name;
  dialog.nMaxFile = sizeof name;
  dialog.lpstrDefExt = "ini";
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
  *file = name;
  return true;
}

// Chosen settings are wanted off; every other one is written as left alone.
void MainDialog::SaveChoiceAsProfile() {
  std::string file;
  if (!AskProfileFile(true, &file)) return;
  std::map<SettingId, Wanted> choice;
  for (SettingId id : settings_.ChosenSettings()) choice[id] = Wanted::kOff;
  const SavedProfile saved =
      SaveProfile(file, choice, system_.ComputerName(), system_.LocalTimeText());
  if (!saved.problem.empty()) ShowMessage(saved.problem, MB_OK);
}

// Only the choice changes, until the apply button; what the profile wants
// back on is done at once, when the user says so.
void MainDialog::LoadProfileIntoChoice() {
  std::string file;
  if (!AskProfileFile(false, &file)) return;
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
  // A policy would put its value back: named, never offered.
  for (SettingId id : switchOns.byPolicy)
    problems += WithValue(IDS_POLICY_NOT_CHANGED, LoadText(FindSetting(id)->labelId)) + "\n";
  // Switching on refreshes the tree, so the choice is set after it.
  if (!switchOns.revert.empty() &&
      platform::ShowMessageBox(Handle(), WithValue(IDS_PROFILE_ASK_ON, Labels(switchOns.revert)).c_str(),
                               platform::ProgramName().c_str(),
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
    SwitchOnFromProfile(switchOns.revert);
  for (SettingId id : settings_.ChooseFromProfile(loaded.profile.wanted))
    problems += WithValue(IDS_PROFILE_LOCKED, LoadText(FindSetting(id)->labelId)) + "\n";
  if (!problems.empty()) ShowMessage(WithValue(IDS_PROFILE_PROBLEMS, problems), MB_OK);
}

void MainDialog::SwitchOnFromProfile(const std::vector<SettingId>& ids) {
  RestorePoint restorePoint;
  if (!RestorePointOrGoOn(&restorePoint)) return;
  MissedCaptures missed;
  for (SettingId id : ids) {
    CaptureFailure failure;
    missed.Note(FindSetting(id)->labelId, CaptureBeforeRevert(system_, id, &failure), failure);
  }
  if (!CapturedOrGoOn(missed, &restorePoint)) return;
  for (SettingId id : ids) RevertAndTellWhyNot(id);
  restorePoint.End(true);
  settings_.RefreshSettingsTree();
}
