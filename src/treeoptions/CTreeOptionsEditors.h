#pragma once
// The in-place value editors of the tree options control: a drop-down list
// and a one-line edit field that sit right of a value item's text while it is
// selected. A derived class changes the look by overriding the virtual
// operations; a derived drop-down fills its list in FillList.

#include <windows.h>

#include <memory>
#include <string>

class CTreeOptionsCtrl;

// What both editors are: a child window of the tree, destroyed with the
// editor, of a width of its own, that knows the tree it edits in.
class CTreeOptionsEditor {
 public:
  virtual ~CTreeOptionsEditor();
  virtual int Width() const { return 100; }
  HWND Handle() const { return hwnd_; }
  CTreeOptionsCtrl* Tree() const { return tree_; }
  void SetTree(CTreeOptionsCtrl* tree) { tree_ = tree; }

 protected:
  HWND hwnd_ = nullptr;

 private:
  CTreeOptionsCtrl* tree_ = nullptr;
};

class CTreeOptionsCombo : public CTreeOptionsEditor {
 public:
  virtual DWORD WindowStyle() const { return WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST; }
  virtual int DropDownHeight() const { return 100; }
  // Called once the window exists, before the item's value is selected.
  virtual void FillList() {}

  bool Create(HWND tree, const RECT& rect, int id);
};

class CTreeOptionsEdit : public CTreeOptionsEditor {
 public:
  virtual DWORD WindowStyle() const { return WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL; }

  bool Create(HWND tree, const RECT& rect, int id, const std::string& text);
};

// What a value item's data names: a kind of editor that can make one. An
// ordinary item's data is 0; a value item's is the address of its kind,
// which lives as long as the tree (usually a static object).
class TreeOptionsEditorKind {
 public:
  virtual ~TreeOptionsEditorKind() = default;
  // The kind makes exactly one of the two: a drop-down list or an edit field.
  virtual std::unique_ptr<CTreeOptionsCombo> CreateCombo() const { return nullptr; }
  virtual std::unique_ptr<CTreeOptionsEdit> CreateEdit() const { return nullptr; }
};

template <class Combo>
class ComboEditorKind : public TreeOptionsEditorKind {
 public:
  std::unique_ptr<CTreeOptionsCombo> CreateCombo() const override {
    return std::make_unique<Combo>();
  }
};

template <class Edit>
class EditEditorKind : public TreeOptionsEditorKind {
 public:
  std::unique_ptr<CTreeOptionsEdit> CreateEdit() const override {
    return std::make_unique<Edit>();
  }
};
