// Checks of the translations against the English text, for the faults that cost a game most: a
// printf conversion that differs (it can crash the formatting), spaces at either end, line breaks,
// escapes, empty and untranslated texts, and texts far longer than the English.
#pragma once

#include "tdb/tdb_string.h"

enum class TranslationFault {
  kPrintf,        // the printf conversions differ from the English text's (c_format.h)
  kSpaces,        // the spaces at the start or at the end differ
  kLineBreaks,    // another number of line feeds
  kEscapes,       // another number of tabs or of the written escapes \n and \t (backslash, letter)
  kEmpty,         // no text, or an empty one, where English has one
  kUntranslated,  // the English text itself, where English has letters
  kTooLong,       // longer than the ratio allows
};

// A letter of some script, which makes a text one to translate: ASCII letters, and from U+00C0
// on what is not a sign, a symbol, punctuation, a private character or half of a character outside
// the Basic Multilingual Plane.
bool IsScriptLetter(char16_t c);

// The name of a fault for machines ("printf", "spaces", ...) and its description for people.
const char* TranslationFaultName(TranslationFault fault);
const char* TranslationFaultText(TranslationFault fault);

struct TranslationCheckOptions {
  // The language to check; 0 checks every language from 1 to the highest any string has.
  int Language = 0;
  // A text longer than this many times the English text (in characters) is a fault; 0 for no limit.
  double MaxRatio = 0;
};

class TranslationFaultHandler {
 public:
  virtual ~TranslationFaultHandler() = default;
  virtual void OnFault(TDBStringClass* s, int language, TranslationFault fault) = 0;
};

// Hands every fault of the database to handler: strings in ascending numeric ID, for each its
// languages in order, for each its faults in the order of TranslationFault. Strings whose English
// text is empty are not checked. Returns the number of faults.
int CheckTranslations(const TranslationCheckOptions& options, TranslationFaultHandler& handler);

// The highest language index any string has a text for (0 when only English).
int HighestLanguage();
