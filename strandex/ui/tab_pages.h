// TabPageClass: which of the view's tabs a main window's row of tabs holds. A native tab row
// measures all its items again on every insertion, so with many categories the row holds one
// page of kTabsPerPage tabs: the page of the selected tab, after the items that lead to the page
// before and to the page after (where there is one). Both stand at the start of the row, where
// the row shows them beside a page's first tab, so that one click reaches either neighbour from
// there. Up to kTabsPerPage tabs there is a single page and no such item. "Tab" is an index of
// the view's tabs (StringListClass), "item" a position in the row.
#pragma once

#include "common/string_class.h"
#include "strandex/ui/string_list.h"

namespace ui {

// Every item written costs the control a fixed amount of work (about half a millisecond under
// wine) on top of a pass over all its items, so a page is kept small enough to be rewritten at
// once; a round number gives plain labels.
inline constexpr int kTabsPerPage = 100;

class TabPageClass {
 public:
  // The page of tab_count tabs that holds tab; the first page when tab is not one of them.
  TabPageClass(int tab_count, int tab);

  // Items in the row: the items that lead to the pages before and after, then the page's tabs.
  int ItemCount() const { return PageItems() + count; }
  // The item that shows tab, or -1 when the tab is not on this page.
  int ItemOfTab(int tab) const;
  // The tab that choosing item selects: the item's own tab; for an item leading to another page,
  // that page's first tab. -1 when there is no such item.
  int TabOfItem(int item) const;
  // Whether item leads to another page rather than showing a tab.
  bool LeadsToPage(int item) const;
  // The text and the item data of an item: a tab's category name and ID from the view; for an
  // item leading to another page, that page's tab positions, counted from 1, with an arrow that
  // points its way ("« 1–100", "201–300 »", "301 »" for a page of one tab), and 0.
  UnicodeStringClass ItemText(const StringListClass& view, int item, int* category_id) const;

 private:
  bool HasPageBefore() const { return first > 0; }
  bool HasPageAfter() const { return first + count < total; }
  int PageItems() const { return HasPageBefore() + HasPageAfter(); }

  int total;
  int first;  // the page's first tab
  int count;  // and the number of its tabs
};

}  // namespace ui
