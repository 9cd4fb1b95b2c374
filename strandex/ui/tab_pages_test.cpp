// The pages of tabs that a row of tabs holds, and the items leading from one page to the next.
#include "strandex/ui/tab_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "strandex/db/testing/database_fixture.h"
#include "strandex/db/translate_db.h"

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

TEST(TabPagesTest, PagesOfAHundredTabsWithItemsToTheNeighbours) {
  EXPECT_EQ(Items(100, 99), "100; 0 1 98 99 -1");
  EXPECT_EQ(Items(250, 0), "101; 0 1 99 p100 -1");
  EXPECT_EQ(Items(250, 99), "101; 0 1 99 p100 -1");
  EXPECT_EQ(Items(250, 100), "102; p99 100 199 p200 -1");
  EXPECT_EQ(Items(250, 249), "51; p199 200 248 249 -1");
  EXPECT_EQ(Items(201, 200), "2; p199 200 p199 200 -1");
  EXPECT_EQ(Items(250, 250), "101; 0 1 99 p100 -1");  // not a tab: the first page
  EXPECT_EQ(Items(0, -1), "0; -1 -1 -1 -1 -1");
  const TabPageClass middle(250, 150);
  EXPECT_EQ(middle.ItemOfTab(99), -1);
  EXPECT_EQ(middle.ItemOfTab(100), 1);
  EXPECT_EQ(middle.ItemOfTab(199), 100);
  EXPECT_EQ(middle.ItemOfTab(200), -1);
}

class TabPageTextTest : public DatabaseTest {};

TEST_F(TabPageTextTest, ItemsShowTheCategoryOrThePageTheyLeadTo) {
  TranslateDBClass::AddCategoryNamed("Default");
  for (int c = 2; c <= 201; ++c) TranslateDBClass::AddCategoryNamed(("C" + std::to_string(c)).c_str());
  StringListClass view;
  view.RebuildTabs();
  auto text = [&view](int tab, int item) {
    int id = -1;
    std::u16string shown(TabPageClass(view.TabCount(), tab).ItemText(view, item, &id).Chars());
    return shown + u"/" + std::u16string(1, static_cast<char16_t>(u'0' + id % 10));
  };
  EXPECT_EQ(text(0, 0), u"Default/1");
  EXPECT_EQ(text(0, 100), u"101\u2013200 \u00bb/0");
  EXPECT_EQ(text(150, 0), u"\u00ab 1\u2013100/0");
  EXPECT_EQ(text(150, 1), u"C101/1");
  EXPECT_EQ(text(150, 101), u"201 \u00bb/0");
  EXPECT_EQ(text(200, 0), u"\u00ab 101\u2013200/0");
}

}  // namespace
}  // namespace ui
