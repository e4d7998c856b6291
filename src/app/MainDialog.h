#pragma once
// The main window: the settings tree, the description pane under it, the
// apply and exit buttons, the menu bar and the tree's context menu.

#include <windows.h>

#include <string>
#include <vector>

#include "app/DescriptionPane.h"
#include "app/ServiceProbe.h"
#include "engine/Backup.h"
#include "engine/RecordedChanges.h"
#include "engine/Safeguards.h"
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
  bool AskNoByDefault(const std::string& text);
  bool CapturedOrGoOn(const MissedCaptures& missed, RestorePoint* point);
  static std::string Labels(const std::vector<UndoablePlan>& plans);
  bool IsRestorePointChosen() const;
  bool RestorePointOrGoOn(RestorePoint* point);
  static std::string Labels(const std::vector<SettingId>& ids);
  static std::string ApplyOutcome(const std::vector<SettingId>& wereOn,
                                  const std::vector<SettingId>& notApplied);
  void ApplySettings();
  void CheckSystemStatus();
  void ResetAllSettings();
  void RevertOneSetting();
  // Reverts and reports the setting; shows why when it could not begin.
  void RevertAndTellWhyNot(SettingId id);
  void UndoSettings();
  void SaveStatusReport();
  // Profiles: the choice saved as one, and one loaded into the choice.
  bool AskProfileFile(bool save, std::string* file);
  void SaveChoiceAsProfile();
  void LoadProfileIntoChoice();
  void SwitchOnFromProfile(const std::vector<SettingId>& ids);

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
