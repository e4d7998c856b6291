// The in-place value editors on Wine's real tree-view: opening with the
// value split off the item text, committing on selection change and scroll,
// discarding when the tree goes, and where the editor windows sit.

#include <gtest/gtest.h>

#include "treeoptions/CTreeOptionsCtrl.h"
#include "wine/TreeDriver.h"

#include <cstring>
#include "res/resource.h"

namespace {

// A drop-down that offers entries of its own, made without touching the control.
class ModeCombo : public CTreeOptionsCombo {
 public:
  void FillList() override {
    for (const char* entry : {"alpha", "beta", "gamma"})
      SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }
};

const ComboEditorKind<CTreeOptionsCombo> kPlainCombo;
const ComboEditorKind<ModeCombo> kModeCombo;
const EditEditorKind<CTreeOptionsEdit> kPlainEdit;

class TreeOptionsEditors : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                              nullptr, nullptr, nullptr);
    tree_ = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 400, 300,
                            parent_, nullptr, nullptr, nullptr);
    ASSERT_TRUE(control_.Attach(tree_, IDB_TREE_IMAGES));
    plain_ = control_.AddCheckItem("Eintrag", nullptr, false);
    SetFocus(tree_);
  }
  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
  }
  HTREEITEM ValueItem(const char* text, const TreeOptionsEditorKind* kind) {
    HTREEITEM item = control_.AddCategoryItem(text, ImageBlank, nullptr);
    control_.SetEditorKind(item, kind);
    return item;
  }
  void Select(HTREEITEM item) {
    control_.SelectTreeItem(item);
    PumpMessages();
  }
  std::string EditorText() {
    char text[256] = {};
    GetWindowTextA(control_.EditorHandle(), text, sizeof text);
    return text;
  }
  RECT TextRect(HTREEITEM item) {
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof item);
    SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }

  HWND parent_ = nullptr;
  HWND tree_ = nullptr;
  CTreeOptionsCtrl control_;
  HTREEITEM plain_ = nullptr;
};

TEST_F(TreeOptionsEditors, ValueIsSplitAtTheFirstSeparatorWhileTheEditorIsOpen) {
  HTREEITEM item = ValueItem("Server: a: b", &kPlainEdit);
  Select(item);
  ASSERT_NE(nullptr, control_.EditorHandle());
  EXPECT_EQ("a: b", EditorText());
  EXPECT_EQ("Server: ", TextOf(tree_, item));
  EXPECT_EQ(item, control_.EditedItem());
}

TEST_F(TreeOptionsEditors, TextWithoutSeparatorGetsOneAndAnEmptyEditor) {
  HTREEITEM item = ValueItem("Server", &kPlainEdit);
  Select(item);
  EXPECT_EQ("Server: ", TextOf(tree_, item));
  EXPECT_EQ("", EditorText());
}

TEST_F(TreeOptionsEditors, MovingOnWithTheFieldUnchangedRestoresTheTextExactly) {
  HTREEITEM item = ValueItem("Server: a: b", &kPlainEdit);
  Select(item);
  Select(plain_);
  EXPECT_EQ("Server: a: b", TextOf(tree_, item));
  EXPECT_EQ(nullptr, control_.EditorHandle());
  EXPECT_EQ(nullptr, control_.EditedItem());
}

TEST_F(TreeOptionsEditors, EditedTextIsWrittenBackOnSelectionChange) {
  HTREEITEM item = ValueItem("Server: alt", &kPlainEdit);
  Select(item);
  SetWindowTextA(control_.EditorHandle(), "neu.example");
  Select(plain_);
  EXPECT_EQ("Server: neu.example", TextOf(tree_, item));
}

TEST_F(TreeOptionsEditors, ScrollingCommitsAndClosesWhileTheItemStaysSelected) {
  HTREEITEM item = ValueItem("Server: alt", &kPlainEdit);
  Select(item);
  SetWindowTextA(control_.EditorHandle(), "neu");
  SendMessageA(tree_, WM_VSCROLL, SB_LINEDOWN, 0);
  PumpMessages();
  EXPECT_EQ(nullptr, control_.EditorHandle());
  EXPECT_EQ("Server: neu", TextOf(tree_, item));
  EXPECT_EQ(item, CaretOf(tree_));
}

TEST_F(TreeOptionsEditors, DestroyingTheTreeDiscardsTheOpenEdit) {
  HTREEITEM item = ValueItem("Server: alt", &kPlainEdit);
  Select(item);
  HWND editor = control_.EditorHandle();
  SetWindowTextA(editor, "neu");
  DestroyWindow(tree_);
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_EQ(nullptr, control_.EditorHandle());
  EXPECT_EQ(nullptr, control_.EditedItem());
}

TEST_F(TreeOptionsEditors, PlainDropDownCommitsAnEmptyValue) {
  HTREEITEM item = ValueItem("Modus: x", &kPlainCombo);
  Select(item);
  EXPECT_EQ(0, SendMessageA(control_.EditorHandle(), CB_GETCOUNT, 0, 0));
  Select(plain_);
  EXPECT_EQ("Modus: ", TextOf(tree_, item));
}

TEST_F(TreeOptionsEditors, DerivedDropDownSelectsTheEntryThatBeginsWithTheValue) {
  HTREEITEM item = ValueItem("Modus: be", &kModeCombo);
  Select(item);
  EXPECT_EQ(1, SendMessageA(control_.EditorHandle(), CB_GETCURSEL, 0, 0));
  Select(plain_);
  EXPECT_EQ("Modus: beta", TextOf(tree_, item));
}

// The rectangle a window was asked for when it was made, as a CBT hook
// sees it before the control adjusts its own size.
// Only the editor itself counts: the drop-down makes its list window too.
RECT requested;
HWND editorParent;
LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTA& create = *reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    if (create.hwndParent == editorParent)
      requested = {create.x, create.y, create.x + create.cx, create.y + create.cy};
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(TreeOptionsEditors, EditorsSitRightOfTheTextWithoutTakingTheFocus) {
  editorParent = tree_;
  HHOOK hook = SetWindowsHookExA(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
  HTREEITEM edited = ValueItem("Server: a", &kPlainEdit);
  Select(edited);
  RECT text = TextRect(edited);
  EXPECT_EQ((std::vector<LONG>{text.right + 2, text.top, text.right + 102, text.bottom + 5}),
            (std::vector<LONG>{requested.left, requested.top, requested.right, requested.bottom}));
  EXPECT_EQ(tree_, GetFocus());
  EXPECT_TRUE(GetWindowLongA(control_.EditorHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(100, GetDlgCtrlID(control_.EditorHandle()));

  HTREEITEM dropped = ValueItem("Modus: a", &kPlainCombo);
  Select(dropped);
  text = TextRect(dropped);
  EXPECT_EQ((std::vector<LONG>{text.right + 2, text.top, text.right + 102, text.top + 100}),
            (std::vector<LONG>{requested.left, requested.top, requested.right, requested.bottom}));
  EXPECT_EQ(tree_, GetFocus());
  // The combo box hands WS_VSCROLL on to its list, so the field's own style
  // shows the rest.
  EXPECT_EQ(DWORD(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST),
            DWORD(GetWindowLongA(control_.EditorHandle(), GWL_STYLE)) &
                (WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST));
  UnhookWindowsHookEx(hook);
}

TEST_F(TreeOptionsEditors, OrdinaryItemsOpenNoEditor) {
  Select(plain_);
  EXPECT_EQ(nullptr, control_.EditorHandle());
  EXPECT_EQ("Eintrag", TextOf(tree_, plain_));
}

}  // namespace
