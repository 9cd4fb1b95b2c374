// Reading printf conversions, without allocating.
#include "tdb/exchange/c_format.h"

#include <cstring>

namespace {

enum class Kind { kNone, kPercent, kArguments, kInvalid };

// The arguments of one conversion: its stars, length modifier and type letter.
struct Arguments {
  char code[8] = {};
  int size = 0;
  void Add(const char* text) {
    for (; *text && size + 1 < static_cast<int>(sizeof code); ++text) code[size++] = *text;
  }
  bool operator==(const Arguments& other) const { return strcmp(code, other.code) == 0; }
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsFlag(char16_t c) { return c == u'-' || c == u'+' || c == u'#' || c == u'0' || c == u'\''; }
// Whether c is one of the ASCII letters in set.
bool OneOf(char16_t c, const char* set) { return c > 0 && c < 0x80 && strchr(set, static_cast<char>(c)); }

// Reads the conversion that starts at text[*at] == '%' and moves *at past it.
Kind Conversion(const char16_t* text, int length, int* at, Arguments* arguments) {
  int i = *at + 1;
  *at = i;
  if (i >= length || text[i] == u' ') return Kind::kNone;
  if (text[i] == u'%') {
    *at = i + 1;
    return Kind::kPercent;
  }
  while (i < length && IsFlag(text[i])) ++i;
  auto number = [&] {
    if (i < length && text[i] == u'*') {
      arguments->Add("*");
      ++i;
    }
    while (i < length && IsDigit(text[i])) ++i;
  };
  number();
  if (i < length && text[i] == u'$') return Kind::kInvalid;
  if (i < length && text[i] == u'.') {
    ++i;
    number();
  }
  static const char* const kLengths[] = {"hh", "h", "ll", "l", "L", "q", "j", "z", "Z", "t", "I64", "I32"};
  for (const char* modifier : kLengths) {
    int n = static_cast<int>(strlen(modifier));
    bool match = i + n <= length;
    for (int k = 0; match && k < n; ++k) match = text[i + k] == static_cast<char16_t>(modifier[k]);
    if (match) {
      arguments->Add(modifier);
      i += n;
      break;
    }
  }
  if (i >= length) return Kind::kInvalid;
  char16_t c = text[i];
  const char* type = OneOf(c, "di")         ? "i"
                     : OneOf(c, "ouxX")     ? "u"
                     : OneOf(c, "eEfFgGaA") ? "f"
                     : OneOf(c, "cCsSpn")   ? nullptr
                                            : "";
  if (type && !*type) return Kind::kInvalid;
  char letter[2] = {static_cast<char>(c), 0};
  arguments->Add(type ? type : letter);
  *at = i + 1;
  return Kind::kArguments;
}

// The next conversion at or after *at that takes arguments or is invalid; false at the end.
bool NextArguments(const char16_t* text, int length, int* at, Arguments* arguments) {
  while (*at < length) {
    if (text[*at] != u'%') {
      ++*at;
      continue;
    }
    *arguments = Arguments();
    Kind kind = Conversion(text, length, at, arguments);
    if (kind == Kind::kInvalid) {
      *arguments = Arguments();
      arguments->Add("?");
    }
    if (kind == Kind::kInvalid || kind == Kind::kArguments) return true;
  }
  return false;
}

}  // namespace

bool HasCFormat(const char16_t* text, int length) {
  for (int at = 0; at < length;) {
    if (text[at] != u'%') {
      ++at;
      continue;
    }
    Arguments ignored;
    Kind kind = Conversion(text, length, &at, &ignored);
    if (kind == Kind::kPercent || kind == Kind::kArguments) return true;
  }
  return false;
}

bool SameCFormat(const char16_t* a, int a_length, const char16_t* b, int b_length) {
  int at_a = 0, at_b = 0;
  for (;;) {
    Arguments from_a, from_b;
    bool more_a = NextArguments(a, a_length, &at_a, &from_a);
    bool more_b = NextArguments(b, b_length, &at_b, &from_b);
    if (more_a != more_b) return false;
    if (!more_a) return true;
    if (!(from_a == from_b)) return false;
  }
}
