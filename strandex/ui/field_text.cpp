// Escapes, numbers and narrow forms of dialog fields.
#include "strandex/ui/field_text.h"

namespace ui {

namespace {

template <typename CharT>
BasicStringClass<CharT> EscapeText(const CharT* text) {
  BasicStringClass<CharT> out;
  if (!text) return out;
  int extra = 0;
  int length = 0;
  for (; text[length]; ++length) extra += (text[length] == '\t' || text[length] == '\n');
  if (length == 0) return out;
  out.GrowRaw(length + extra + 1);
  CharT* p = out.Chars();
  for (int i = 0; i < length; ++i) {
    if (text[i] == '\t' || text[i] == '\n') {
      *p++ = '\\';
      *p++ = text[i] == '\t' ? 't' : 'n';
    } else {
      *p++ = text[i];
    }
  }
  *p = 0;
  return out;
}

template <typename CharT>
BasicStringClass<CharT> UnescapeText(const CharT* text) {
  BasicStringClass<CharT> out;
  if (!text || !text[0]) return out;
  int length = 0;
  while (text[length]) ++length;
  out.GrowRaw(length + 1);
  CharT* p = out.Chars();
  for (int i = 0; i < length; ++i) {
    if (text[i] == '\\' && (text[i + 1] == 't' || text[i + 1] == 'n')) {
      *p++ = text[i + 1] == 't' ? '\t' : '\n';
      ++i;
    } else {
      *p++ = text[i];
    }
  }
  *p = 0;
  return out;
}

bool IsSpace(char16_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

NarrowStringClass Escape(const char* text) { return EscapeText(text); }
UnicodeStringClass Escape(const char16_t* text) { return EscapeText(text); }
NarrowStringClass Unescape(const char* text) { return UnescapeText(text); }
UnicodeStringClass Unescape(const char16_t* text) { return UnescapeText(text); }

bool ParseFieldNumber(const char16_t* text, bool is_signed, int64_t* value) {
  if (!text) return false;
  while (IsSpace(*text)) ++text;
  bool negative = false;
  if (is_signed && *text == '-') {
    negative = true;
    ++text;
  }
  const int64_t limit = is_signed ? (negative ? 2147483648LL : 2147483647LL) : 4294967295LL;
  int64_t number = 0;
  int digits = 0;
  for (; *text >= '0' && *text <= '9'; ++text, ++digits) {
    number = number * 10 + (*text - '0');
    if (number > limit) return false;
  }
  while (IsSpace(*text)) ++text;
  if (digits == 0 || *text) return false;
  *value = negative ? -number : number;
  return true;
}

bool NarrowFromField(const char16_t* text, int max_units, NarrowStringClass& out) {
  int length = 0;
  while (text && length < max_units && text[length]) {
    if (text[length] > 0xFF) return false;
    ++length;
  }
  char* narrow = new char[length + 1];
  for (int i = 0; i < length; ++i) narrow[i] = static_cast<char>(text[i]);
  narrow[length] = 0;
  out = narrow;
  delete[] narrow;
  return true;
}

UnicodeStringClass CutField(const char16_t* text, int max_units) {
  int length = 0;
  while (text && length < max_units && text[length]) ++length;
  char16_t* cut = new char16_t[length + 1];
  for (int i = 0; i < length; ++i) cut[i] = text[i];
  cut[length] = 0;
  UnicodeStringClass out(cut);
  delete[] cut;
  return out;
}

}  // namespace ui
