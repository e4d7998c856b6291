#include "treeoptions/CTreeOptionsCtrl.h"

#include <algorithm>
#include <vector>

namespace {

constexpr UINT kActingHits =
    TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT | TVHT_ONITEMSTATEICON;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr int kEditorId = 100;
const char kValueSeparator[] = ": ";
constexpr size_t kItemTextCapacity = 1024;

// The controls attached to a tree. Their windows are subclassed by replacing
// the window procedure, and a procedure finds its control here: comctl32's
// SetWindowSubclass looks its data up in a window property twice per
// message, and under Wine each lookup is a round trip to the server.
std::vector<CTreeOptionsCtrl*>& AttachedControls() {
  static std::vector<CTreeOptionsCtrl*> controls;
  return controls;
}

WNDPROC Subclass(HWND window, WNDPROC procedure) {
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

}  // namespace

CTreeOptionsCtrl::~CTreeOptionsCtrl() {
  DestroyInPlaceEditor();
  if (parent_) Subclass(parent_, parentPrevious_);
  if (hwnd_) {
    Subclass(hwnd_, treePrevious_);
    SendMessageA(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  }
  std::vector<CTreeOptionsCtrl*>& controls = AttachedControls();
  controls.erase(std::remove(controls.begin(), controls.end(), this), controls.end());
  if (images_) ImageList_Destroy(images_);
}

bool CTreeOptionsCtrl::Attach(HWND tree, int imageStripId) {
  if (!tree || hwnd_) return false;
  AttachedControls().push_back(this);
  hwnd_ = tree;
  treePrevious_ = Subclass(tree, TreeProc);
  if (!treePrevious_) {
    hwnd_ = nullptr;
    AttachedControls().pop_back();
    return false;
  }
  // The tree's selection changes reach its parent; the control watches them
  // there, so that value items open their editors whoever the owner is.
  parent_ = GetParent(tree);
  if (parent_ && !(parentPrevious_ = Subclass(parent_, ParentProc))) parent_ = nullptr;
  images_ = ImageList_LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(imageStripId),
                                 16, 1, kMaskColour, IMAGE_BITMAP, 0);
  SendMessageA(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
  return true;
}

CTreeOptionsCtrl* CTreeOptionsCtrl::ControlOf(HWND window, bool parent) {
  for (CTreeOptionsCtrl* control : AttachedControls())
    if ((parent ? control->parent_ : control->hwnd_) == window) return control;
  return nullptr;
}

LRESULT CALLBACK CTreeOptionsCtrl::TreeProc(HWND hwnd, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  CTreeOptionsCtrl* control = ControlOf(hwnd, false);
  if (!control) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    WNDPROC previous = control->treePrevious_;
    Subclass(hwnd, previous);
    control->hwnd_ = nullptr;
    return CallWindowProcW(previous, hwnd, message, wParam, lParam);
  }
  return control->WindowProc(message, wParam, lParam);
}

LRESULT CALLBACK CTreeOptionsCtrl::ParentProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  CTreeOptionsCtrl* control = ControlOf(hwnd, true);
  if (!control) return DefWindowProcW(hwnd, message, wParam, lParam);
  WNDPROC previous = control->parentPrevious_;
  if (message == WM_NCDESTROY) {
    Subclass(hwnd, previous);
    control->parent_ = nullptr;
  } else if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom == control->hwnd_ &&
        (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW)) {
      control->OnSelectionChanged(*reinterpret_cast<NMTREEVIEWA*>(lParam));
      return 0;
    }
    // The tree-view keeps Shift+F10 to itself and tells its parent only of
    // the key.
    if (header->hwndFrom == control->hwnd_ && header->code == TVN_KEYDOWN &&
        reinterpret_cast<NMTVKEYDOWN*>(lParam)->wVKey == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
      control->OpenRevertMenuOfSelection();
      return 0;
    }
  }
  return CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

LRESULT CTreeOptionsCtrl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(treePrevious_, hwnd_, message, wParam, lParam);
}

LRESULT CTreeOptionsCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return OnLeftButtonDown(wParam, lParam);
    case WM_RBUTTONDOWN:
      return OnRightButtonDown(lParam);
    case WM_CHAR:
      return OnChar(wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(wParam, lParam);
    case WM_CONTEXTMENU:
      // The context-menu key sends no point; a mouse's right click is
      // handled where it is pressed.
      if (lParam == -1) {
        OpenRevertMenuOfSelection();
        return 0;
      }
      break;
    case WM_VSCROLL:
    case WM_HSCROLL:
      CommitEdit();
      break;
    case WM_DESTROY:
      // The tree goes away: an open edit is discarded, not written back.
      DestroyInPlaceEditor();
      break;
  }
  return Default(message, wParam, lParam);
}

HTREEITEM CTreeOptionsCtrl::HitTest(LPARAM point, UINT* flags) const {
  TVHITTESTINFO hit = {};
  hit.pt.x = static_cast<short>(LOWORD(point));
  hit.pt.y = static_cast<short>(HIWORD(point));
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageA(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (flags) *flags = hit.flags;
  return item;
}


LRESULT CTreeOptionsCtrl::OnLeftButtonDown(WPARAM wParam, LPARAM lParam) {
  UINT flags = 0;
  HTREEITEM item = HitTest(lParam, &flags);
  // The toggle comes before the tree-view's own handling of the click.
  if (item && (flags & kActingHits)) TakeChoice(item);
  return Default(WM_LBUTTONDOWN, wParam, lParam);
}

// An enabled check item toggles; a disabled one is left alone, and not
// taken for a radio item. An enabled radio item is chosen (one that is
// already chosen stays so). A choice the user makes, by mouse or key, can be
// applied. False for an item that offers no choice.
bool CTreeOptionsCtrl::TakeChoice(HTREEITEM item) {
  if (IsCheckItem(item)) {
    if (!IsCheckEnabled(item)) return false;
    SetChecked(item, !IsChecked(item));
  } else if (IsRadioItem(item) && IsRadioEnabled(item)) {
    if (IsRadioSelected(item)) return true;
    SelectRadio(item);
  } else {
    return false;
  }
  if (owner_) owner_->EnableApplyButton(true);
  return true;
}

// The keyboard's way to the menu a right click opens: on the selected item,
// below its text.
void CTreeOptionsCtrl::OpenRevertMenuOfSelection() {
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item || !owner_ || ImageOf(item) != ImageCheckedDisabled) return;
  RECT rect = {};
  if (!TreeView_GetItemRect(hwnd_, item, &rect, TRUE)) return;
  owner_->ShowRevertMenu(POINT{rect.left, rect.bottom}, item);
}

LRESULT CTreeOptionsCtrl::OnRightButtonDown(LPARAM lParam) {
  HTREEITEM item = HitTest(lParam, nullptr);
  if (!item || !IsCheckItem(item)) return 0;
  SelectTreeItem(item);
  if (ImageOf(item) == ImageCheckedDisabled && owner_) {
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    owner_->ShowRevertMenu(point, item);
  }
  // The tree-view's own right-click handling would start a drag or a menu.
  return 0;
}

LRESULT CTreeOptionsCtrl::OnChar(WPARAM wParam, LPARAM lParam) {
  if (wParam != ' ') return Default(WM_CHAR, wParam, lParam);
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item || TakeChoice(item)) return 0;
  return Default(WM_CHAR, wParam, lParam);
}

LRESULT CTreeOptionsCtrl::OnMouseMove(WPARAM wParam, LPARAM lParam) {
  HTREEITEM item = HitTest(lParam, nullptr);
  if (item == hoverItem_) return 0;
  hoverItem_ = item;
  if (owner_) owner_->ShowHover(item);
  return Default(WM_MOUSEMOVE, wParam, lParam);
}

int CTreeOptionsCtrl::ImageOf(HTREEITEM item) const {
  if (!item) return -1;
  for (const ItemImages& known : itemImages_)
    if (known.item == item) return known.image;
  TVITEMA tv = {};
  tv.mask = TVIF_HANDLE | TVIF_IMAGE;
  tv.hItem = item;
  if (!SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return -1;
  return tv.iImage;
}

// An item that already shows these pictures is left alone: every change
// makes the tree measure and repaint the item.
bool CTreeOptionsCtrl::SetItemImages(HTREEITEM item, int image, int selectedImage) {
  if (!item) return false;
  ItemImages* known = KnownImages(item);
  if (known && known->image == image && known->selectedImage == selectedImage) return true;
  TVITEMA tv = {};
  tv.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tv.hItem = item;
  tv.iImage = image;
  tv.iSelectedImage = selectedImage;
  if (!SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return false;
  if (known)
    *known = {item, image, selectedImage};
  else
    itemImages_.push_back({item, image, selectedImage});
  return true;
}

CTreeOptionsCtrl::ItemImages* CTreeOptionsCtrl::KnownImages(HTREEITEM item) {
  for (ItemImages& known : itemImages_)
    if (known.item == item) return &known;
  return nullptr;
}

HTREEITEM CTreeOptionsCtrl::InsertItem(const char* text, int image, HTREEITEM parent) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  // Item data 0 marks an ordinary item; a nonzero one names an in-place editor.
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text);
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  insert.item.lParam = 0;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item) itemImages_.push_back({item, image, image});
  return item;
}

HTREEITEM CTreeOptionsCtrl::AddCategoryItem(const char* text, int image, HTREEITEM parent) {
  return InsertItem(text, image, parent);
}

HTREEITEM CTreeOptionsCtrl::AddCheckItem(const char* text, HTREEITEM parent, bool checked) {
  return InsertItem(text, CheckedImage(checked), parent);
}

HTREEITEM CTreeOptionsCtrl::AddRadioItem(const char* text, HTREEITEM parent, bool selected) {
  HTREEITEM item = InsertItem(text, ImageRadioOff, parent);
  if (selected) SelectRadio(item);
  return item;
}

void CTreeOptionsCtrl::DeleteAllItems() {
  SendMessageA(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  hoverItem_ = nullptr;
  itemImages_.clear();
}

void CTreeOptionsCtrl::SetChecked(HTREEITEM item, bool checked) {
  int image = CheckedImage(checked);
  SetItemImages(item, image, image);
}

void CTreeOptionsCtrl::SetCheckEnabled(HTREEITEM item, bool enabled) {
  int image = CheckEnabledImage(ImageOf(item), enabled);
  SetItemImages(item, image, image);
}

void CTreeOptionsCtrl::SetRadioEnabled(HTREEITEM item, bool enabled) {
  int image = RadioEnabledImage(ImageOf(item), enabled);
  SetItemImages(item, image, image);
}

void CTreeOptionsCtrl::SelectRadio(HTREEITEM item) {
  HTREEITEM parent = reinterpret_cast<HTREEITEM>(
      SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
  SelectInGroup(parent, item, -1);
}

void CTreeOptionsCtrl::SelectRadioAt(HTREEITEM parent, int position) {
  SelectInGroup(parent, nullptr, position);
}

// Every child of the parent belongs to the group; the target is the item
// itself, or the child at the position. A group that changes repaints once;
// one that already looks so is left alone, since turning redraw back on
// measures every item of the tree anew.
void CTreeOptionsCtrl::SelectInGroup(HTREEITEM parent, HTREEITEM target, int position) {
  struct Change {
    HTREEITEM item;
    int image;
  };
  std::vector<Change> changes;
  HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageA(
      hwnd_, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
  for (int index = 0; child; ++index) {
    bool isTarget = target ? child == target : index == position;
    int current = ImageOf(child);
    int image = RadioGroupImage(current, isTarget);
    if (image != current) changes.push_back({child, image});
    child = reinterpret_cast<HTREEITEM>(
        SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
  }
  if (changes.empty()) return;
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  for (const Change& change : changes) SetItemImages(change.item, change.image, change.image);
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void CTreeOptionsCtrl::SelectTreeItem(HTREEITEM item) {
  SendMessageA(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void CTreeOptionsCtrl::Expand(HTREEITEM item) {
  SendMessageA(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void CTreeOptionsCtrl::EnsureVisible(HTREEITEM item) {
  SendMessageA(hwnd_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

HTREEITEM CTreeOptionsCtrl::FirstItem() const {
  return reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

void CTreeOptionsCtrl::CommitEdit() {
  if (!editedItem_) return;
  EndInPlaceEdit();
  DestroyInPlaceEditor();
}

void CTreeOptionsCtrl::OnSelectionChanged(const NMTREEVIEWA& change) {
  if (owner_) owner_->ShowSelected(change.itemNew.hItem);
  CommitEdit();
  if (change.itemNew.hItem && change.itemNew.lParam) BeginInPlaceEdit(change.itemNew.hItem);
}

std::string CTreeOptionsCtrl::TextOf(HTREEITEM item) const {
  char text[kItemTextCapacity] = {};
  TVITEMA tv = {};
  tv.mask = TVIF_HANDLE | TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = sizeof text;
  SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return text;
}

void CTreeOptionsCtrl::SetText(HTREEITEM item, const std::string& text) {
  TVITEMA tv = {};
  tv.mask = TVIF_HANDLE | TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = const_cast<char*>(text.c_str());
  SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void CTreeOptionsCtrl::SetEditorKind(HTREEITEM item, const TreeOptionsEditorKind* kind) {
  TVITEMA tv = {};
  tv.mask = TVIF_HANDLE | TVIF_PARAM;
  tv.hItem = item;
  tv.lParam = reinterpret_cast<LPARAM>(kind);
  SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

std::string CTreeOptionsCtrl::SplitItemValue(HTREEITEM item) {
  std::string text = TextOf(item);
  std::string::size_type separator = text.find(kValueSeparator);
  std::string label = separator == std::string::npos ? text + kValueSeparator
                                                     : text.substr(0, separator + 2);
  std::string value = separator == std::string::npos ? "" : text.substr(separator + 2);
  if (label != text) SetText(item, label);
  return value;
}

void CTreeOptionsCtrl::AppendItemValue(HTREEITEM item, const std::string& value) {
  std::string text = TextOf(item);
  if (text.find(kValueSeparator) == std::string::npos) text += kValueSeparator;
  SetText(item, text + value);
}

void CTreeOptionsCtrl::BeginInPlaceEdit(HTREEITEM item) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  TVITEMA data = {};
  data.mask = TVIF_HANDLE | TVIF_PARAM;
  data.hItem = item;
  if (!SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)) || !data.lParam) return;
  const auto* kind = reinterpret_cast<const TreeOptionsEditorKind*>(data.lParam);
  std::unique_ptr<CTreeOptionsCombo> combo = kind->CreateCombo();
  std::unique_ptr<CTreeOptionsEdit> edit = combo ? nullptr : kind->CreateEdit();
  if (!combo && !edit) return;

  editedItem_ = item;
  std::string value = SplitItemValue(item);
  RECT text = {};
  TreeView_GetItemRect(hwnd_, item, &text, TRUE);
  RECT place = {text.right + 2, text.top, 0, 0};
  HWND editor = nullptr;
  if (combo) {
    place.right = place.left + combo->Width();
    place.bottom = place.top + combo->DropDownHeight();
    combo->SetTree(this);
    if (combo->Create(hwnd_, place, kEditorId)) editor = combo->Handle();
  } else {
    place.right = place.left + edit->Width();
    place.bottom = text.bottom + 5;
    edit->SetTree(this);
    if (edit->Create(hwnd_, place, kEditorId, value)) editor = edit->Handle();
  }
  if (editor) SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (combo && editor) {
    combo->FillList();
    SendMessageA(editor, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(value.c_str()));
  }
  combo_ = std::move(combo);
  edit_ = std::move(edit);
}

HWND CTreeOptionsCtrl::EditorHandle() const {
  if (combo_) return combo_->Handle();
  return edit_ ? edit_->Handle() : nullptr;
}

void CTreeOptionsCtrl::EndInPlaceEdit() {
  HWND editor = EditorHandle();
  if (!editedItem_ || !editor) return;
  std::string text(static_cast<size_t>(GetWindowTextLengthA(editor)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(editor, &text[0], static_cast<int>(text.size()))));
  AppendItemValue(editedItem_, text);
}

void CTreeOptionsCtrl::DestroyInPlaceEditor() {
  combo_.reset();
  edit_.reset();
  editedItem_ = nullptr;
}
