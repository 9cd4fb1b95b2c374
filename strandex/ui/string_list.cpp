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

namespace {

// Unit i of a span; 0 at its end.
char16_t UnitAt(const TextSpan& span, size_t i) {
  if (i >= span.Length || !span.Units) return 0;
  const auto* bytes = static_cast<const unsigned char*>(span.Units);
  switch (span.Kind) {
    case TextSpan::kNarrow:
      return bytes[i];
    case TextSpan::kWide:
      return static_cast<const char16_t*>(span.Units)[i];
    case TextSpan::kWideLE:
      return static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  }
  return 0;
}

}  // namespace

TranslationLook PeekTranslation(TDBStringClass* s, int language, UnicodeStringClass& scratch,
                                NarrowStringClass& english_scratch) {
  const TextSpan text = language < s->GetTextCount() ? s->PeekTextSpan(language, scratch) : TextSpan{};
  const TextSpan english = s->PeekEnglishSpan(english_scratch);
  size_t i = 0;
  while (UnitAt(text, i) && UnitAt(text, i) == UnitAt(english, i)) ++i;
  TranslationLook look{UnitAt(text, 0) == 0, UnitAt(text, i) == 0 && UnitAt(english, i) == 0, false};
  for (size_t c = 0; UnitAt(english, c) && !look.EnglishHasLetters; ++c) {
    look.EnglishHasLetters = IsScriptLetter(UnitAt(english, c));
  }
  return look;
}

void StringListClass::SetTranslationLanguage(int language) {
  translation_language = language >= 1 && language <= kLastLanguage ? language : 0;
  narrowable = false;
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
  const bool narrow = narrow_next && narrowable && tab == filled_tab;
  narrow_next = false;
  filled_tab = tab;
  narrowable = Filtering();
  if (narrow) {
    UnicodeStringClass scratch;
    NarrowStringClass english;
    int kept = 0;
    for (int i = 0; i < rows.Count(); ++i) {
      if (PassesFilter(rows[i], scratch, english)) rows[kept++] = rows[i];
    }
    while (rows.Count() > kept) rows.Delete(rows.Count() - 1);
    return true;
  }
  rows.Empty();
  if (OnlyUntranslated() || Filtering()) {
    const bool every_category = OnlyUntranslated() || filter_all_categories;
    untranslated_count = translatable_count = 0;
    UnicodeStringClass scratch;
    NarrowStringClass english;
    // The texts of a loaded file lie far apart in its bytes: each is asked for a few strings ahead.
    constexpr int kAhead = 16;
    for (int slot = 0; slot < most; ++slot) {
      if (TDBStringClass* ahead = TranslateDBClass::GetObject(slot + kAhead)) {
        ahead->PrefetchSpan(true);
        if (OnlyUntranslated()) ahead->PrefetchSpan(false);
      }
      TDBStringClass* s = TranslateDBClass::GetObject(slot);
      if (!s || (!every_category && s->GetCategoryID() != category)) continue;
      if (OnlyUntranslated()) {
        const TranslationLook look = PeekTranslation(s, translation_language, scratch, english);
        translatable_count += look.EnglishHasLetters;
        if (!look.Untranslated()) continue;
        ++untranslated_count;
      }
      if (!Filtering() || PassesFilter(s, scratch, english)) rows.Add(s);
    }
    return true;
  }
  for (TDBStringClass* s = TranslateDBClass::FindFirstInCategory(category); s;
       s = TranslateDBClass::FindNextInCategory(s, category)) {
    rows.Add(s);
  }
  return true;
}

bool StringListClass::SetFilter(const char16_t* text, bool all_categories) {
  const bool changed =
      WideCompare(text, filter.Chars()) != 0 || (text[0] && all_categories != filter_all_categories);
  narrow_next =
      Filtering() && all_categories == filter_all_categories && FindNoCase(text, filter.Chars()) != nullptr;
  filter = text;
  filter_all_categories = all_categories;
  return changed;
}

bool StringListClass::PassesFilter(TDBStringClass* s, UnicodeStringClass& scratch,
                                   NarrowStringClass& english) const {
  const size_t n = static_cast<size_t>(filter.Length());
  char digits[16];
  const int count = snprintf(digits, sizeof digits, "%d", s->GetID());
  const TextSpan id_string{TextSpan::kNarrow, s->GetIDString().Chars(), TextSpan::kToTheEnd};
  const TextSpan id{TextSpan::kNarrow, digits, static_cast<size_t>(count)};
  if (id_string.ContainsNoCase(filter, n) || id.ContainsNoCase(filter, n) ||
      s->PeekEnglishSpan(english).ContainsNoCase(filter, n))
    return true;
  return translation_language > 0 && translation_language < s->GetTextCount() &&
         s->PeekTextSpan(translation_language, scratch).ContainsNoCase(filter, n);
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
