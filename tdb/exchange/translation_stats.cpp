// Counting translated strings and English words per language.
#include "tdb/exchange/translation_stats.h"

#include "tdb/translate_db.h"

namespace {

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v' || c == 0xA0;
}

}  // namespace

int CountWords(const char16_t* text, int length) {
  int words = 0;
  for (int i = 0; i < length; ++i) words += !IsSpace(text[i]) && (i == 0 || IsSpace(text[i - 1]));
  return words;
}

int CountedStrings() {
  int count = 0;
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    count += s && !s->GetText(0).IsEmpty();
  }
  return count;
}

LanguageStats TranslationStats(int language) {
  LanguageStats stats;
  stats.Language = language;
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    if (!s || s->GetText(0).IsEmpty()) continue;
    const UnicodeStringClass& english = s->GetText(0);
    if (s->HasText(language)) {
      const UnicodeStringClass& text = s->GetText(language);
      if (!(text == english)) {
        ++stats.Translated;
        continue;
      }
      ++stats.SameAsEnglish;
    } else {
      ++stats.Empty;
    }
    stats.Words += CountWords(english.Chars(), english.Length());
  }
  return stats;
}
