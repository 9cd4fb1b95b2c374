// How far each language of the database is translated, as msgfmt --statistics and pocount
// count a PO file: per language the strings translated, those that hold the English text itself
// and those without a text, and the English words still to translate.
#pragma once

struct LanguageStats {
  int Language = 0;
  int Translated = 0;     // a text of its own that differs from the English
  int SameAsEnglish = 0;  // the English text itself
  int Empty = 0;          // no text, or an empty one
  long long Words = 0;    // English words of the strings that are empty or the same as English
};

// The strings counted: those with an English text (an empty one has nothing to translate).
int CountedStrings();
// The figures of language (1 or higher) over the counted strings.
LanguageStats TranslationStats(int language);
// Words of text: runs of characters other than white space (space, tab, line feed, carriage
// return, form feed, vertical tab, no-break space).
int CountWords(const char16_t* text, int length);
