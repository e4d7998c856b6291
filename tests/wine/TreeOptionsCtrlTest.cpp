// The tree options control on Wine's real tree-view: clicks, Space, right
// clicks and mouse moves, with a recording owner.

#include <gtest/gtest.h>

#include "treeoptions/CTreeOptionsCtrl.h"
#include "wine/TreeDriver.h"
#include "res/resource.h"

namespace {

struct RecordingOwner : TreeOptionsOwner {
  std::vector<HTREEITEM> hovers;
  std::vector<bool> applyButton;
  std::vector<std::pair<POINT, HTREEITEM>> revertMenus;
  void ShowHover(HTREEITEM item) override { hovers.push_back(item); }
  void EnableApplyButton(bool enable) override { applyButton.push_back(enable); }
  void ShowRevertMenu(POINT point, HTREEITEM item) override { revertMenus.push_back({point, item}); }
};

class TreeOptionsCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr,
                              nullptr, nullptr);
    tree_ = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 400, 400,
                            parent_, nullptr, nullptr, nullptr);
    ASSERT_TRUE(control_.Attach(tree_, IDB_TREE_IMAGES));
    control_.SetOwner(&owner_);
    category_ = control_.AddCategoryItem("Kategorie", ImageCategory, nullptr);
  }
  void TearDown() override { DestroyWindow(parent_); }

  HTREEITEM AddWithImage(int image) {
    HTREEITEM item = control_.AddCheckItem("Eintrag", category_, false);
    control_.SetItemImages(item, image, image);
    SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(category_));
    return item;
  }

  HWND parent_ = nullptr;
  HWND tree_ = nullptr;
  CTreeOptionsCtrl control_;
  RecordingOwner owner_;
  HTREEITEM category_ = nullptr;
};

TEST_F(TreeOptionsCtrlTest, ImageStripOfFourteenIsInstalled) {
  HIMAGELIST images =
      reinterpret_cast<HIMAGELIST>(SendMessageA(tree_, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  ASSERT_NE(nullptr, images);
  EXPECT_EQ(kOptionImageCount, ImageList_GetImageCount(images));
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  EXPECT_EQ(16, width);
  EXPECT_EQ(16, height);
}

TEST_F(TreeOptionsCtrlTest, InsertedItemsCarryTheirKindInBothImagesAndNoData) {
  HTREEITEM check = control_.AddCheckItem("a", category_, true);
  HTREEITEM radio = control_.AddRadioItem("b", category_, false);
  EXPECT_EQ(ImageCategory, ImageOf(tree_, category_));
  EXPECT_EQ(ImageChecked, ImageOf(tree_, check));
  EXPECT_EQ(ImageChecked, SelectedImageOf(tree_, check));
  EXPECT_EQ(ImageRadioOff, ImageOf(tree_, radio));
  for (HTREEITEM item : {category_, check, radio}) EXPECT_EQ(0, DataOf(tree_, item));
}

TEST_F(TreeOptionsCtrlTest, ClickOnUncheckedChecksAndEnablesApply) {
  HTREEITEM item = AddWithImage(ImageUnchecked);
  ClickItem(tree_, item);
  EXPECT_EQ(ImageChecked, ImageOf(tree_, item));
  EXPECT_EQ(std::vector<bool>{true}, owner_.applyButton);
}

// A choice made with the keyboard can be applied like one made with the mouse.
TEST_F(TreeOptionsCtrlTest, SpaceChecksAndEnablesApply) {
  HTREEITEM item = AddWithImage(ImageUnchecked);
  control_.SelectTreeItem(item);
  PressSpace(tree_);
  EXPECT_EQ(ImageChecked, ImageOf(tree_, item));
  EXPECT_EQ(std::vector<bool>{true}, owner_.applyButton);
}

TEST_F(TreeOptionsCtrlTest, ClickOnAttentionUnchecksAndASecondClickChecks) {
  HTREEITEM item = AddWithImage(ImageCheckedAttention);
  ClickItem(tree_, item);
  EXPECT_EQ(ImageUnchecked, ImageOf(tree_, item));
  ClickItem(tree_, item);
  EXPECT_EQ(ImageChecked, ImageOf(tree_, item));
}

TEST_F(TreeOptionsCtrlTest, ClickOnDisabledItemsChangesNothing) {
  HTREEITEM locked = AddWithImage(ImageUncheckedDisabled);
  HTREEITEM off = AddWithImage(ImageCheckedDisabled);
  ClickItem(tree_, locked);
  ClickItem(tree_, off);
  EXPECT_EQ(ImageUncheckedDisabled, ImageOf(tree_, locked));
  EXPECT_EQ(ImageCheckedDisabled, ImageOf(tree_, off));
  EXPECT_TRUE(owner_.applyButton.empty());
}

TEST_F(TreeOptionsCtrlTest, RadioClickSelectsItAndDisablesTheOthersThatAreNotEnabled) {
  HTREEITEM group = control_.AddCategoryItem("Gruppe", ImageCategory, nullptr);
  std::vector<HTREEITEM> items;
  for (int image : {ImageRadioOn, ImageRadioOff, ImageRadioOffDisabled, ImageRadioOnDisabled,
                    ImageCheckedDisabled}) {
    items.push_back(control_.AddRadioItem("r", group, false));
    control_.SetItemImages(items.back(), image, image);
  }
  SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(group));
  ClickItem(tree_, items[1]);
  std::vector<int> images;
  for (HTREEITEM item : items) images.push_back(ImageOf(tree_, item));
  EXPECT_EQ((std::vector<int>{2, 3, 5, 5, 5}), images);
  ClickItem(tree_, items[1]);
  EXPECT_EQ(ImageRadioOn, ImageOf(tree_, items[1]));
  // The choice enables apply once; the second click chose nothing new.
  EXPECT_EQ(std::vector<bool>{true}, owner_.applyButton);
}

TEST_F(TreeOptionsCtrlTest, SelectRadioAtBeyondTheLastChildClearsTheGroup) {
  HTREEITEM group = control_.AddCategoryItem("Gruppe", ImageCategory, nullptr);
  HTREEITEM first = control_.AddRadioItem("a", group, true);
  HTREEITEM second = control_.AddRadioItem("b", group, false);
  control_.SelectRadioAt(group, 1);
  EXPECT_EQ(ImageRadioOff, ImageOf(tree_, first));
  EXPECT_EQ(ImageRadioOn, ImageOf(tree_, second));
  control_.SelectRadioAt(group, 5);
  EXPECT_EQ(ImageRadioOff, ImageOf(tree_, second));
}

TEST_F(TreeOptionsCtrlTest, RightClickOnAnAlreadyOffSettingSelectsItAndOpensTheRevertMenu) {
  HTREEITEM off = AddWithImage(ImageCheckedDisabled);
  POINT point = PointOnItem(tree_, off);
  RightClickItem(tree_, off);
  EXPECT_EQ(off, CaretOf(tree_));
  ASSERT_EQ(1u, owner_.revertMenus.size());
  EXPECT_EQ(off, owner_.revertMenus[0].second);
  EXPECT_EQ(point.x, owner_.revertMenus[0].first.x);
  EXPECT_EQ(point.y, owner_.revertMenus[0].first.y);
}

TEST_F(TreeOptionsCtrlTest, RightClickOnOtherCheckItemsOnlySelects) {
  for (int image : {ImageUnchecked, ImageChecked, ImageUncheckedDisabled, ImageCheckedAttention}) {
    HTREEITEM item = AddWithImage(image);
    RightClickItem(tree_, item);
    EXPECT_EQ(item, CaretOf(tree_)) << image;
    EXPECT_EQ(image, ImageOf(tree_, item));
  }
  EXPECT_TRUE(owner_.revertMenus.empty());
}

TEST_F(TreeOptionsCtrlTest, RightClickOnACategoryDoesNothing) {
  HTREEITEM item = AddWithImage(ImageUnchecked);
  control_.SelectTreeItem(item);
  RightClickItem(tree_, category_);
  EXPECT_EQ(item, CaretOf(tree_));
  EXPECT_TRUE(owner_.revertMenus.empty());
}

struct Transition {
  int from;
  int to;
  void (*change)(CTreeOptionsCtrl&, HTREEITEM);
};

TEST_F(TreeOptionsCtrlTest, StateChangesGiveTheirImages) {
  const Transition transitions[] = {
      {ImageCheckedAttention, ImageCheckedDisabled,
       [](CTreeOptionsCtrl& c, HTREEITEM i) { c.SetCheckEnabled(i, false); }},
      {ImageCheckedAttention, ImageChecked,
       [](CTreeOptionsCtrl& c, HTREEITEM i) { c.SetCheckEnabled(i, true); }},
      {ImageUncheckedDisabled, ImageChecked,
       [](CTreeOptionsCtrl& c, HTREEITEM i) { c.SetChecked(i, true); }},
      {ImageCheckedDisabled, ImageChecked,
       [](CTreeOptionsCtrl& c, HTREEITEM i) { c.SetChecked(i, true); }},
      {ImageRadioOn, ImageCheckedDisabled,
       [](CTreeOptionsCtrl& c, HTREEITEM i) { c.SetRadioEnabled(i, false); }},
  };
  for (const Transition& transition : transitions) {
    HTREEITEM item = AddWithImage(transition.from);
    transition.change(control_, item);
    EXPECT_EQ(transition.to, ImageOf(tree_, item)) << "from " << transition.from;
  }
  HTREEITEM radio = AddWithImage(ImageRadioOn);
  control_.SetRadioEnabled(radio, false);
  EXPECT_FALSE(control_.IsChosen(radio));
}

TEST_F(TreeOptionsCtrlTest, HoverIsReportedOncePerItemAndOnceForEmptySpace) {
  HTREEITEM first = AddWithImage(ImageUnchecked);
  HTREEITEM second = AddWithImage(ImageUnchecked);
  MoveMouseOver(tree_, first);
  MoveMouseOver(tree_, first);
  MoveMouseOver(tree_, second);
  MoveMouseTo(tree_, EmptySpace(tree_));
  MoveMouseTo(tree_, EmptySpace(tree_));
  EXPECT_EQ((std::vector<HTREEITEM>{first, second, nullptr}), owner_.hovers);
}

TEST_F(TreeOptionsCtrlTest, WithoutAnOwnerNothingIsReported) {
  control_.SetOwner(nullptr);
  HTREEITEM item = AddWithImage(ImageCheckedDisabled);
  ClickItem(tree_, item);
  RightClickItem(tree_, item);
  MoveMouseOver(tree_, item);
  EXPECT_EQ(ImageCheckedDisabled, ImageOf(tree_, item));
}

}  // namespace
