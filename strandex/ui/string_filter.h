// StringFilterClass: which strings the string list keeps while the filter bar holds a text or
// only the untranslated strings are shown, and the walks that find them, over the whole
// database or over rows found before. The texts are looked at where they stand (in the loaded
// file's bytes, for a string whose texts wait there), never decoded or copied, and each walk
// asks the processor for the bytes of the strings a few steps ahead, so that it does not wait
// for each string in turn.
#pragma once

#include "common/array.h"
#include "common/string_class.h"

class TDBStringClass;

namespace ui {

// How the text of language (at least 1) stands to the English text, for one look that copies
// no text still waiting in the loaded bytes. A string without a text in language has an empty
// one (GetText would give text 0 there).
struct TranslationLook {
  bool Empty;
  bool SameAsEnglish;      // equal, unit for byte
  bool EnglishHasLetters;  // a letter of some script, as the translation checks count them
  // Left to translate: English has letters, and the text is empty or the English one.
  bool Untranslated() const { return EnglishHasLetters && (Empty || SameAsEnglish); }
};
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
  // receives the counts.
  void WalkDatabase(const Choice& choice, DynamicArrayClass<TDBStringClass*>& rows, Counts* counts);
  // Keeps of rows (strings of the database, in any order) those the choice keeps, in their order.
  void WalkRows(const Choice& choice, DynamicArrayClass<TDBStringClass*>& rows);

 private:
  void Prepare(const Choice& choice);
  bool Keeps(TDBStringClass* s);
  template <typename At>
  void Prefetch(At at, int i, int count);

  Choice chosen;
  const char16_t* text = u"";
  size_t length = 0;
  // Whether the text can stand in a decimal number, and in a narrow text at all.
  bool in_numbers = false;
  bool in_narrow = false;
  UnicodeStringClass scratch;
  NarrowStringClass english;
};

}  // namespace ui
