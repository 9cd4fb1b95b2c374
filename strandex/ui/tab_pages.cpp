// The page of the view's tabs that a row of tabs holds.
#include "strandex/ui/tab_pages.h"

namespace ui {

TabPageClass::TabPageClass(int tab_count, int tab) : total(tab_count > 0 ? tab_count : 0) {
  first = tab >= 0 && tab < total ? tab - tab % kTabsPerPage : 0;
  count = total - first < kTabsPerPage ? total - first : kTabsPerPage;
}

int TabPageClass::ItemOfTab(int tab) const {
  if (tab < first || tab >= first + count) return -1;
  return tab - first + PageItems();
}

int TabPageClass::TabOfItem(int item) const {
  if (item < 0 || item >= ItemCount()) return -1;
  if (item == 0 && HasPageBefore()) return first - kTabsPerPage;
  if (item < PageItems()) return first + count;
  return first + item - PageItems();
}

bool TabPageClass::LeadsToPage(int item) const { return item >= 0 && item < PageItems(); }

UnicodeStringClass TabPageClass::ItemText(const StringListClass& view, int item, int* category_id) const {
  *category_id = 0;
  if (!LeadsToPage(item)) {
    view.TabCategoryID(TabOfItem(item), category_id);
    return UnicodeStringClass(view.TabText(TabOfItem(item)));
  }
  const TabPageClass page(total, TabOfItem(item));
  const int from = page.first + 1, to = page.first + page.count;
  UnicodeStringClass range = from == to ? UnicodeStringClass::Formatted(u"%d", from)
                                        : UnicodeStringClass::Formatted(u"%d\u2013%d", from, to);
  if (page.first > first) return range.Append(u" \u00bb");
  UnicodeStringClass text(u"\u00ab ");
  return text.Append(range);
}

}  // namespace ui
