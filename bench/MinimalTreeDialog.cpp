// The baseline of the main window: a dialog from a template whose tree-view
// (the same control id as the main window's) holds a few items.
#include <windows.h>
#include <commctrl.h>

#include "MinimalTreeDialog.h"

namespace {

const char* const kItems[] = {"First", "Second", "Third", "Fourth"};

void AddItem(HWND tree, HTREEITEM parent, const char* text) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<char*>(text);
  SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    HWND tree = GetDlgItem(dialog, IDC_MINIMAL_TREE);
    for (const char* text : kItems) AddItem(tree, TVI_ROOT, text);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MINIMAL_TREE), nullptr, Procedure, 0);
  return 0;
}
