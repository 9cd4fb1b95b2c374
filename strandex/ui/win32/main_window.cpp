// The editor's main window.
#include "strandex/ui/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "common/string_functions.h"
#include "strandex/ui/resources.h"
#include "strandex/ui/win32/debug_output.h"
#include "strandex/ui/win32/file_dialog.h"
#include "strandex/ui/win32/find_results_window.h"
#include "strandex/ui/win32/modal_dialog.h"
#include "strandex/ui/win32/resource_builder.h"
#include "strandex/ui/win32/win32_text.h"

namespace ui {

namespace {

constexpr DWORD kTabStyle = WS_CHILD | WS_VISIBLE | TCS_BUTTONS | TCS_FLATBUTTONS;
// Report mode, selection shown without focus; a virtual list, so that a category of any size
// shows at once.
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
// Posted to the main window: make the spare Find results window.
constexpr UINT kMakeSpareFindResults = WM_APP + 1;

HWND CreateChild(HWND parent, HINSTANCE instance, const wchar_t* window_class, DWORD style, int x, int y,
                 int width, int height, int id = 0, const char16_t* text = u"") {
  HWND child = ::CreateWindowExW(0, window_class, W(text), style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (child)
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
  return child;
}

}  // namespace

MainWindowClass::~MainWindowClass() {
  if (window) ::DestroyWindow(window);
}

bool MainWindowClass::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kAppIcon));
  window_class.hIconSm =
      static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kAppIcon), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
  window_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  // The background is given as the system-colour value 5.
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(5));
  window_class.lpszMenuName = MAKEINTRESOURCEW(kMainMenu);
  window_class.lpszClassName = kMainWindowClass;
  return ::RegisterClassExW(&window_class) != 0;
}

void MainWindowClass::UnregisterWindowClass(HINSTANCE instance) {
  ::UnregisterClassW(kMainWindowClass, instance);
}

HWND MainWindowClass::Create() {
  // The window takes the menu of its class.
  HWND created =
      ::CreateWindowExW(0, kMainWindowClass, W(kAppTitle), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                        CW_USEDEFAULT, kMainWidth, kMainHeight, nullptr, nullptr, instance, this);
  if (!created) return nullptr;
  RunLayout();
  ::PostMessageW(created, kMakeSpareFindResults, 0, 0);
  return created;
}

LRESULT CALLBACK MainWindowClass::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<MainWindowClass*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<MainWindowClass*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window = hwnd;
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT MainWindowClass::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      if (CreateControls()) {
        editor.Start();
        return 0;
      }
      ::MessageBoxW(window, L"Error creating controls.", L"Error.", MB_ICONWARNING);
      return -1;  // the window is destroyed
    case WM_CLOSE:
      ::DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window = tabs = list = status_bar = filter_edit = filter_all = nullptr;
      break;
    case WM_SIZE:
      if (status_bar) ::SendMessageW(status_bar, WM_SIZE, wparam, lparam);
      RunLayout();
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lparam));
    case WM_COMMAND:
      if (lparam &&
          (reinterpret_cast<HWND>(lparam) == filter_edit || reinterpret_cast<HWND>(lparam) == filter_all)) {
        if (HIWORD(wparam) == EN_CHANGE || HIWORD(wparam) == BN_CLICKED) FilterChanged();
        return 0;
      }
      editor.ExecuteCommand(LOWORD(wparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE && ::IsChild(window, ::GetFocus())) focused = ::GetFocus();
      break;
    case WM_SETFOCUS:
      // Back to the control that had the focus, at first the list.
      ::SetFocus(::IsWindow(focused) && ::IsChild(window, focused) ? focused : list);
      return 0;
    case WM_KEYDOWN:
      if (OnKey(window, wparam)) return 0;
      break;
    case kMakeSpareFindResults:
      if (!spare_find_window) spare_find_window = CreateFindResultsWindow(instance, *this);
      return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

bool MainWindowClass::CreateControls() {
  status_bar = CreateChild(window, instance, STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0);
  tabs = CreateChild(window, instance, WC_TABCONTROLW, kTabStyle, 0, 20, 500, 500);
  list = CreateChild(window, instance, WC_LISTVIEWW, kListStyle, 0, 100, 500, 40);
  filter_edit = CreateChild(window, instance, L"EDIT", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0,
                            0, 0, 0, kFilterText);
  filter_all = CreateChild(window, instance, L"BUTTON", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 0, 0,
                           kFilterAllCategories, kFilterAllCategoriesText);
  if (!status_bar || !tabs || !list || !filter_edit || !filter_all) return false;
  SetUpListColumns(list, kListColumns, 4);
  ::SetWindowSubclass(filter_edit, ControlProc, 0, reinterpret_cast<DWORD_PTR>(this));
  ::SetWindowSubclass(tabs, ControlProc, 0, reinterpret_cast<DWORD_PTR>(this));
  ::SetWindowSubclass(list, ControlProc, 0, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

LRESULT CALLBACK MainWindowClass::ControlProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam,
                                              UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindowClass*>(data);
  switch (message) {
    case WM_KEYDOWN:
      if (self->OnKey(control, wparam)) return 0;
      break;
    case WM_MOUSEWHEEL: {
      // The wheel over the tab row scrolls it, wherever the focus is.
      POINT at = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (::WindowFromPoint(at) != self->tabs && control != self->tabs) break;
      self->ScrollTabs(GET_WHEEL_DELTA_WPARAM(wparam) > 0 ? -1 : 1);
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (control == self->tabs) {
        // A click on the selected item changes no selection, so the control tells nothing:
        // it chooses that tab again, which fills the list.
        TCHITTESTINFO hit = {{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}, 0};
        int item = static_cast<int>(::SendMessageW(control, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        bool again = item >= 0 && item == ::SendMessageW(control, TCM_GETCURSEL, 0, 0);
        LRESULT result = ::DefSubclassProc(control, message, wparam, lparam);
        if (again) self->ChooseItem(item);
        return result;
      }
      break;
    case WM_CHAR:
      // Escape empties the filter (on WM_KEYDOWN) without the edit's beep.
      if (control == self->filter_edit && wparam == VK_ESCAPE) return 0;
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(control, ControlProc, 0);
      break;
  }
  return ::DefSubclassProc(control, message, wparam, lparam);
}

bool MainWindowClass::OnKey(HWND from, WPARAM key) {
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  const StringListClass& view = editor.View();
  if (key == VK_TAB && control) {
    // The next or previous tab, round the ends.
    const int count = view.TabCount(), step = ::GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    if (count > 0) ChooseTab(((view.SelectedTab() + step) % count + count) % count);
    return true;
  }
  if (key == VK_TAB) {
    ::SetFocus(from == tabs ? list : tabs);
    return true;
  }
  if (from == filter_edit && key == VK_ESCAPE) {
    ::SetWindowTextW(filter_edit, L"");
    return true;
  }
  if (key == kNextUntranslatedKey) {
    editor.ExecuteCommand(kCmdNextUntranslated);
    return true;
  }
  if (from == list && key == VK_RETURN) {
    // As a double-click on the row that has the focus.
    int row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
    if (row >= 0 && ::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED))
      editor.OnRowDoubleClicked(row);
    return true;
  }
  if (from != tabs || control) return false;
  switch (key) {
    case VK_LEFT:
      ChooseTab(view.SelectedTab() > 0 ? view.SelectedTab() - 1 : 0);
      return true;
    case VK_RIGHT:
      ChooseTab(view.SelectedTab() + 1 < view.TabCount() ? view.SelectedTab() + 1 : view.SelectedTab());
      return true;
    case VK_HOME:
      ChooseTab(0);
      return true;
    case VK_END:
      ChooseTab(view.TabCount() - 1);
      return true;
  }
  return false;
}

void MainWindowClass::ChooseItem(int item) {
  int tab = shown_page.TabOfItem(item);
  if (tab < 0) return;
  editor.OnTabSelected(tab);
  // An item leading to another page shows the page of the tab it selected.
  if (shown_page.LeadsToPage(item)) TabsChanged();
}

void MainWindowClass::ChooseTab(int tab) {
  if (tab < 0 || tab >= editor.View().TabCount() || tab == editor.View().SelectedTab()) return;
  editor.OnTabSelected(tab);
  TabsChanged();
}

void MainWindowClass::ScrollTabs(int steps) {
  // The row scrolls through the arrows it shows when its items do not fit; their position is the
  // first item in view.
  HWND arrows = ::FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
  if (!arrows || !::IsWindowVisible(arrows)) return;
  int low = 0, high = 0;
  ::SendMessageW(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  int first = static_cast<int>(::SendMessageW(arrows, UDM_GETPOS32, 0, 0)) + steps;
  if (first < low || first > high) return;
  ::SendMessageW(tabs, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, first), reinterpret_cast<LPARAM>(arrows));
}

LRESULT MainWindowClass::OnNotify(const NMHDR* header) {
  if (header->hwndFrom == list) {
    switch (header->code) {
      case LVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header));
        if (info->item.mask & LVIF_TEXT) {
          CopyCellText(editor.View().CellText(info->item.iItem, info->item.iSubItem), info->item.pszText,
                       info->item.cchTextMax);
        }
        return 0;
      }
      case NM_DBLCLK: {
        int row = reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem;
        if (row == -1) return 0;
        editor.OnRowDoubleClicked(row);
        return 1;
      }
      case LVN_DELETEALLITEMS:
        return TRUE;  // no LVN_DELETEITEM for each row: the rows own nothing
      case NM_RCLICK:
        return reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem != -1 ? 1 : 0;
    }
  } else if (header->hwndFrom == tabs && header->code == TCN_SELCHANGE) {
    ChooseItem(static_cast<int>(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0)));
  }
  return 0;
}

template <typename Run>
auto MainWindowClass::WithFocusKept(Run run) {
  HWND had = ::GetFocus();
  auto result = run();
  if (::IsWindow(had)) ::SetFocus(had);
  return result;
}

bool MainWindowClass::ChooseFile(const FileDialogRequest& request, NarrowStringClass& path) {
  if (file_chooser) return file_chooser(request, path);
  return WithFocusKept([&] { return RunFileDialog(request, window, path); });
}

void MainWindowClass::SetTitle(const char16_t* title) { ::SetWindowTextW(window, W(title)); }

void MainWindowClass::SetMenuItemEnabled(int command, bool enabled) {
  ::EnableMenuItem(::GetMenu(window), command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainWindowClass::SetMenuItemChecked(int command, bool checked) {
  ::CheckMenuItem(::GetMenu(window), command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindowClass::SetMenuItemShown(int command, bool shown) {
  HMENU bar = ::GetMenu(window);
  const bool present = ::GetMenuState(bar, command, MF_BYCOMMAND) != static_cast<UINT>(-1);
  if (!shown) {
    if (present) ::DeleteMenu(bar, command, MF_BYCOMMAND);
    return;
  }
  if (present) return;
  // Its popup is the one of the table, its place after the items before it that are present.
  int popup = -1, place = 0;
  for (int i = 0; i < kMenuItemCount; ++i) {
    const MenuItemTemplate& item = kMenuItems[i];
    if (i == 0 || WideCompare(item.Popup, kMenuItems[i - 1].Popup) != 0) {
      ++popup;
      place = 0;
    }
    if (item.Command != command) {
      place += !item.Text || ::GetMenuState(bar, item.Command, MF_BYCOMMAND) != static_cast<UINT>(-1);
      continue;
    }
    UnicodeStringClass text(item.Text);
    if (command == kCmdNextUntranslated) text.Append(u"\tF8");
    ::InsertMenuW(::GetSubMenu(bar, popup), place, MF_BYPOSITION | MF_STRING, command, W(text.Chars()));
    return;
  }
}

void MainWindowClass::ShowFilterBar(bool shown) {
  ::ShowWindow(filter_edit, shown ? SW_SHOW : SW_HIDE);
  ::ShowWindow(filter_all, shown ? SW_SHOW : SW_HIDE);
  if (!shown) ::SetWindowTextW(filter_edit, L"");
  RunLayout();
  if (shown) ::SetFocus(filter_edit);
}

void MainWindowClass::FilterChanged() {
  editor.OnFilterChanged(WindowText(filter_edit),
                         ::SendMessageW(filter_all, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

void MainWindowClass::SetStatusText(const char16_t* text) {
  ::SendMessageW(status_bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(text)));
}

bool MainWindowClass::TabItemIs(int index, const UnicodeStringClass& text, int id, DWORD state) {
  wchar_t shown[512] = {0};
  TCITEMW item = {};
  item.mask = TCIF_TEXT | TCIF_PARAM | TCIF_STATE;
  item.dwStateMask = TCIS_HIGHLIGHTED;
  item.pszText = shown;
  item.cchTextMax = 512;
  return ::SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item)) && item.lParam == id &&
         (item.dwState & TCIS_HIGHLIGHTED) == state && WideCompare(U(shown), text.Chars()) == 0;
}

void MainWindowClass::TabsChanged() {
  const StringListClass& view = editor.View();
  // The row holds the page of the selected tab. The control measures all its items again
  // whenever one is inserted, changed or deleted, so the surplus is deleted first and then only
  // the items that differ are written, in place (Show string often changes only the selection).
  const TabPageClass page(view.TabCount(), view.SelectedTab());
  int shown = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  bool changed = shown > page.ItemCount();
  ::SendMessageW(tabs, WM_SETREDRAW, FALSE, 0);
  for (; shown > page.ItemCount(); --shown) ::SendMessageW(tabs, TCM_DELETEITEM, shown - 1, 0);
  for (int i = 0; i < page.ItemCount(); ++i) {
    int id = 0;
    // The control reads '&' as the mark of a mnemonic; names show as they are. The items that
    // lead to other pages are drawn highlighted, unlike any category.
    UnicodeStringClass text = WithAmpersandsDoubled(page.ItemText(view, i, &id));
    const DWORD state = page.LeadsToPage(i) ? TCIS_HIGHLIGHTED : 0;
    if (i < shown && TabItemIs(i, text, id, state)) continue;
    changed = true;
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM | TCIF_STATE;
    item.dwState = state;
    item.dwStateMask = TCIS_HIGHLIGHTED;
    item.pszText = const_cast<wchar_t*>(W(text.Chars()));
    item.lParam = id;
    ::SendMessageW(tabs, i < shown ? TCM_SETITEMW : TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    // An inserted item takes no state.
    if (i >= shown && state) ::SendMessageW(tabs, TCM_HIGHLIGHTITEM, i, TRUE);
  }
  ::SendMessageW(tabs, WM_SETREDRAW, TRUE, 0);
  if (changed) ::InvalidateRect(tabs, nullptr, TRUE);
  shown_page = page;
  // Selecting an item scrolls the row to it; the row's start, which holds the items leading to
  // other pages, is selected first, so that it stays in view beside the page's first tabs.
  const int selected = page.ItemOfTab(view.SelectedTab());
  if (selected >= 0 && page.LeadsToPage(0)) ::SendMessageW(tabs, TCM_SETCURSEL, 0, 0);
  ::SendMessageW(tabs, TCM_SETCURSEL, selected, 0);
}

void MainWindowClass::RowsChanged() {
  // New rows: no selection, no selection mark, scrolled to the top; drawn once.
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  ::SendMessageW(list, LVM_SETITEMCOUNT, editor.View().RowCount(), 0);
  ::SendMessageW(list, LVM_SETSELECTIONMARK, 0, -1);
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

namespace {

// Gives a report list the columns of a table from first on; those before it stay as they are.
void SetColumnsFrom(HWND list, int first, const ColumnTemplate* columns, int count) {
  int shown = static_cast<int>(::SendMessageW(ListView_GetHeader(list), HDM_GETITEMCOUNT, 0, 0));
  for (; shown > first; --shown) ::SendMessageW(list, LVM_DELETECOLUMN, shown - 1, 0);
  for (int i = first; i < count; ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = columns[i].Width;
    column.pszText = const_cast<wchar_t*>(W(columns[i].Caption));
    ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

}  // namespace

void MainWindowClass::ColumnsChanged() {
  // The four columns of the string list stay; those after them follow the view.
  SetColumnsFrom(list, 4, editor.View().Columns(), editor.View().ColumnCount());
  ::InvalidateRect(list, nullptr, TRUE);
}

void MainWindowClass::SelectRow(int row) {
  LVITEMW item = {};
  item.state = LVIS_SELECTED;
  item.stateMask = LVIS_SELECTED;
  ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  ::SendMessageW(list, LVM_SETSELECTIONMARK, 0, row);
  // The row the command found is the one the keys go on from, and the list shows its selection
  // in the colours of the focus.
  item.state = item.stateMask = LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  ::SetFocus(list);
}

void MainWindowClass::ScrollRowNearTop(int row) {
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  if (!::SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds))) return;
  ::SendMessageW(list, LVM_SCROLL, 0, 2 * bounds.top - bounds.bottom);
}

int MainWindowClass::SelectionMark() {
  // The row with the focus: the one clicked last, Shift+click included (the list's own selection
  // mark stays at the start of a Shift range).
  return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
}

bool MainWindowClass::IsRowSelected(int row) {
  return (::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

int MainWindowClass::RunDialog(DialogLogicClass& dialog) {
  if (dialog_runner) return dialog_runner(dialog);
  return WithFocusKept([&] { return RunModalDialog(instance, window, dialog, &running_dialog); });
}

// The window is shown once its rows are in (FindResultsChanged, within the same command): wine
// takes several times as long to set the columns and rows of a list view that is shown.
bool MainWindowClass::OpenFindResults() {
  if (find_window) return true;
  find_window = spare_find_window ? spare_find_window : CreateFindResultsWindow(instance, *this);
  spare_find_window = nullptr;
  return find_window != nullptr;
}

void MainWindowClass::CloseFindResults() {
  if (find_window) ::DestroyWindow(find_window);
}

void MainWindowClass::OnFindResultsDestroyed(HWND dialog, const RECT& place) {
  if (dialog == spare_find_window) {
    spare_find_window = nullptr;
    return;
  }
  find_window = nullptr;
  find_place = place;
  find_place_known = true;
  editor.OnFindResultsClosed();
  // The next Find with hits opens a spare again.
  ::PostMessageW(window, kMakeSpareFindResults, 0, 0);
}

namespace {

long long Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return ::IntersectRect(&both, &a, &b) ? 1LL * (both.right - both.left) * (both.bottom - both.top) : 0;
}

}  // namespace

POINT MainWindowClass::FindResultsPlace(SIZE size) const {
  if (find_place_known) return {find_place.left, find_place.top};
  RECT main, rows;
  ::GetWindowRect(window, &main);
  ::GetWindowRect(list, &rows);
  MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  // Right of, below, left of and above the main window, then the lower corners of the work
  // area (the list's first rows, where Show string puts the row it finds, stay free longest).
  const POINT candidates[] = {{main.right, main.top},
                              {main.left, main.bottom},
                              {main.left - size.cx, main.top},
                              {main.left, main.top - size.cy},
                              {work.right - size.cx, work.bottom - size.cy},
                              {work.left, work.bottom - size.cy}};
  POINT best = {};
  long long least = -1;
  for (POINT at : candidates) {
    at.x = std::max(work.left, std::min<LONG>(at.x, work.right - size.cx));
    at.y = std::max(work.top, std::min<LONG>(at.y, work.bottom - size.cy));
    const long long covered = Overlap({at.x, at.y, at.x + size.cx, at.y + size.cy}, rows);
    if (least < 0 || covered < least) {
      best = at;
      least = covered;
    }
  }
  return best;
}

void MainWindowClass::FindResultsChanged() {
  if (!find_window) return;
  HWND results = ::GetDlgItem(find_window, kResultsList);
  ::SendMessageW(results, WM_SETREDRAW, FALSE, 0);
  // Check translations shows the problem in a column of its own (and the English text narrower).
  SetColumnsFrom(results, 2, editor.Results().Columns(), editor.Results().ColumnCount());
  ::SendMessageW(results, LVM_DELETEALLITEMS, 0, 0);
  ::SendMessageW(results, LVM_SETITEMCOUNT, editor.Results().RowCount(), 0);
  ::SendMessageW(results, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(results, nullptr, TRUE);
  if (!::IsWindowVisible(find_window)) ShowFindResultsWindow(find_window, *this);
}

void MainWindowClass::FocusStringList() { ::SetFocus(list); }

void MainWindowClass::ShowMessage(MessageKind kind, const char16_t* caption, const char16_t* text) {
  ::MessageBoxW(running_dialog ? running_dialog : window, W(text), W(caption),
                MB_OK | (kind == MessageKind::Error ? MB_ICONERROR : MB_ICONWARNING));
}

bool MainWindowClass::AskOkCancel(const char16_t* caption, const char16_t* text) {
  return ::MessageBoxW(running_dialog ? running_dialog : window, W(text), W(caption),
                       MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) == IDOK;
}

void MainWindowClass::DebugOutput(const char16_t* text) { DebugPrint(text); }

void MainWindowClass::RunLayout() {
  if (!window || !tabs || !list || !status_bar) return;
  RECT client, tab, status;
  ::GetClientRect(window, &client);
  ::GetClientRect(tabs, &tab);
  ::GetClientRect(status_bar, &status);
  ::SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&tab));
  const int strip = tab.top;
  ::SetWindowPos(tabs, nullptr, client.left, client.top, client.right, strip + 10, SWP_NOZORDER);
  // The filter bar, when shown, stands between them (a line of the font high, with a margin)
  // and moves the list down by its height.
  int bar = 0;
  if (::GetWindowLongW(filter_edit, GWL_STYLE) & WS_VISIBLE) {
    TEXTMETRICW metrics = {};
    HDC dc = ::GetDC(filter_edit);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(filter_edit, WM_GETFONT, 0, 0)));
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(filter_edit, dc);
    bar = metrics.tmHeight + 10;
    const int box = std::min<int>(client.right / 2, 8 * metrics.tmAveCharWidth * 2);
    ::SetWindowPos(filter_edit, nullptr, 2, strip + 12, client.right - box - 6, bar - 4, SWP_NOZORDER);
    // The box is painted anew where it moves to: pixels moved with it would be painted over by the
    // main window, which draws the ground it gains when it grows.
    ::SetWindowPos(filter_all, nullptr, client.right - box, strip + 12, box - 2, bar - 4,
                   SWP_NOZORDER | SWP_NOCOPYBITS);
  }
  ::SetWindowPos(list, nullptr, client.left, strip + 10 + bar, client.right,
                 client.bottom - status.bottom - strip - 10 - bar, SWP_NOZORDER);
}

void MainWindowClass::Quit() { ::DestroyWindow(window); }

int MainWindowClass::ReadSetting(const char16_t* name, int fallback) {
  DWORD value = 0, size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, settings_key, W(name), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return fallback;
  return static_cast<int>(value);
}

void MainWindowClass::WriteSetting(const char16_t* name, int value) {
  const DWORD data = static_cast<DWORD>(value);
  ::RegSetKeyValueW(HKEY_CURRENT_USER, settings_key, W(name), REG_DWORD, &data, sizeof data);
}

}  // namespace ui
