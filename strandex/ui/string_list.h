// StringListClass: what the main window shows of the database. One tab per category (name and
// category ID, in the database's order) and the rows of the selected category, highest numeric
// ID first. Rows refer to string objects of the database without owning them; every command
// that changes the database clears or refills them. The screen reads tabs, rows and cell texts
// from here, so a category of any size is shown without copying its texts.
#pragma once

#include "common/array.h"
#include "common/string_class.h"
#include "strandex/ui/resources.h"
#include "strandex/ui/string_filter.h"

class TDBStringClass;

namespace ui {

// The fields shown in the columns of the string list and of the Find results.
enum class StringField { IDString, NumericID, SoundID, EnglishText };

// The cell text of a field: the symbolic ID and the English text widened byte by byte, the IDs
// in decimal, an empty text for the sound ID -1; cut to its first 255 characters.
UnicodeStringClass StringCellText(TDBStringClass* s, StringField field);

class StringListClass {
 public:
  // Tabs.
  // Deletes every tab and appends one per category. The first tab, if any, becomes selected.
  void RebuildTabs();
  int TabCount() const { return tabs.Count(); }
  const char16_t* TabText(int tab) const;
  // The category ID of a tab; false when there is no such tab.
  bool TabCategoryID(int tab, int* id) const;
  int SelectedTab() const { return selected_tab; }
  void SetSelectedTab(int tab) { selected_tab = tab; }
  // The first tab whose category has this ID, or -1.
  int TabOfCategory(int id) const;

  // Rows.
  void ClearRows() {
    rows.Clear();
    DropKept();
  }
  // Fills the rows with the strings of the tab's category, or with the untranslated strings of
  // every category while only those are shown. False, with the rows as they were, when there is
  // no such tab.
  bool FillList(int tab);
  int RowCount() const { return rows.Count(); }
  TDBStringClass* RowString(int row) const;
  // The row of the string with this numeric ID, or -1.
  int RowOfID(int id) const;
  UnicodeStringClass CellText(int row, int column) const;

  // Columns: the four of the string list, and "Text (K)" after them while a translation
  // language K (1 to kLastLanguage) is chosen; 0 chooses none.
  static constexpr int kLastLanguage = 6;
  void SetTranslationLanguage(int language);
  int TranslationLanguage() const { return translation_language; }
  int ColumnCount() const { return translation_language > 0 ? 5 : 4; }
  const ColumnTemplate* Columns() const { return columns; }

  // Only the untranslated strings of the translation language, from every category (none while
  // no language is chosen). The counts are those of the last fill in this view: untranslated
  // strings, and strings whose English has letters.
  void SetOnlyUntranslated(bool only) {
    if (only != only_untranslated) DropKept();
    only_untranslated = only;
  }
  bool OnlyUntranslated() const { return only_untranslated && translation_language > 0; }
  // The filter bar: only the strings whose symbolic ID, numeric ID, English text or shown
  // translation hold text (A to Z in either case), from the selected category or, with
  // all_categories, from every one. An empty text filters nothing. False when nothing changed.
  // The next fill of the same tab after a change of the text alone is a step of the filter:
  // it takes the rows of a text it kept before (the user deleted back to it), or looks only
  // through the rows of a kept text that the new one holds (the user typed on). Every other
  // fill looks through the database, as the strings may have changed.
  bool SetFilter(const char16_t* text, bool all_categories);
  bool Filtering() const { return !filter.IsEmpty(); }
  // Whether the last fill lacked the memory to look through the strings: it shows none then.
  bool ShortOfMemory() const { return short_of_memory; }
  int UntranslatedCount() const { return untranslated_count; }
  int TranslatableCount() const { return translatable_count; }

 private:
  struct Tab {
    UnicodeStringClass Name;
    int CategoryID = 0;
  };
  DynamicArrayClass<Tab> tabs;
  int selected_tab = -1;
  // The strings of the category in ascending slot order; row r is rows[count - 1 - r].
  DynamicArrayClass<TDBStringClass*> rows;
  int translation_language = 0;
  bool only_untranslated = false;
  UnicodeStringClass filter;
  bool filter_all_categories = false;
  // The rows of the last texts of the filter, newest last, while the fills are steps of the
  // filter in one view (the same tab, categories, translation language and untranslated view).
  struct Kept {
    UnicodeStringClass Text;
    DynamicArrayClass<TDBStringClass*> Rows;
    int Age = 0;  // 0: holds nothing; the higher, the newer
  };
  static constexpr int kKeptTexts = 8;
  Kept kept[kKeptTexts];
  int kept_age = 0;
  bool filter_step_next = false;
  int filled_tab = -1;
  // Forgets the kept rows; with tab_rows those of no text, while they are the tab's.
  void DropKept(bool tab_rows = false) {
    for (Kept& k : kept) {
      if (!tab_rows || only_untranslated || !k.Text.IsEmpty()) k.Age = 0;
    }
  }
  StringFilterClass::Choice FilterChoice(int category) const;
  // Fills rows from the kept texts; false when none serves.
  bool StepFilter();
  void Keep();
  void KeepUnlessShort();
  StringFilterClass string_filter;
  bool short_of_memory = false;
  int untranslated_count = 0;
  int translatable_count = 0;
  UnicodeStringClass translation_caption;
  ColumnTemplate columns[5] = {
      kListColumns[0], kListColumns[1], kListColumns[2], kListColumns[3], {u"", kTranslationColumnWidth}};
};

}  // namespace ui
