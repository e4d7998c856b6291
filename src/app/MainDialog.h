#pragma once
// The main window: the settings tree, the description pane under it, the
// apply and exit buttons, the menu bar and the tree's context menu.

#include <windows.h>

#include <string>
#include <vector>

#include "app/DescriptionPane.h"
#include "app/ServiceProbe.h"
#include "app/WindowChanges.h"
#include "engine/Backup.h"
#include "ui/DialogBase.h"
#include "ui/SettingsTree.h"
#include "system/SystemAccess.h"
#include "treeoptions/CTreeOptionsCtrl.h"

class MainDialog : public DialogBase, public TreeOptionsOwner {
 public:
  // With a probe, the services' start types come from it.
  explicit MainDialog(ServiceProbe* probe = nullptr);
  ~MainDialog() override;

  void ShowHover(HTREEITEM item) override;
  void EnableApplyButton(bool enable) override;
  void ShowRevertMenu(POINT point, HTREEITEM item) override;
  // The pane follows the selection as it follows the mouse: the last wins.
  void ShowSelected(HTREEITEM item) override { ShowHover(item); }

  CTreeOptionsCtrl& Tree() { return tree_; }
  SettingsTree& Settings() { return settings_; }
  HWND DescriptionHandle() const { return pane_.Handle(); }
  HTREEITEM RevertTarget() const { return revertTarget_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnSize(int width, int height) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

 private:
  bool PaintMinimised();
  int ShowMessage(const std::string& text, UINT buttons);
  bool IsRestorePointChosen() const;
  // The window's runs of changes, asking in boxes this window owns.
  WindowChanges Changes();
  // The Open or Save dialog for a file of the filter's kind.
  bool AskFileName(bool save, const char* name, int filterId, const char* extension,
                   std::string* file);
  // The commands.
  void ApplySettings();
  void SetRecommendedSettings();
  void UnlockExpertSettings();
  void CheckSystemStatus();
  void ResetAllSettings();
  void RevertOneSetting();
  void UndoSettings();
  void SaveStatusReport();
  void SaveChoiceAsProfile();
  void LoadProfileIntoChoice();
  void ToggleRestorePoint();
  void ShowTimeServerDialog();
  void ShowAboutDialog();
  void OpenHomepage();
  void MailToAuthor();

  HMENU mainMenu_ = nullptr;
  HMENU contextMenu_ = nullptr;
  CTreeOptionsCtrl tree_;
  HWND exitButton_ = nullptr;
  HWND applyButton_ = nullptr;
  DescriptionPane pane_;
  SystemAccess system_;
  HICON icon_ = nullptr;
  SettingsTree settings_;
  HTREEITEM revertTarget_ = nullptr;
  ServiceProbe* probe_ = nullptr;
};
