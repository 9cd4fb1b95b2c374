// The pages of tabs that a row of tabs holds, and the items leading from one page to the next
// (their texts are tested with the Win32 tab row).
#include "strandex/ui/tab_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

// "item count; tab of each item (p before a page item); item of the page's first and last tabs".
std::string Items(int tab_count, int tab) {
  const TabPageClass page(tab_count, tab);
  std::string out = std::to_string(page.ItemCount()) + ";";
  for (int item : {0, 1, page.ItemCount() - 2, page.ItemCount() - 1, page.ItemCount()})
    out += (page.LeadsToPage(item) ? " p" : " ") + std::to_string(page.TabOfItem(item));
  return out;
}

TEST(TabPagesTest, PagesOfAHundredTabsAfterTheItemsToTheNeighbours) {
  EXPECT_EQ(Items(100, 99), "100; 0 1 98 99 -1");
  EXPECT_EQ(Items(250, 0), "101; p100 0 98 99 -1");
  EXPECT_EQ(Items(250, 100), "102; p0 p200 198 199 -1");
  EXPECT_EQ(Items(250, 249), "51; p100 200 248 249 -1");
  EXPECT_EQ(Items(201, 200), "2; p100 200 p100 200 -1");
  EXPECT_EQ(Items(250, 250), "101; p100 0 98 99 -1");  // not a tab: the first page
  EXPECT_EQ(Items(0, -1), "0; -1 -1 -1 -1 -1");
  const TabPageClass middle(250, 150);
  const std::vector<int> items = {middle.ItemOfTab(99), middle.ItemOfTab(100), middle.ItemOfTab(199),
                                  middle.ItemOfTab(200)};
  EXPECT_EQ(items, (std::vector<int>{-1, 2, 101, -1}));
}

}  // namespace
}  // namespace ui
