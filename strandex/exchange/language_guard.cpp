// Comparing the language a file names with the one an import is given.
#include "strandex/exchange/language_guard.h"

#include <cstdio>

namespace {

char Folded(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
  return c == '_' ? '-' : c;
}

// Always false; an empty reason (memory ran out) is reported as such by the readers.
bool Refuse(NarrowStringClass& reason, const char* text) {
  reason.TryAssign(text);
  return false;
}

}  // namespace

bool SameLanguageCode(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (Folded(*a) != Folded(*b)) return false;
  }
  return *a == *b;
}

bool CheckFileLanguage(const FileLanguage& language, const PoImportOptions& options,
                       NarrowStringClass& reason) {
  char text[400];
  if (language.Index) {
    long index = 0;
    const char* p = language.Index;
    for (; *p >= '0' && *p <= '9' && index <= 100000; ++p) index = index * 10 + (*p - '0');
    if (p == language.Index || *p) {
      snprintf(text, sizeof text, "%s \"%.40s\" is no language index", language.IndexField, language.Index);
      return Refuse(reason, text);
    }
    if (index != options.Language && !options.LanguageMismatch) {
      snprintf(text, sizeof text,
               "the file holds language %ld (%s %ld), not language %d as --language says; "
               "--language-mismatch imports it all the same",
               index, language.IndexField, index, options.Language);
      return Refuse(reason, text);
    }
  }
  if (language.Code && *language.Code && *options.LanguageCode &&
      !SameLanguageCode(language.Code, options.LanguageCode) && !options.LanguageMismatch) {
    snprintf(text, sizeof text,
             "the file is in language %.40s (%s %.40s), not %.40s as --language-code says; "
             "--language-mismatch imports it all the same",
             language.Code, language.CodeField, language.Code, options.LanguageCode);
    return Refuse(reason, text);
  }
  return true;
}
