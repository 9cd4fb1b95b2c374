// The editor's main window.
#include "strandex/ui/win32/main_window.h"

#include <commctrl.h>

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

HWND CreateChild(HWND parent, HINSTANCE instance, const wchar_t* window_class, DWORD style, int x, int y,
                 int width, int height) {
  HWND child =
      ::CreateWindowExW(0, window_class, L"", style, x, y, width, height, parent, nullptr, instance, nullptr);
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
  window_class.lpszClassName = kMainWindowClass;
  return ::RegisterClassExW(&window_class) != 0;
}

void MainWindowClass::UnregisterWindowClass(HINSTANCE instance) {
  ::UnregisterClassW(kMainWindowClass, instance);
}

HWND MainWindowClass::Create() {
  HMENU menu = BuildMainMenu();
  HWND created =
      ::CreateWindowExW(0, kMainWindowClass, W(kAppTitle), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                        CW_USEDEFAULT, kMainWidth, kMainHeight, nullptr, menu, instance, this);
  if (!created) {
    if (menu) ::DestroyMenu(menu);
    return nullptr;
  }
  RunLayout();
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
      window = tabs = list = status_bar = nullptr;
      break;
    case WM_SIZE:
      if (status_bar) ::SendMessageW(status_bar, WM_SIZE, wparam, lparam);
      RunLayout();
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lparam));
    case WM_COMMAND:
      editor.ExecuteCommand(LOWORD(wparam));
      return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

bool MainWindowClass::CreateControls() {
  status_bar = CreateChild(window, instance, STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0);
  tabs = CreateChild(window, instance, WC_TABCONTROLW, kTabStyle, 0, 20, 500, 500);
  list = CreateChild(window, instance, WC_LISTVIEWW, kListStyle, 0, 100, 500, 40);
  if (!status_bar || !tabs || !list) return false;
  SetUpListColumns(list, kListColumns, 4);
  return true;
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
    int item = static_cast<int>(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    int tab = shown_page.TabOfItem(item);
    if (tab < 0) return 0;
    editor.OnTabSelected(tab);
    // An item at either end of the page leads to the page of the tab it selected.
    if (shown_page.LeadsToPage(item)) TabsChanged();
  }
  return 0;
}

bool MainWindowClass::ChooseFile(const FileDialogRequest& request, NarrowStringClass& path) {
  return file_chooser ? file_chooser(request, path) : RunFileDialog(request, window, path);
}

void MainWindowClass::SetTitle(const char16_t* title) { ::SetWindowTextW(window, W(title)); }

void MainWindowClass::SetMenuItemEnabled(int command, bool enabled) {
  ::EnableMenuItem(::GetMenu(window), command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool MainWindowClass::TabItemIs(int index, const UnicodeStringClass& text, int id) {
  wchar_t shown[256] = {0};
  TCITEMW item = {};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = shown;
  item.cchTextMax = 256;
  return ::SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item)) && item.lParam == id &&
         WideCompare(U(shown), text.Chars()) == 0;
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
    UnicodeStringClass text = page.ItemText(view, i, &id);
    if (i < shown && TabItemIs(i, text, id)) continue;
    changed = true;
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(W(text.Chars()));
    item.lParam = id;
    ::SendMessageW(tabs, i < shown ? TCM_SETITEMW : TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  ::SendMessageW(tabs, WM_SETREDRAW, TRUE, 0);
  if (changed) ::InvalidateRect(tabs, nullptr, TRUE);
  shown_page = page;
  // Selecting an item scrolls the row to it; an item beside it that leads to another page is
  // selected first, so that both stay in view.
  const int selected = page.ItemOfTab(view.SelectedTab());
  for (int beside : {selected + 1, selected - 1}) {
    if (selected >= 0 && page.LeadsToPage(beside)) ::SendMessageW(tabs, TCM_SETCURSEL, beside, 0);
  }
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

void MainWindowClass::SelectRow(int row) {
  LVITEMW item = {};
  item.state = LVIS_SELECTED;
  item.stateMask = LVIS_SELECTED;
  ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  ::SendMessageW(list, LVM_SETSELECTIONMARK, 0, row);
}

void MainWindowClass::ScrollRowNearTop(int row) {
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  if (!::SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds))) return;
  ::SendMessageW(list, LVM_SCROLL, 0, 2 * bounds.top - bounds.bottom);
}

int MainWindowClass::SelectionMark() {
  return static_cast<int>(::SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
}

bool MainWindowClass::IsRowSelected(int row) {
  return (::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

int MainWindowClass::RunDialog(DialogLogicClass& dialog) {
  if (dialog_runner) return dialog_runner(dialog);
  return RunModalDialog(instance, window, dialog, &running_dialog);
}

bool MainWindowClass::OpenFindResults() {
  if (!find_window) find_window = CreateFindResultsWindow(instance, *this);
  return find_window != nullptr;
}

void MainWindowClass::CloseFindResults() {
  if (find_window) ::DestroyWindow(find_window);
}

void MainWindowClass::OnFindResultsDestroyed() {
  find_window = nullptr;
  editor.OnFindResultsClosed();
}

void MainWindowClass::FindResultsChanged() {
  if (!find_window) return;
  HWND results = ::GetDlgItem(find_window, kResultsList);
  ::SendMessageW(results, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(results, LVM_DELETEALLITEMS, 0, 0);
  ::SendMessageW(results, LVM_SETITEMCOUNT, editor.Results().RowCount(), 0);
  ::SendMessageW(results, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(results, nullptr, TRUE);
}

void MainWindowClass::FocusFindResults() {
  if (find_window) ::SetFocus(::GetDlgItem(find_window, kResultsList));
}

void MainWindowClass::ShowMessage(MessageKind kind, const char16_t* caption, const char16_t* text) {
  ::MessageBoxW(running_dialog ? running_dialog : window, W(text), W(caption),
                MB_OK | (kind == MessageKind::Error ? MB_ICONERROR : MB_ICONWARNING));
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
  ::SetWindowPos(list, nullptr, client.left, strip + 10, client.right,
                 client.bottom - status.bottom - strip - 10, SWP_NOZORDER);
}

void MainWindowClass::Quit() { ::DestroyWindow(window); }

}  // namespace ui
