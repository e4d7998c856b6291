#pragma once
// A tree-view turned into a list of options: category, check and radio
// items whose kind and state are their image index. It toggles items on click
// and Space and reports hover, toggles and right clicks to its owner.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "treeoptions/CTreeOptionsEditors.h"
#include "treeoptions/OptionImages.h"
#include "treeoptions/TreeOptionsOwner.h"

class CTreeOptionsCtrl {
 public:

  CTreeOptionsCtrl() = default;
  virtual ~CTreeOptionsCtrl();
  CTreeOptionsCtrl(const CTreeOptionsCtrl&) = delete;
  CTreeOptionsCtrl& operator=(const CTreeOptionsCtrl&) = delete;

  // Binds the control to an existing tree-view and installs its image list,
  // the owner's bitmap of 16-pixel pictures in the order of OptionImage.
  bool Attach(HWND tree, int imageStripId);
  HWND Handle() const { return hwnd_; }
  void SetOwner(TreeOptionsOwner* owner) { owner_ = owner; }

  HTREEITEM AddCategoryItem(const char* text, int image, HTREEITEM parent);
  HTREEITEM AddCheckItem(const char* text, HTREEITEM parent, bool checked);
  HTREEITEM AddRadioItem(const char* text, HTREEITEM parent, bool selected);
  void DeleteAllItems();

  bool IsCheckItem(HTREEITEM item) const { return IsCheckImage(ImageOf(item)); }
  bool IsRadioItem(HTREEITEM item) const { return IsRadioImage(ImageOf(item)); }
  bool IsChecked(HTREEITEM item) const { return IsCheckedImage(ImageOf(item)); }
  bool IsCheckEnabled(HTREEITEM item) const { return IsCheckEnabledImage(ImageOf(item)); }
  bool IsRadioSelected(HTREEITEM item) const { return IsRadioSelectedImage(ImageOf(item)); }
  bool IsRadioEnabled(HTREEITEM item) const { return IsRadioEnabledImage(ImageOf(item)); }
  bool IsChosen(HTREEITEM item) const { return IsChosenImage(ImageOf(item)); }

  void SetChecked(HTREEITEM item, bool checked);
  void SetCheckEnabled(HTREEITEM item, bool enabled);
  void SelectRadio(HTREEITEM item);
  void SelectRadioAt(HTREEITEM parent, int position);
  void SetRadioEnabled(HTREEITEM item, bool enabled);
  bool SetItemImages(HTREEITEM item, int image, int selectedImage);
  void SelectTreeItem(HTREEITEM item);
  void Expand(HTREEITEM item);
  void EnsureVisible(HTREEITEM item);
  HTREEITEM FirstItem() const;

  // The item's image index, or -1 when it cannot be read.
  int ImageOf(HTREEITEM item) const;

  // Value items: the text is label, ": ", value, and the item data names the
  // kind of editor that opens while the item is selected.
  void SetEditorKind(HTREEITEM item, const TreeOptionsEditorKind* kind);
  std::string SplitItemValue(HTREEITEM item);
  void AppendItemValue(HTREEITEM item, const std::string& value);
  void BeginInPlaceEdit(HTREEITEM item);
  void EndInPlaceEdit();
  void DestroyInPlaceEditor();
  HWND EditorHandle() const;
  HTREEITEM EditedItem() const { return editedItem_; }

 protected:
  // Window messages reach the control here first; what it does not take
  // goes on to the tree-view.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static CTreeOptionsCtrl* ControlOf(HWND window, bool parent);
  static LRESULT CALLBACK TreeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HTREEITEM HitTest(LPARAM point, UINT* flags) const;
  HTREEITEM InsertItem(const char* text, int image, HTREEITEM parent);
  void SelectInGroup(HTREEITEM parent, HTREEITEM target, int position);
  bool TakeChoice(HTREEITEM item);
  void OpenRevertMenuOfSelection();

  LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnRightButtonDown(LPARAM lParam);
  LRESULT OnChar(WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
  void OnSelectionChanged(const NMTREEVIEWA& change);
  void CommitEdit();
  std::string TextOf(HTREEITEM item) const;
  void SetText(HTREEITEM item, const std::string& text);

  HWND hwnd_ = nullptr;
  TreeOptionsOwner* owner_ = nullptr;
  HTREEITEM hoverItem_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HWND parent_ = nullptr;
  WNDPROC treePrevious_ = nullptr;
  WNDPROC parentPrevious_ = nullptr;
  std::unique_ptr<CTreeOptionsCombo> combo_;
  std::unique_ptr<CTreeOptionsEdit> edit_;
  HTREEITEM editedItem_ = nullptr;
  // Each item's image and selected image as this control set them; only it
  // sets them. Under Wine every message to the tree is a round trip to the
  // server, and a refresh asks every item's picture.
  struct ItemImages {
    HTREEITEM item;
    int image;
    int selectedImage;
  };
  std::vector<ItemImages> itemImages_;
  ItemImages* KnownImages(HTREEITEM item);
};
