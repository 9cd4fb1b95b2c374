// StringFilterClass: which strings the string list keeps while the filter bar holds a text or
// only the untranslated strings are shown, and the walks that find them, over the whole
// database or over rows found before. They look through the search index (search_index.h),
// which holds every string's texts in one block, so no text waits to be decoded or copied.
#pragma once

#include "common/array.h"
#include "common/string_class.h"
#include "strandex/ui/search_index.h"

class TDBStringClass;

namespace ui {

// How the text of language (at least 1) of s stands to its English text, for one look that
// copies no text still waiting in the loaded bytes.
TranslationLook PeekTranslation(TDBStringClass* s, int language, UnicodeStringClass& scratch,
                                NarrowStringClass& english_scratch);

class StringFilterClass {
 public:
  // What a walk keeps: the strings of one category (or of every one) whose symbolic ID,
  // numeric ID, English text or text in language (0: none) holds text (A to Z in either case;
  // an empty text holds back nothing) and, with untranslated, that are left to translate in
  // language.
  struct Choice {
    const char16_t* Text = u"";
    int Language = 0;
    bool EveryCategory = true;
    int Category = 0;
    bool Untranslated = false;
  };
  // Counted by a walk over the database with Untranslated, over every category whatever the
  // choice: strings left to translate, and strings whose English has letters.
  struct Counts {
    int Untranslated = 0;
    int Translatable = 0;
  };

  // Appends the strings the choice keeps, in ascending slot order. counts (with Untranslated)
  // receives the counts. None, and false, when memory runs out for the index.
  bool WalkDatabase(const Choice& choice, DynamicArrayClass<TDBStringClass*>& rows, Counts* counts);
  // Keeps of rows (strings of the database, quickest in ascending slot order) those the choice
  // keeps, in their order; none, and false, when memory runs out for the index.
  bool WalkRows(const Choice& choice, DynamicArrayClass<TDBStringClass*>& rows);

 private:
  // Brings the index up to date for the choice; false when memory runs out.
  bool Prepare(const Choice& choice);
  // Whether the choice keeps the string of slot, one that is in the database.
  bool Keeps(int slot) const;

  Choice chosen;
  bool has_text = false;
  SearchIndexClass index;
  SearchIndexClass::Needle needle;
};

}  // namespace ui
