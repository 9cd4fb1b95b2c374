// Comparing each translation with its English text.
#include "tdb/exchange/translation_check.h"

#include "tdb/translate_db.h"
#include "tdb/exchange/c_format.h"

namespace {

struct Shape {
  int leading = 0, trailing = 0;  // spaces at the start and at the end
  int line_feeds = 0, tabs = 0;
  int written_escapes = 0;  // \n and \t written out as a backslash and a letter
  int characters = 0;       // code points
  bool letters = false;
};

Shape ShapeOf(const UnicodeStringClass& text) {
  Shape shape;
  const char16_t* t = text.Chars();
  int length = text.Length();
  while (shape.leading < length && t[shape.leading] == u' ') ++shape.leading;
  while (shape.trailing < length - shape.leading && t[length - 1 - shape.trailing] == u' ') ++shape.trailing;
  for (int i = 0; i < length; ++i) {
    char16_t c = t[i];
    shape.line_feeds += c == u'\n';
    shape.tabs += c == u'\t';
    if (c == u'\\' && i + 1 < length && (t[i + 1] == u'n' || t[i + 1] == u't')) ++shape.written_escapes;
    shape.characters += !(c >= 0xDC00 && c <= 0xDFFF && i > 0 && t[i - 1] >= 0xD800 && t[i - 1] <= 0xDBFF);
    shape.letters = shape.letters || IsScriptLetter(c);
  }
  return shape;
}

}  // namespace

bool IsScriptLetter(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) return true;
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
  return !(c >= 0x2000 && c <= 0x2BFF) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xD800 && c <= 0xF8FF) &&
         !(c >= 0xFE00 && c <= 0xFE6F) && !(c >= 0xFF00 && c <= 0xFF20);
}

const char* TranslationFaultName(TranslationFault fault) {
  switch (fault) {
    case TranslationFault::kPrintf:
      return "printf";
    case TranslationFault::kSpaces:
      return "spaces";
    case TranslationFault::kLineBreaks:
      return "line-breaks";
    case TranslationFault::kEscapes:
      return "escapes";
    case TranslationFault::kEmpty:
      return "empty";
    case TranslationFault::kUntranslated:
      return "untranslated";
    case TranslationFault::kTooLong:
      return "too-long";
  }
  return "";
}

const char* TranslationFaultText(TranslationFault fault) {
  switch (fault) {
    case TranslationFault::kPrintf:
      return "the printf conversions differ from the English text's";
    case TranslationFault::kSpaces:
      return "the spaces at the start or end differ from the English text's";
    case TranslationFault::kLineBreaks:
      return "another number of line breaks than the English text";
    case TranslationFault::kEscapes:
      return "another number of tabs or written escapes (\\n, \\t) than the English text";
    case TranslationFault::kEmpty:
      return "no translation (empty)";
    case TranslationFault::kUntranslated:
      return "the English text, untranslated";
    case TranslationFault::kTooLong:
      return "longer than --max-ratio times the English text";
  }
  return "";
}

int HighestLanguage() {
  int highest = 0;
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    if (s && s->GetTextCount() - 1 > highest) highest = s->GetTextCount() - 1;
  }
  return highest;
}

int CheckTranslations(const TranslationCheckOptions& options, TranslationFaultHandler& handler) {
  int first = options.Language > 0 ? options.Language : 1;
  int last = options.Language > 0 ? options.Language : HighestLanguage();
  int faults = 0;
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    if (!s || s->GetText(0).IsEmpty()) continue;
    const UnicodeStringClass& english = s->GetText(0);
    Shape from = ShapeOf(english);
    for (int language = first; language <= last; ++language) {
      auto fault = [&](TranslationFault f) {
        ++faults;
        handler.OnFault(s, language, f);
      };
      if (!s->HasText(language)) {
        fault(TranslationFault::kEmpty);
        continue;
      }
      const UnicodeStringClass& text = s->GetText(language);
      if (!SameCFormat(english.Chars(), english.Length(), text.Chars(), text.Length()))
        fault(TranslationFault::kPrintf);
      Shape to = ShapeOf(text);
      if (to.leading != from.leading || to.trailing != from.trailing) fault(TranslationFault::kSpaces);
      if (to.line_feeds != from.line_feeds) fault(TranslationFault::kLineBreaks);
      if (to.tabs != from.tabs || to.written_escapes != from.written_escapes)
        fault(TranslationFault::kEscapes);
      if (from.letters && text == english) fault(TranslationFault::kUntranslated);
      if (options.MaxRatio > 0 && to.characters > options.MaxRatio * from.characters)
        fault(TranslationFault::kTooLong);
    }
  }
  return faults;
}
