// Tabs, rows and cell texts of the main window.
#include "strandex/ui/string_list.h"

#include <algorithm>
#include <cstdio>

#include "common/string_functions.h"
#include "tdb/exchange/translation_check.h"
#include "tdb/translate_db.h"

namespace ui {

namespace {

constexpr int kCellUnits = 255;

UnicodeStringClass WidenCut(const char* text) {
  UnicodeStringClass out;
  int length = 0;
  while (text[length] && length < kCellUnits) ++length;
  if (length == 0) return out;
  out.GrowRaw(length + 1);
  for (int i = 0; i < length; ++i) out.Chars()[i] = static_cast<unsigned char>(text[i]);
  out.Chars()[length] = 0;
  return out;
}

UnicodeStringClass Decimal(int value) {
  char digits[16];
  snprintf(digits, sizeof digits, "%d", value);
  return WidenCut(digits);
}

}  // namespace

UnicodeStringClass StringCellText(TDBStringClass* s, StringField field) {
  switch (field) {
    case StringField::IDString:
      return WidenCut(s->GetIDString());
    case StringField::NumericID:
      return Decimal(s->GetID());
    case StringField::SoundID:
      return s->GetSoundID() == -1 ? UnicodeStringClass() : Decimal(s->GetSoundID());
    case StringField::EnglishText: {
      // Only a look: the string's texts stay where they are.
      NarrowStringClass english;
      return WidenCut(s->PeekEnglishText(english));
    }
  }
  return UnicodeStringClass();
}

void StringListClass::SetTranslationLanguage(int language) {
  const int chosen = language >= 1 && language <= kLastLanguage ? language : 0;
  if (chosen != translation_language) DropKept(true);
  translation_language = chosen;
  translation_caption = UnicodeStringClass::Formatted(u"Text (%d)", translation_language);
  columns[4].Caption = translation_caption.Chars();
}

void StringListClass::RebuildTabs() {
  tabs.Clear();
  int count = TranslateDBClass::GetCategoryCount();
  tabs.Resize(count);
  for (int i = 0; i < count; ++i) {
    StringCategoryClass* category = TranslateDBClass::GetCategory(i);
    Tab tab;
    char16_t* name = DupWideFromNarrow(category->Name);
    tab.Name = name;
    delete[] name;
    tab.CategoryID = category->ID;
    tabs.Add(tab);
  }
  selected_tab = tabs.Count() > 0 ? 0 : -1;
  DropKept();
}

const char16_t* StringListClass::TabText(int tab) const {
  return tab >= 0 && tab < tabs.Count() ? tabs[tab].Name.Chars() : u"";
}

bool StringListClass::TabCategoryID(int tab, int* id) const {
  if (tab < 0 || tab >= tabs.Count()) return false;
  *id = tabs[tab].CategoryID;
  return true;
}

int StringListClass::TabOfCategory(int id) const {
  for (int i = 0; i < tabs.Count(); ++i) {
    if (tabs[i].CategoryID == id) return i;
  }
  return -1;
}

bool StringListClass::FillList(int tab) {
  int category = 0;
  if (!TabCategoryID(tab, &category)) return false;
  // Room for the largest possible category instead of growth step by step, kept from one fill
  // to the next while it fits (giving back a large block can cost the allocator a pass over all
  // its free small blocks).
  const int most = TranslateDBClass::GetObjectCount();
  if (rows.Length() < most || rows.Length() / 2 > most + 1024) {
    rows.Clear();
    rows.Resize(most);
  }
  const bool filter_step = filter_step_next && tab == filled_tab;
  filter_step_next = false;
  filled_tab = tab;
  short_of_memory = false;
  if (!filter_step) DropKept();
  if (filter_step && StepFilter()) return true;
  rows.Empty();
  if (OnlyUntranslated() || Filtering()) {
    StringFilterClass::Choice choice = FilterChoice(category);
    StringFilterClass::Counts counts;
    short_of_memory = !string_filter.WalkDatabase(choice, rows, &counts);
    untranslated_count = counts.Untranslated;
    translatable_count = counts.Translatable;
    KeepUnlessShort();
    return true;
  }
  for (TDBStringClass* s = TranslateDBClass::FindFirstInCategory(category); s;
       s = TranslateDBClass::FindNextInCategory(s, category)) {
    rows.Add(s);
  }
  Keep();
  return true;
}

bool StringListClass::SetFilter(const char16_t* text, bool all_categories) {
  const bool changed =
      WideCompare(text, filter.Chars()) != 0 || (text[0] && all_categories != filter_all_categories);
  // Rows kept for the other choice of categories no longer serve.
  if (all_categories != filter_all_categories) DropKept(true);
  if (changed) filter_step_next = all_categories == filter_all_categories;
  filter = text;
  filter_all_categories = all_categories;
  return changed;
}

StringFilterClass::Choice StringListClass::FilterChoice(int category) const {
  StringFilterClass::Choice choice;
  choice.Text = filter.Chars();
  choice.Language = translation_language;
  choice.EveryCategory = OnlyUntranslated() || filter_all_categories;
  choice.Category = category;
  choice.Untranslated = OnlyUntranslated();
  return choice;
}

bool StringListClass::StepFilter() {
  // The same text again, or the longest kept one that the new text holds.
  int from = -1;
  for (int i = 0; i < kKeptTexts; ++i) {
    if (!kept[i].Age) continue;
    if (WideCompare(kept[i].Text.Chars(), filter.Chars()) == 0) {
      from = i;
      break;
    }
    // Without a text the rows are the tab's, which every category's hold only with the
    // untranslated view.
    const bool narrows = !kept[i].Text.IsEmpty() || OnlyUntranslated() || !filter_all_categories;
    if (narrows && FindNoCase(filter.Chars(), kept[i].Text.Chars()) &&
        (from < 0 || kept[i].Text.Length() > kept[from].Text.Length()))
      from = i;
  }
  if (from < 0) return false;
  const DynamicArrayClass<TDBStringClass*>& source = kept[from].Rows;
  rows.Empty();
  for (int i = 0; i < source.Count(); ++i) rows.Add(source[i]);
  if (WideCompare(kept[from].Text.Chars(), filter.Chars()) == 0) {
    kept[from].Age = ++kept_age;
    return true;
  }
  int category = 0;
  TabCategoryID(filled_tab, &category);
  short_of_memory = !string_filter.WalkRows(FilterChoice(category), rows);
  KeepUnlessShort();
  return true;
}

// Rows that memory ran short for are not the filter's result, and are not kept as if they were.
void StringListClass::KeepUnlessShort() {
  if (short_of_memory) {
    DropKept();
  } else {
    Keep();
  }
}

void StringListClass::Keep() {
  // In place of the oldest (or an empty) one; its storage is used again.
  Kept* oldest = &kept[0];
  for (Kept& k : kept) {
    if (k.Age < oldest->Age) oldest = &k;
  }
  oldest->Age = 0;
  oldest->Text = filter;
  oldest->Rows.Empty();
  if (oldest->Rows.Length() < rows.Count()) {
    oldest->Rows.Clear();
    if (!oldest->Rows.Resize(rows.Count())) return;
  }
  for (int i = 0; i < rows.Count(); ++i) oldest->Rows.Add(rows[i]);
  oldest->Age = ++kept_age;
}

TDBStringClass* StringListClass::RowString(int row) const {
  if (row < 0 || row >= rows.Count()) return nullptr;
  return rows[rows.Count() - 1 - row];
}

int StringListClass::RowOfID(int id) const {
  if (rows.Count() == 0) return -1;
  // rows is in ascending slot order, so ascending ID order.
  TDBStringClass* const* first = &rows[0];
  TDBStringClass* const* last = first + rows.Count();
  TDBStringClass* const* found =
      std::lower_bound(first, last, id, [](TDBStringClass* s, int wanted) { return s->GetID() < wanted; });
  if (found == last || (*found)->GetID() != id) return -1;
  return rows.Count() - 1 - static_cast<int>(found - first);
}

UnicodeStringClass StringListClass::CellText(int row, int column) const {
  static const StringField kColumns[] = {StringField::IDString, StringField::NumericID, StringField::SoundID,
                                         StringField::EnglishText};
  TDBStringClass* s = RowString(row);
  if (!s || column < 0 || column >= ColumnCount()) return UnicodeStringClass();
  if (column < 4) return StringCellText(s, kColumns[column]);
  // The translation, marked "= " where it is the English text as it stands.
  UnicodeStringClass scratch;
  NarrowStringClass english;
  const TranslationLook look = PeekTranslation(s, translation_language, scratch, english);
  UnicodeStringClass cell(look.SameAsEnglish && !look.Empty ? u"= " : u"");
  if (!look.Empty) cell.Append(s->PeekText(translation_language, scratch));
  if (cell.Length() > kCellUnits) cell.Erase(kCellUnits, cell.Length() - kCellUnits);
  return cell;
}

}  // namespace ui
