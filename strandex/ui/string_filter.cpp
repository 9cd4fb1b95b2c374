// The filter bar's and the untranslated view's choice of strings.
#include "strandex/ui/string_filter.h"

#include "common/string_functions.h"
#include "tdb/translate_db.h"

namespace ui {

TranslationLook PeekTranslation(TDBStringClass* s, int language, UnicodeStringClass& scratch,
                                NarrowStringClass& english_scratch) {
  const TextSpan text = language < s->GetTextCount() ? s->PeekTextSpan(language, scratch) : TextSpan{};
  return LookAtTranslation(text, s->PeekEnglishSpan(english_scratch));
}

bool StringFilterClass::Prepare(const Choice& choice) {
  chosen = choice;
  const char16_t* text = choice.Text ? choice.Text : u"";
  const size_t length = static_cast<size_t>(WideLength(text));
  has_text = length > 0;
  // The texts of the language are looked at for a text to find or for the untranslated view.
  const bool texts = (has_text && choice.Language > 0) || choice.Untranslated;
  return needle.Set(text, length) && index.Update(has_text, texts ? choice.Language : -1);
}

bool StringFilterClass::Keeps(int slot) const {
  if (!chosen.EveryCategory && index.Category(slot) != chosen.Category) return false;
  if (chosen.Untranslated && !index.Untranslated(slot)) return false;
  return !has_text || index.FieldsHold(slot, needle) ||
         (chosen.Language > 0 && index.TextHolds(slot, needle));
}

bool StringFilterClass::WalkDatabase(const Choice& choice, DynamicArrayClass<TDBStringClass*>& rows,
                                     Counts* counts) {
  Counts counted;
  const bool prepared = Prepare(choice);
  if (prepared) {
    const int count = TranslateDBClass::GetObjectCount();
    for (int slot = 0; slot < count; ++slot) {
      TDBStringClass* s = TranslateDBClass::GetObject(slot);
      if (!s) continue;
      if (choice.Untranslated && (choice.EveryCategory || index.Category(slot) == choice.Category)) {
        counted.Translatable += index.Translatable(slot);
        counted.Untranslated += index.Untranslated(slot);
      }
      if (Keeps(slot)) rows.Add(s);
    }
  }
  if (counts) *counts = counted;
  return prepared;
}

bool StringFilterClass::WalkRows(const Choice& choice, DynamicArrayClass<TDBStringClass*>& rows) {
  int kept = 0;
  const bool prepared = Prepare(choice);
  if (prepared) {
    const int count = TranslateDBClass::GetObjectCount();
    int slot = 0;
    for (int i = 0; i < rows.Count(); ++i) {
      TDBStringClass* s = rows[i];
      // In slot order each row is met going on from the one before; else its ID tells its slot.
      while (slot < count && TranslateDBClass::GetObject(slot) != s) ++slot;
      if (slot == count) slot = s->GetID() - TranslateDBClass::kFirstID;
      if (TranslateDBClass::GetObject(slot) != s) {
        slot = 0;
        continue;
      }
      if (Keeps(slot)) rows[kept++] = s;
    }
  }
  while (rows.Count() > kept) rows.Delete(rows.Count() - 1);
  return prepared;
}

}  // namespace ui
