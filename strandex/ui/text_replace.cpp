// Counting and replacing a text in the strings' texts.
#include "strandex/ui/text_replace.h"

#include <cstring>
#include <utility>

#include "common/string_functions.h"
#include "strandex/ui/field_text.h"
#include "tdb/tdb_string.h"

namespace ui {

namespace {

// Whether find (n units, none of them 0) stands at text; a 0 in text ends it.
template <typename CharT>
bool MatchesAt(const CharT* text, const CharT* find, int n, bool match_case) {
  if (!match_case) return CompareNoCase(text, find, static_cast<size_t>(n)) == 0;
  for (int i = 0; i < n; ++i) {
    if (text[i] != find[i]) return false;
  }
  return true;
}

template <typename CharT>
int Count(const CharT* text, const CharT* find, int n, bool match_case) {
  int count = 0;
  for (const CharT* at = text; n > 0 && *at;) {
    if (MatchesAt(at, find, n, match_case)) {
      ++count;
      at += n;
    } else {
      ++at;
    }
  }
  return count;
}

int LengthOf(const char* text) { return static_cast<int>(std::strlen(text)); }
int LengthOf(const char16_t* text) { return WideLength(text); }

template <typename CharT>
bool Replace(const CharT* text, const CharT* find, const CharT* with, bool match_case,
             BasicStringClass<CharT>& out) {
  const int n = LengthOf(find), w = LengthOf(with);
  const int count = Count(text, find, n, match_case);
  const long long length = static_cast<long long>(LengthOf(text)) + static_cast<long long>(count) * (w - n);
  BasicStringClass<CharT> result;
  if (length + 1 > 0x7FFFFFFF || !result.TryAcquireBuffer(static_cast<int>(length) + 1)) return false;
  CharT* to = result.Chars();
  for (const CharT* at = text; *at;) {
    if (n > 0 && MatchesAt(at, find, n, match_case)) {
      for (int i = 0; i < w; ++i) *to++ = with[i];
      at += n;
    } else {
      *to++ = *at++;
    }
  }
  *to = 0;
  out = std::move(result);
  return true;
}

}  // namespace

TextReplacementClass::TextReplacementClass(const ReplaceRequest& request) : request(request) {
  // A replacement may change nearly every one of a million strings: the list of them grows in
  // large steps, not in the ten places of the default.
  strings.SetGrowthStep(kStringsStep);
  valid = !request.Find.IsEmpty();
  if (valid && request.Language == 0) {
    valid = NarrowFromField(request.Find, request.Find.Length(), narrow_find) &&
            NarrowFromField(request.With, request.With.Length(), narrow_with);
  }
}

bool TextReplacementClass::Consider(TDBStringClass* s) {
  if (!valid || !s) return true;
  const int n = request.Find.Length();
  int count = 0;
  if (request.Language == 0) {
    // Most texts are passed over where they wait in the loaded bytes, without being read.
    if (!s->PeekEnglishSpan(narrow_scratch).ContainsNoCase(request.Find, static_cast<size_t>(n))) return true;
    count = Count(s->PeekEnglishText(narrow_scratch).Chars(), narrow_find.Chars(), n, request.MatchCase);
  } else {
    // A string without a text in the language has an empty one (GetText would give text 0).
    if (request.Language >= s->GetTextCount()) return true;
    if (!s->PeekTextSpan(request.Language, wide_scratch).ContainsNoCase(request.Find, static_cast<size_t>(n)))
      return true;
    count = Count(s->PeekText(request.Language, wide_scratch).Chars(), request.Find.Chars(), n,
                  request.MatchCase);
  }
  if (count == 0) return true;
  if (!strings.Add(s)) return false;
  matches += count;
  return true;
}

bool TextReplacementClass::Apply() {
  for (int i = 0; i < strings.Count(); ++i) {
    TDBStringClass* s = strings[i];
    if (request.Language == 0) {
      NarrowStringClass text;
      if (!Replace(s->GetEnglishText().Chars(), narrow_find.Chars(), narrow_with.Chars(), request.MatchCase,
                   text) ||
          !s->SetEnglishText(text))
        return false;
    } else {
      UnicodeStringClass text;
      if (!Replace(s->GetText(request.Language).Chars(), request.Find.Chars(), request.With.Chars(),
                   request.MatchCase, text) ||
          !s->SetText(request.Language, text))
        return false;
    }
  }
  return true;
}

}  // namespace ui
