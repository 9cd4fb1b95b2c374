// The columns of the list views.
#include "strandex/ui/win32/resource_builder.h"

#include <commctrl.h>

#include "strandex/ui/win32/win32_text.h"

namespace ui {

void SetUpListColumns(HWND list, const ColumnTemplate* columns, int count) {
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < count; ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = columns[i].Width;
    column.pszText = const_cast<wchar_t*>(W(columns[i].Caption));
    ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

}  // namespace ui
