#include "app/MainDialog.h"

#include <commctrl.h>

#include "app/AboutDialog.h"
#include "ui/ResourceText.h"
#include "app/StatusInfoDialog.h"
#include "engine/Revert.h"
#include "platform/Platform.h"
#include "res/resource.h"
#include "timeserver/TimeServerDialog.h"

namespace {

const char kTitle[] = "Hushgate V3.61";
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

MainDialog::MainDialog()
    : DialogBase(IDD_MAIN),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_HUSHGATE))),
      settings_(tree_, system_, LoadText, *this) {}

MainDialog::~MainDialog() {
  if (contextMenu_) DestroyMenu(contextMenu_);
}

BOOL MainDialog::OnInitDialog() {
  tree_.Attach(Item(IDC_SETTINGS_TREE), IDB_TREE_IMAGES);
  exitButton_ = Item(IDCANCEL);
  applyButton_ = Item(IDC_APPLY);
  InitCommonControls();
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  HINSTANCE instance = GetModuleHandleA(nullptr);
  mainMenu_ = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAIN_MENU));
  contextMenu_ = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TREE_MENU));
  RECT paneRect = {10, 250, 100, 350};
  pane_.Create(Handle(), paneRect);
  // The menu bar shrinks the client area; the size notification that follows
  // places all four children, so the pane must exist by now.
  SetMenu(Handle(), mainMenu_);
  SetWindowTextA(Handle(), kTitle);
  tree_.SetOwner(this);
  settings_.BuildSettingsTree();
  if (HTREEITEM mediaPlayer = settings_.CategoryItem(0)) tree_.SelectTreeItem(mediaPlayer);
  settings_.RefreshSettingsTree();
  EnableApplyButton(true);
  return TRUE;
}

bool MainDialog::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_APPLY:
      settings_.ApplyChosenSettings();
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
  StatusInfoDialog().RunModal(Handle());
  settings_.RefreshSettingsTree();
}

void MainDialog::ResetAllSettings() {
  if (ShowMessage(LoadText(IDS_RESET_CONFIRM), MB_OKCANCEL) != IDOK) return;
  ResetAll(system_);
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
    ShowMessage("Diese Funktion kann nicht zurückgesetzt werden.", MB_OK);
    return;
  }
  Revert(system_, static_cast<SettingId>(match.number));
  platform::Pause(kRevertSettleTime);
  settings_.RefreshSettingsTree();
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

void MainDialog::ShowHover(HTREEITEM item) {
  int id = settings_.DescriptionOf(item);
  pane_.SetText(id ? LoadText(id).c_str() : "");
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
