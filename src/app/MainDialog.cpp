#include "app/MainDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "app/AboutDialog.h"
#include "app/StatusInfoDialog.h"
#include "app/WindowChanges.h"
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

void MainDialog::ToggleRestorePoint() {
  CheckMenuItem(mainMenu_, ID_RESTORE_POINT, IsRestorePointChosen() ? MF_UNCHECKED : MF_CHECKED);
}

void MainDialog::ShowTimeServerDialog() { TimeServerDialog().RunModal(Handle()); }
void MainDialog::ShowAboutDialog() { AboutDialog().RunModal(Handle()); }
void MainDialog::OpenHomepage() { platform::OpenWithShell(kHomepage); }
void MainDialog::MailToAuthor() { platform::OpenWithShell(kMailToAuthor); }
void MainDialog::SetRecommendedSettings() { settings_.SetRecommendedSettings(); }
void MainDialog::UnlockExpertSettings() { settings_.UnlockExpertSettings(); }

bool MainDialog::OnCommand(int id, int code, HWND control) {
  using Command = void (MainDialog::*)();
  static const struct {
    int id;
    Command command;
  } kCommands[] = {
      {IDC_APPLY, &MainDialog::ApplySettings},
      {ID_RECOMMENDED, &MainDialog::SetRecommendedSettings},
      {ID_UNLOCK_EXPERT, &MainDialog::UnlockExpertSettings},
      {ID_STATUS_CHECK, &MainDialog::CheckSystemStatus},
      {ID_RESET_ALL, &MainDialog::ResetAllSettings},
      {ID_REVERT, &MainDialog::RevertOneSetting},
      {ID_UNDO, &MainDialog::UndoSettings},
      {ID_SAVE_REPORT, &MainDialog::SaveStatusReport},
      {ID_SAVE_PROFILE, &MainDialog::SaveChoiceAsProfile},
      {ID_LOAD_PROFILE, &MainDialog::LoadProfileIntoChoice},
      {ID_RESTORE_POINT, &MainDialog::ToggleRestorePoint},
      {ID_TIME_SERVER, &MainDialog::ShowTimeServerDialog},
      {ID_ABOUT, &MainDialog::ShowAboutDialog},
      {ID_HOMEPAGE, &MainDialog::OpenHomepage},
      {ID_MAIL, &MainDialog::MailToAuthor},
  };
  for (const auto& entry : kCommands) {
    if (entry.id != id) continue;
    (this->*entry.command)();
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

bool MainDialog::IsRestorePointChosen() const {
  return (GetMenuState(mainMenu_, ID_RESTORE_POINT, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

WindowChanges MainDialog::Changes() {
  return WindowChanges(system_, Handle(), IsRestorePointChosen());
}

// No silent failure: what was chosen and is not off afterwards is named, and
// so is what takes effect only after a logon or a restart.
void MainDialog::ApplySettings() {
  std::string outcome;
  if (!Changes().Apply(settings_.ChosenSettings(), &outcome)) return;
  settings_.RefreshSettingsTree();
  if (!outcome.empty()) ShowMessage(outcome, MB_OK);
}

void MainDialog::ResetAllSettings() {
  if (ShowMessage(LoadText(IDS_RESET_CONFIRM), MB_OKCANCEL) != IDOK) return;
  std::vector<SettingId> all;
  for (SettingId id = 0; id <= kLastSettingId; ++id)
    if (FindSetting(id)) all.push_back(id);
  if (!Changes().Revert(all)) return;
  ShowMessage(LoadText(IDS_RESET_DONE), MB_OK);
  settings_.RefreshSettingsTree();
  EnableApplyButton(true);
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
  if (!Changes().Revert({setting->id})) return;
  platform::Pause(kRevertSettleTime);
  settings_.RefreshSettingsTree();
}

void MainDialog::UndoSettings() {
  std::string outcome;
  if (!Changes().Undo(&outcome)) return;
  settings_.RefreshSettingsTree();
  ShowMessage(outcome, MB_OK);
}

bool MainDialog::AskFileName(bool save, const char* name, int filterId, const char* extension,
                             std::string* file) {
  char path[MAX_PATH] = {};
  for (size_t i = 0; name[i] && i + 1 < sizeof path; ++i) path[i] = name[i];
  std::string filter = LoadText(filterId);
  std::replace(filter.begin(), filter.end(), '|', '\0');
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrDefExt = extension;
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
  *file = path;
  return true;
}

// The /status report, saved where the user picks.
void MainDialog::SaveStatusReport() {
  std::string file;
  if (!AskFileName(true, "hushgate-status.txt", IDS_REPORT_FILTER, "txt", &file)) return;
  bool anyOn = false;
  const std::string report =
      StatusReport(system_, SettingsInReports(), false, platform::IsLocalSystem(), &anyOn);
  if (platform::WriteWholeFile(file, report) != ERROR_SUCCESS)
    ShowMessage(LoadText(IDS_REPORT_NOT_SAVED), MB_OK);
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
