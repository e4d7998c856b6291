#include "app/MainDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "app/AboutDialog.h"
#include "app/StatusInfoDialog.h"
#include "engine/Availability.h"
#include "engine/Backup.h"
#include "engine/Consequences.h"
#include "engine/RecordedChanges.h"
#include "engine/Reports.h"
#include "engine/StatusCheck.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "system/ProductName.h"
#include "timeserver/TimeServerDialog.h"
#include "ui/ResourceText.h"

namespace {

const char kHomepage[] = "http://www.hushgate.example/";
const char kMailToAuthor[] = "mailto:autor@hushgate.example?Subject=Hushgate3";
// A reverted service takes a moment to start before its status is read.
constexpr DWORD kRevertSettleTime = 1000;
constexpr int kPaneHeight = 70;
constexpr int kBelowTree = 100;
constexpr int kButtonWidth = 140;
constexpr int kButtonHeight = 24;
constexpr int kButtonsFromBottom = 29;

// The text with its one "%s" replaced; texts come from the string table.
std::string Format(const std::string& pattern, const std::string& value) {
  std::string text = pattern;
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

void Place(HWND child, int x, int y, int width, int height) {
  // The first size notification comes while the dialog is still being made.
  if (child) MoveWindow(child, x, y, width, height, TRUE);
}

}  // namespace

MainDialog::MainDialog(ServiceProbe* probe)
    : DialogBase(IDD_MAIN),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_HUSHGATE))),
      settings_(tree_, system_, LoadText, *this),
      probe_(probe) {}

MainDialog::~MainDialog() {
  if (contextMenu_) DestroyMenu(contextMenu_);
}

BOOL MainDialog::OnInitDialog() {
  tree_.Attach(Item(IDC_SETTINGS_TREE), IDB_TREE_IMAGES);
  exitButton_ = Item(IDCANCEL);
  applyButton_ = Item(IDC_APPLY);
  InitCommonControls();
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  mainMenu_ = LoadMenuResource(IDR_MAIN_MENU);
  contextMenu_ = LoadMenuResource(IDR_TREE_MENU);
  RECT paneRect = {10, 250, 100, 350};
  pane_.Create(Handle(), paneRect);
  // The menu bar shrinks the client area; the size notification that follows
  // places all four children, so the pane must exist by now.
  SetMenu(Handle(), mainMenu_);
  SetWindowTextA(Handle(), ProductTitle().c_str());
  tree_.SetOwner(this);
  {
    ServiceControl::SharedManager oneManagerForBoth(system_.Services());
    if (probe_) probe_->HandTo(system_.Services());
    settings_.BuildSettingsTree();
    if (HTREEITEM mediaPlayer = settings_.CategoryItem(0)) tree_.SelectTreeItem(mediaPlayer);
    settings_.RefreshSettingsTree();
  }
  EnableApplyButton(true);
  // Known before any change: without the rights, machine-wide settings fail.
  // A message, since the tree's first focus sets the pane.
  if (!platform::IsAdministrator())
    platform::ShowMessageBox(Handle(), LoadText(IDS_USER_SETTINGS_ONLY).c_str(),
                             platform::ProgramName().c_str(), MB_OK | MB_ICONINFORMATION);
  return TRUE;
}

bool MainDialog::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_APPLY:
      ApplySettings();
      return true;
    case ID_RECOMMENDED:
      settings_.SetRecommendedSettings();
      return true;
    case ID_UNLOCK_EXPERT:
      settings_.UnlockExpertSettings();
      return true;
    case ID_STATUS_CHECK:
      CheckSystemStatus();
      return true;
    case ID_RESET_ALL:
      ResetAllSettings();
      return true;
    case ID_REVERT:
      RevertOneSetting();
      return true;
    case ID_UNDO:
      UndoSettings();
      return true;
    case ID_SAVE_REPORT:
      SaveStatusReport();
      return true;
    case ID_SAVE_PROFILE:
      SaveChoiceAsProfile();
      return true;
    case ID_LOAD_PROFILE:
      LoadProfileIntoChoice();
      return true;
    case ID_RESTORE_POINT:
      CheckMenuItem(mainMenu_, ID_RESTORE_POINT,
                    IsRestorePointChosen() ? MF_UNCHECKED : MF_CHECKED);
      return true;
    case ID_TIME_SERVER:
      TimeServerDialog().RunModal(Handle());
      return true;
    case ID_ABOUT:
      AboutDialog().RunModal(Handle());
      return true;
    case ID_HOMEPAGE:
      platform::OpenWithShell(kHomepage);
      return true;
    case ID_MAIL:
      platform::OpenWithShell(kMailToAuthor);
      return true;
  }
  return DialogBase::OnCommand(id, code, control);
}

int MainDialog::ShowMessage(const std::string& text, UINT buttons) {
  return platform::ShowMessageBox(Handle(), text.c_str(), platform::ProgramName().c_str(),
                                  buttons | MB_ICONEXCLAMATION);
}

// However the notice is closed, the status check follows.
void MainDialog::CheckSystemStatus() {
  StatusInfoDialog(system_.IsDomainMember(), system_.IsWow64()).RunModal(Handle());
  settings_.RefreshSettingsTree();
}

// Going on without a backup or a restore point is the user's choice: No by
// default, since what is lost then cannot be had again.
bool MainDialog::AskNoByDefault(int textId) {
  return platform::ShowMessageBox(Handle(), LoadText(textId).c_str(),
                                  platform::ProgramName().c_str(),
                                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

// Without rights below HKLM\SOFTWARE the backup cannot be written; going on
// means the values of before are lost. When the user stops, the restore
// point begun for the change ends unused.
bool MainDialog::CapturedOrGoOn(bool captured, RestorePoint* point) {
  if (captured || AskNoByDefault(IDS_NO_BACKUP_ASK)) return true;
  point->End(false);
  return false;
}

bool MainDialog::IsRestorePointChosen() const {
  return (GetMenuState(mainMenu_, ID_RESTORE_POINT, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// A restore point that was asked for and cannot be made: going on without
// it is the user's choice, No by default. System Restore is never touched.
bool MainDialog::RestorePointOrGoOn(RestorePoint* point) {
  return !IsRestorePointChosen() || point->Begin(system_) || AskNoByDefault(IDS_RESTORE_POINT_ASK);
}

std::string MainDialog::Labels(const std::vector<UndoablePlan>& plans) {
  std::string text;
  for (const UndoablePlan& plan : plans) text += LoadText(plan.labelId) + "\n";
  return text;
}

std::string MainDialog::Labels(const std::vector<SettingId>& ids) {
  std::vector<UndoablePlan> plans;
  for (SettingId id : ids) plans.push_back(PlanOf(id));
  return Labels(plans);
}

// No silent failure: what was chosen and is not off afterwards is named, and
// so is what takes effect only after a logon or a restart.
void MainDialog::ApplySettings() {
  RestorePoint restorePoint;
  if (!RestorePointOrGoOn(&restorePoint)) return;
  bool captured = true;
  std::vector<SettingId> wereOn;
  for (SettingId id : settings_.ChosenSettings()) {
    if (!IsSettingOff(system_, id)) wereOn.push_back(id);
    captured &= CaptureBeforeApply(system_, id);
  }
  if (!CapturedOrGoOn(captured, &restorePoint)) return;
  std::vector<SettingId> notApplied = settings_.ApplyChosenSettings();
  restorePoint.End(!wereOn.empty());
  std::string message = ApplyOutcome(wereOn, notApplied);
  if (!message.empty()) ShowMessage(message, MB_OK);
}

// What failed, then what changed but waits for a logon or restart; empty
// when there is nothing to say.
std::string MainDialog::ApplyOutcome(const std::vector<SettingId>& wereOn,
                                     const std::vector<SettingId>& notApplied) {
  std::vector<SettingId> changed;
  for (SettingId id : wereOn)
    if (std::find(notApplied.begin(), notApplied.end(), id) == notApplied.end())
      changed.push_back(id);
  std::string message;
  if (!notApplied.empty()) message = Format(LoadText(IDS_NOT_APPLIED), Labels(notApplied));
  std::vector<SettingId> later = TakingEffectLater(changed);
  if (!later.empty())
    message += (message.empty() ? "" : "\n") + Format(LoadText(IDS_EFFECT_LATER), Labels(later));
  return message;
}

void MainDialog::ResetAllSettings() {
  if (ShowMessage(LoadText(IDS_RESET_CONFIRM), MB_OKCANCEL) != IDOK) return;
  RestorePoint restorePoint;
  if (!RestorePointOrGoOn(&restorePoint)) return;
  bool captured = true;
  for (SettingId id = 0; id <= kLastSettingId; ++id) captured &= CaptureBeforeRevert(system_, id);
  if (!CapturedOrGoOn(captured, &restorePoint)) return;
  for (SettingId id = 0; id <= kLastSettingId; ++id) RevertAndTellWhyNot(id);
  restorePoint.End(true);
  ShowMessage(LoadText(IDS_RESET_DONE), MB_OK);
  settings_.RefreshSettingsTree();
  EnableApplyButton(true);
}

void MainDialog::RevertAndTellWhyNot(SettingId id) {
  int refusal = 0;
  RevertAndReport(system_, id, &refusal);
  if (refusal) ShowMessage(LoadText(refusal), MB_OK);
}

// The Alexa entry, the Messenger installation and the support account cannot
// be brought back once they are gone.
void MainDialog::RevertOneSetting() {
  TreeItemMatch match = settings_.FindSettingOfItem(revertTarget_);
  const SettingEntry* setting =
      match.kind == TreeItemMatch::kSetting ? FindSetting(match.number) : nullptr;
  if (!setting || !setting->revertible) {
    ShowMessage(LoadText(IDS_CANNOT_REVERT), MB_OK);
    return;
  }
  RestorePoint restorePoint;
  if (!RestorePointOrGoOn(&restorePoint)) return;
  if (!CapturedOrGoOn(CaptureBeforeRevert(system_, setting->id), &restorePoint)) return;
  RevertAndTellWhyNot(setting->id);
  restorePoint.End(true);
  platform::Pause(kRevertSettleTime);
  settings_.RefreshSettingsTree();
}

// Lists what comes back and what cannot, asks, restores, and says how it went.
void MainDialog::UndoSettings() {
  std::vector<UndoablePlan> restorable = PlansWithBackup(system_);
  if (restorable.empty()) {
    ShowMessage(LoadText(IDS_NO_BACKUP), MB_OK);
    return;
  }
  std::vector<UndoablePlan> lost;
  for (const SettingEntry& setting : AllSettings())
    if (!setting.revertible && !IsNoAction(setting) && WasSwitchedOff(system_, setting.id) &&
        !HasBackup(system_, setting.id))
      lost.push_back(PlanOf(setting.id));
  std::string list = Labels(restorable);
  if (!lost.empty()) list += "\n" + LoadText(IDS_UNDO_CANNOT) + "\n" + Labels(lost);
  if (platform::ShowMessageBox(Handle(), Format(LoadText(IDS_UNDO_CONFIRM), list).c_str(),
                               platform::ProgramName().c_str(), MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  RestorePoint restorePoint;
  if (!RestorePointOrGoOn(&restorePoint)) return;
  std::string failures;
  bool anyWritten = false;  // a partial undo changed the machine too
  for (const UndoablePlan& plan : restorable) {
    UndoResult result = UndoAndReport(system_, plan);
    anyWritten |= result.wroteSomething;
    if (result.outcome == UndoResult::Outcome::kFailed) failures += UndoReport(plan, result);
  }
  restorePoint.End(anyWritten);
  settings_.RefreshSettingsTree();
  ShowMessage(failures.empty() ? LoadText(IDS_UNDO_DONE) : Format(LoadText(IDS_UNDO_FAILED), failures),
              MB_OK);
}

// The /status report, saved where the user picks.
void MainDialog::SaveStatusReport() {
  char file[MAX_PATH] = "hushgate-status.txt";
  std::string filter = LoadText(IDS_REPORT_FILTER);
  std::replace(filter.begin(), filter.end(), '|', '\0');
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrDefExt = "txt";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetSaveFileNameA(&dialog)) return;
  bool anyOn = false;
  std::string report = StatusReport(system_, SettingsInReports(), false, platform::IsLocalSystem(), &anyOn);
  HANDLE out = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  DWORD written = 0;
  bool saved = out != INVALID_HANDLE_VALUE &&
               WriteFile(out, report.data(), DWORD(report.size()), &written, nullptr) &&
               written == report.size();
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (!saved) ShowMessage(LoadText(IDS_REPORT_NOT_SAVED), MB_OK);
}

void MainDialog::OnSize(int width, int height) {
  Place(tree_.Handle(), 0, 0, width, height - kBelowTree);
  Place(pane_.Handle(), 0, height - kBelowTree, width, kPaneHeight);
  Place(applyButton_, 0, height - kButtonsFromBottom, kButtonWidth, kButtonHeight);
  Place(exitButton_, width - kButtonWidth, height - kButtonsFromBottom, kButtonWidth,
        kButtonHeight);
}

bool MainDialog::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR* result) {
  if (message == WM_QUERYDRAGICON) {
    *result = reinterpret_cast<INT_PTR>(icon_);
    return true;
  }
  if (message == WM_PAINT && IsIconic(Handle())) return PaintMinimised();
  return false;
}

bool MainDialog::PaintMinimised() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(Handle(), &client);
  int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(Handle(), &paint);
  return true;
}

// A setting's description stays as it is; after a blank line, why its state
// is unknown when it is, what a Group Policy means for it, and its costs.
void MainDialog::ShowHover(HTREEITEM item) {
  int id = settings_.DescriptionOf(item);
  std::string text = id ? LoadText(id) : std::string();
  TreeItemMatch match = settings_.FindSettingOfItem(item);
  if (match.kind == TreeItemMatch::kSetting) {
    text += "\r\n";
    if (IsSettingUnknown(system_, *FindSetting(match.number)))
      text += "\r\n" + LoadText(IDS_SERVICE_UNKNOWN);
    const std::string note = PolicyNoteOf(system_, *FindSetting(match.number), LoadText);
    if (!note.empty()) text += "\r\n" + note;
    for (const std::string& line : ConsequencesOf(system_, *FindSetting(match.number), LoadText))
      text += "\r\n" + line;
  }
  pane_.SetText(text.c_str());
}

void MainDialog::EnableApplyButton(bool enable) {
  if (applyButton_) EnableWindow(applyButton_, enable);
}

void MainDialog::ShowRevertMenu(POINT point, HTREEITEM item) {
  // The tree fills the client area from its origin, so its coordinates are
  // the window's client coordinates.
  ClientToScreen(Handle(), &point);
  revertTarget_ = item;
  TrackPopupMenu(GetSubMenu(contextMenu_, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                 0, Handle(), nullptr);
}
