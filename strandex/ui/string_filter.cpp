// The filter bar's and the untranslated view's choice of strings.
#include "strandex/ui/string_filter.h"

#include "common/string_functions.h"
#include "tdb/exchange/translation_check.h"
#include "tdb/translate_db.h"

namespace ui {

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

// value in decimal, as "%d" writes it, into out (room for 11 characters); its length.
int Decimal(int value, char* out) {
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  char reversed[11];
  int n = 0;
  do {
    reversed[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (value < 0) reversed[n++] = '-';
  for (int i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
  return n;
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

void StringFilterClass::Prepare(const Choice& choice) {
  chosen = choice;
  text = choice.Text ? choice.Text : u"";
  length = static_cast<size_t>(WideLength(text));
  in_numbers = in_narrow = true;
  for (size_t i = 0; i < length; ++i) {
    in_numbers = in_numbers && ((text[i] >= u'0' && text[i] <= u'9') || text[i] == u'-');
    in_narrow = in_narrow && text[i] <= 0xFF;
  }
}

bool StringFilterClass::Keeps(TDBStringClass* s) {
  if (length == 0) return true;
  if (in_numbers) {
    char digits[11];
    if (::ContainsNoCase(digits, static_cast<size_t>(Decimal(s->GetID(), digits)), text, length)) return true;
  }
  if (in_narrow) {
    const NarrowStringClass& id = s->GetIDString();
    if (::ContainsNoCase(id.Chars(), static_cast<size_t>(id.Length()), text, length) ||
        s->PeekEnglishSpan(english).ContainsNoCase(text, length))
      return true;
  }
  const int language = chosen.Language;
  return language > 0 && language < s->GetTextCount() &&
         s->PeekTextSpan(language, scratch).ContainsNoCase(text, length);
}

// Asks for what the walk will look at: the record of the string far ahead, the texts of the one
// nearer ahead (whose record has arrived by then) and, nearer still, the translation that the
// headers of the texts before it lead to.
template <typename At>
void StringFilterClass::Prefetch(At at, int i, int count) {
  constexpr int kRecordsAhead = 24, kTextsAhead = 12, kTranslationAhead = 6;
  if (i + kRecordsAhead < count) {
    if (const TDBStringClass* far = at(i + kRecordsAhead)) {
      __builtin_prefetch(far);
      __builtin_prefetch(reinterpret_cast<const char*>(far) + 64);
      __builtin_prefetch(reinterpret_cast<const char*>(far) + sizeof(TDBStringClass) - 1);
    }
  }
  const auto wanted = [&](TDBStringClass* s) {
    return s && (chosen.EveryCategory || s->GetCategoryID() == chosen.Category);
  };
  const bool translation = chosen.Language > 0 && (length > 0 || chosen.Untranslated);
  if (i + kTextsAhead < count) {
    TDBStringClass* near = at(i + kTextsAhead);
    if (wanted(near)) {
      if (length > 0 && in_narrow) __builtin_prefetch(near->GetIDString().Chars());
      if ((length > 0 && in_narrow) || chosen.Untranslated) near->PrefetchSpan(true);
      if (translation) near->PrefetchSpan(false);
    }
  }
  if (translation && i + kTranslationAhead < count) {
    TDBStringClass* nearer = at(i + kTranslationAhead);
    if (wanted(nearer) && chosen.Language < nearer->GetTextCount()) {
      const TextSpan span = nearer->PeekTextSpan(chosen.Language, scratch);
      if (span.Kind == TextSpan::kWideLE) {
        __builtin_prefetch(span.Units);
        __builtin_prefetch(static_cast<const char*>(span.Units) + 64);
      }
    }
  }
}

void StringFilterClass::WalkDatabase(const Choice& choice, DynamicArrayClass<TDBStringClass*>& rows,
                                     Counts* counts) {
  Prepare(choice);
  Counts counted;
  const int count = TranslateDBClass::GetObjectCount();
  const auto at = [](int slot) { return TranslateDBClass::GetObject(slot); };
  for (int slot = 0; slot < count; ++slot) {
    Prefetch(at, slot, count);
    TDBStringClass* s = at(slot);
    if (!s || (!choice.EveryCategory && s->GetCategoryID() != choice.Category)) continue;
    if (choice.Untranslated) {
      const TranslationLook look = PeekTranslation(s, choice.Language, scratch, english);
      counted.Translatable += look.EnglishHasLetters;
      if (!look.Untranslated()) continue;
      ++counted.Untranslated;
    }
    if (Keeps(s)) rows.Add(s);
  }
  if (counts) *counts = counted;
}

void StringFilterClass::WalkRows(const Choice& choice, DynamicArrayClass<TDBStringClass*>& rows) {
  Prepare(choice);
  const int count = rows.Count();
  const auto at = [&rows](int i) { return rows[i]; };
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    Prefetch(at, i, count);
    TDBStringClass* s = rows[i];
    if (!choice.EveryCategory && s->GetCategoryID() != choice.Category) continue;
    if (choice.Untranslated && !PeekTranslation(s, choice.Language, scratch, english).Untranslated())
      continue;
    if (Keeps(s)) rows[kept++] = s;
  }
  while (rows.Count() > kept) rows.Delete(rows.Count() - 1);
}

}  // namespace ui
