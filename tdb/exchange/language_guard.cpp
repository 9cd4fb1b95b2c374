// Comparing the language a file names with the one an import is given.
#include "tdb/exchange/language_guard.h"

#include <cstdio>
#include <string>

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

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The value of the header field name (its case ignored), blanks around it dropped, characters
// outside printable ASCII as '?', cut to the size of value. False when the header has none.
template <size_t N>
bool HeaderField(const char16_t* header, int length, const char16_t* name, char (&value)[N]) {
  size_t name_length = std::char_traits<char16_t>::length(name);
  for (int at = 0; at < length;) {
    int end = at;
    while (end < length && header[end] != u'\n') ++end;
    bool match = static_cast<size_t>(end - at) > name_length && header[at + name_length] == u':';
    for (size_t i = 0; match && i < name_length; ++i) match = Lower(header[at + i]) == Lower(name[i]);
    if (match) {
      int from = at + static_cast<int>(name_length) + 1, to = end;
      while (from < to && (header[from] == u' ' || header[from] == u'\t')) ++from;
      while (to > from && (header[to - 1] == u' ' || header[to - 1] == u'\t' || header[to - 1] == u'\r'))
        --to;
      size_t n = 0;
      for (; from < to && n + 1 < N; ++from)
        value[n++] = header[from] > 0x20 && header[from] < 0x7F ? static_cast<char>(header[from]) : '?';
      value[n] = 0;
      return true;
    }
    at = end + 1;
  }
  return false;
}

}  // namespace

bool CheckPoHeaderLanguage(const char16_t* header, int length, const PoImportOptions& options,
                           NarrowStringClass& reason) {
  char index[48], code[48];
  FileLanguage language;
  language.IndexField = "X-Tdb-Language:";
  language.CodeField = "Language:";
  if (HeaderField(header, length, u"X-Tdb-Language", index)) language.Index = index;
  if (HeaderField(header, length, u"Language", code)) language.Code = code;
  return CheckFileLanguage(language, options, reason);
}

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
