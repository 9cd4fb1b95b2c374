// The Find results window.
#include "strandex/ui/win32/find_results_window.h"

#include <commctrl.h>

#include "strandex/ui/win32/main_window.h"
#include "strandex/ui/win32/resource_builder.h"
#include "strandex/ui/win32/win32_text.h"

namespace ui {

namespace {

INT_PTR CALLBACK FindResultsProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* main = reinterpret_cast<MainWindowClass*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      ::SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      return FALSE;
    case WM_COMMAND:
      if (!main || HIWORD(wparam) != BN_CLICKED) return FALSE;
      switch (LOWORD(wparam)) {
        case kResultsClear:
          main->Editor().OnFindResultsClear();
          return TRUE;
        case kResultsClose:
          main->Editor().OnFindResultsCloseButton();
          return TRUE;
        case IDCANCEL:  // Escape
          ::DestroyWindow(dialog);
          return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      ::DestroyWindow(dialog);
      return TRUE;
    case WM_KEYUP:
      if (main) main->Editor().OnFindResultsKeyUp(static_cast<int>(wparam), static_cast<int>(lparam));
      return FALSE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
      if (!main || header->idFrom != kResultsList) return FALSE;
      if (header->code == LVN_DELETEALLITEMS) {
        // No LVN_DELETEITEM for each row: the rows own nothing.
        ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      if (header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lparam);
        if (info->item.mask & LVIF_TEXT) {
          CopyCellText(main->Editor().Results().CellText(info->item.iItem, info->item.iSubItem),
                       info->item.pszText, info->item.cchTextMax);
        }
      } else if (header->code == NM_DBLCLK) {
        int row = reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem;
        if (row != -1) main->Editor().OnFindResultActivated(row);
      } else if (header->code == LVN_KEYDOWN) {
        // Return shows the selected hit, as a double-click does; Escape closes the window.
        const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(lparam)->wVKey;
        if (key == VK_ESCAPE) {
          ::DestroyWindow(dialog);
        } else if (key == VK_RETURN) {
          int row = static_cast<int>(::SendMessageW(header->hwndFrom, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
          if (row != -1) main->Editor().OnFindResultActivated(row);
        }
      }
      return FALSE;
    }
    case WM_DESTROY:
      if (main) {
        RECT place;
        ::GetWindowRect(dialog, &place);
        main->OnFindResultsDestroyed(dialog, place);
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

HWND CreateFindResultsWindow(HINSTANCE instance, MainWindowClass& main) {
  HWND dialog = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(kFindResultsDialog), main.Window(),
                                     FindResultsProc, reinterpret_cast<LPARAM>(&main));
  if (dialog) SetUpListColumns(::GetDlgItem(dialog, kResultsList), kResultColumns, 3);
  return dialog;
}

void ShowFindResultsWindow(HWND dialog, MainWindowClass& main) {
  RECT r;
  ::GetWindowRect(dialog, &r);
  const POINT at = main.FindResultsPlace({r.right - r.left, r.bottom - r.top});
  ::SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(dialog, SW_SHOW);
  ::SetFocus(::GetDlgItem(dialog, kResultsList));
}

}  // namespace ui
