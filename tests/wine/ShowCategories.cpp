// Arranges the main window's settings tree from outside for a screenshot of
// what lies further down: show_categories.exe CAPTION FIRST [COLLAPSED...]
// collapses the categories at the given places (0 the first) and scrolls
// the one at FIRST to the top. Item handles are only handed back to the
// tree, never read through, so they serve from another process.

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <vector>

namespace {

const int kSettingsTree = 1048;

HTREEITEM Next(HWND tree, UINT which, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND dialog = nullptr;
  for (int attempt = 0; attempt < 100 && !(dialog = FindWindowA("#32770", argv[1])); ++attempt)
    Sleep(100);
  HWND tree = dialog ? GetDlgItem(dialog, kSettingsTree) : nullptr;
  if (!tree) return 1;
  std::vector<HTREEITEM> categories;
  for (HTREEITEM item = Next(tree, TVGN_ROOT, nullptr); item; item = Next(tree, TVGN_NEXT, item))
    categories.push_back(item);
  for (int i = 3; i < argc; ++i) {
    size_t at = size_t(std::atoi(argv[i]));
    if (at < categories.size())
      SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(categories[at]));
  }
  size_t first = size_t(std::atoi(argv[2]));
  if (first >= categories.size()) return 1;
  SendMessageA(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(categories[first]));
  return 0;
}
