#pragma once
// A main window over the in-memory system, opened modeless so a test can
// drive it, with readers for its tree, pane and button.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainDialog.h"
#include "ui/ResourceText.h"
#include "common/FullFakeSystem.h"
#include "engine/SettingCatalogue.h"
#include "platform/fake/FakeMachine.h"
#include "res/resource.h"
#include "wine/TreeDriver.h"

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::ResetMachine(); }
  void TearDown() override {
    if (dialog_ && dialog_->Handle()) DestroyWindow(dialog_->Handle());
  }
  void Open() {
    dialog_ = std::make_unique<MainDialog>();
    ASSERT_NE(nullptr, dialog_->Create(nullptr));
    tree_ = dialog_->Tree().Handle();
    PumpMessages();
  }
  HTREEITEM ItemOf(SettingId id) { return dialog_->Settings().Slot(id).item; }
  int Image(SettingId id) { return ImageOf(tree_, ItemOf(id)); }
  void Command(int id) {
    SendMessageA(dialog_->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    PumpMessages();
  }
  bool ApplyEnabled() { return IsWindowEnabled(dialog_->Item(IDC_APPLY)); }
  // A setting's pane: its description, a blank line, what it costs.
  static std::string PaneOf(SettingId id) {
    const SettingEntry& setting = *FindSetting(id);
    return LoadText(setting.descriptionId) + "\r\n\r\n" + LoadText(setting.consequenceId) +
           "\r\n" + LoadText(setting.effectId);
  }
  std::string PaneText() {
    char text[2048] = {};
    GetWindowTextA(dialog_->DescriptionHandle(), text, sizeof text);
    return text;
  }
  // Every setting of the tree as "label:image", category by category.
  std::vector<std::vector<std::string>> Looks() {
    std::vector<std::vector<std::string>> looks;
    for (HTREEITEM category : ChildrenOf(tree_, nullptr)) {
      looks.push_back({TextOf(tree_, category) + ":" + std::to_string(ImageOf(tree_, category))});
      for (HTREEITEM item : ChildrenOf(tree_, category))
        looks.back().push_back(TextOf(tree_, item) + ":" + std::to_string(ImageOf(tree_, item)));
    }
    return looks;
  }
  static std::string Look(SettingId id, int image) {
    return LoadText(FindSetting(id)->labelId) + ":" + std::to_string(image);
  }
  static std::string CategoryLook(SettingCategory category) {
    return LoadText(FindCategory(category)->labelId) + ":9";
  }

  std::unique_ptr<MainDialog> dialog_;
  HWND tree_ = nullptr;
};
