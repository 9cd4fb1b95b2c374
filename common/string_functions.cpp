// Plain-array text helpers shared by the string classes and their callers.
#include "common/string_functions.h"

#include <bit>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

template <typename CharT>
int FoldAscii(CharT c) {
  int v = static_cast<int>(static_cast<std::make_unsigned_t<CharT>>(c));
  return (v >= 'A' && v <= 'Z') ? v + ('a' - 'A') : v;
}

template <typename CharT>
int CompareNoCaseT(const CharT* a, const CharT* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    int ca = FoldAscii(a[i]);
    int cb = FoldAscii(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}

template <typename CharT>
size_t LengthOf(const CharT* text) {
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

// Whether one of the lanes of kBits bits of a 64-bit word is 0.
template <int kBits>
bool AnyLaneZero(uint64_t word) {
  constexpr uint64_t kLow = kBits == 8 ? 0x0101010101010101u : 0x0001000100010001u;
  return ((word - kLow) & ~word & (kLow << (kBits - 1))) != 0;
}

// The position of the first place where needle (n units) stands in a text, comparing A to Z
// without regard to case; -1 when there is none, and always for an empty text. The text is the
// units unit(0), unit(1), ... up to length of them or its first 0 unit, whichever comes first,
// so that texts without a terminator (as they stand in a loaded file) are read where they are.
// With kBits (8 or 16), raw holds the length units as bytes or little-endian 16-bit units, and
// they are passed over eight bytes at a time while none of them is 0 or can begin the needle.
template <int kBits, typename Needle, typename Unit>
ptrdiff_t FindFolded(size_t length, Unit unit, const Needle* needle, size_t n,
                     const unsigned char* raw = nullptr) {
  if (length == 0 || unit(0) == 0) return -1;
  if (n == 0) return 0;
  if (n > length) return -1;
  const int first = FoldAscii(needle[0]);
  // A letter's two cases differ only in bit 5: with it set, one test meets both.
  const int bit = first >= 'a' && first <= 'z' ? 0x20 : 0;
  constexpr size_t kLanes = kBits ? 64 / kBits : SIZE_MAX;
  constexpr uint64_t kLow = kBits == 8 ? 0x0101010101010101u : 0x0001000100010001u;
  const uint64_t want = first * kLow, fold = bit * kLow;
  // Every unit of a place that matches so far is not 0, so no place is read beyond the text.
  const size_t last = length - n;
  for (size_t i = 0; i <= last;) {
    if constexpr (kBits != 0) {
      if (length - i >= kLanes) {
        uint64_t word;
        memcpy(&word, raw + i * (kBits / 8), 8);
        if (!AnyLaneZero<kBits>(word) && !AnyLaneZero<kBits>((word | fold) ^ want)) {
          i += kLanes;
          continue;
        }
      }
    }
    for (const size_t stop = last + 1 - i > kLanes ? i + kLanes : last + 1; i < stop; ++i) {
      const int c = unit(i);
      if (c == 0) return -1;
      if ((c | bit) != first) continue;
      size_t k = 1;
      while (k < n && FoldAscii(unit(i + k)) == FoldAscii(needle[k])) ++k;
      if (k == n) return static_cast<ptrdiff_t>(i);
    }
  }
  return -1;
}

template <typename CharT>
struct UnitsOf {
  const CharT* text;
  int operator()(size_t i) const { return static_cast<std::make_unsigned_t<CharT>>(text[i]); }
};

struct LittleEndianUnitsOf {
  const unsigned char* bytes;
  int operator()(size_t i) const {
    if constexpr (std::endian::native == std::endian::little) {
      uint16_t unit;
      memcpy(&unit, bytes + 2 * i, 2);
      return unit;
    } else {
      return bytes[2 * i] | bytes[2 * i + 1] << 8;
    }
  }
};

template <typename CharT>
const CharT* FindNoCaseT(const CharT* haystack, const CharT* needle) {
  if (!haystack || !needle) return nullptr;
  ptrdiff_t at = FindFolded<0>(SIZE_MAX, UnitsOf<CharT>{haystack}, needle, LengthOf(needle));
  return at < 0 ? nullptr : haystack + at;
}

}  // namespace

int WideLength(const char16_t* text) { return text ? static_cast<int>(LengthOf(text)) : 0; }

int WideCompare(const char16_t* a, const char16_t* b) {
  for (;; ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
    if (*a == 0) return 0;
  }
}

int NarrowLengthOfWide(const char16_t* text) {
  int n = 0;
  for (; text[n]; ++n) {
    if (text[n] > 0xFF) return -1;
  }
  return n;
}

char16_t* DupWideFromNarrow(const char* text) {
  size_t n = text ? strlen(text) : 0;
  char16_t* out = new char16_t[n + 1];
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(text[i]);
  out[n] = 0;
  return out;
}

char* DupNarrowFromWide(const char16_t* text) {
  if (!text) {
    char* out = new char[2];
    out[0] = out[1] = 0;
    return out;
  }
  size_t n = LengthOf(text);
  char* out = new char[n + 1];
  // A unit without a narrow form ends the conversion, as the C runtime stops there.
  size_t i = 0;
  for (; i < n && text[i] <= 0xFF; ++i) out[i] = static_cast<char>(text[i]);
  out[i] = 0;
  return out;
}

char* DupNarrow(const char* text) {
  size_t n = text ? strlen(text) : 0;
  char* out = new char[n + 1];
  if (n) memcpy(out, text, n);
  out[n] = 0;
  return out;
}

char16_t* DupWide(const char16_t* text) {
  size_t n = text ? LengthOf(text) : 0;
  char16_t* out = new char16_t[n + 1];
  if (n) memcpy(out, text, n * sizeof(char16_t));
  out[n] = 0;
  return out;
}

char* TrimControl(char* text) {
  if (!text) return text;
  auto is_control = [](char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
  };
  size_t start = 0;
  while (is_control(text[start])) ++start;
  size_t n = strlen(text + start);
  memmove(text, text + start, n + 1);
  while (n > 0 && is_control(text[n - 1])) text[--n] = 0;
  return text;
}

char* TrimTrailingSpace(char* text) {
  if (!text) return text;
  size_t n = strlen(text);
  while (n > 0 && isspace(static_cast<unsigned char>(text[n - 1]))) --n;
  text[n] = 0;
  return text;
}

const char* FindNoCase(const char* haystack, const char* needle) { return FindNoCaseT(haystack, needle); }
const char16_t* FindNoCase(const char16_t* haystack, const char16_t* needle) {
  return FindNoCaseT(haystack, needle);
}

// A text in memory that ends in a 0 (length SIZE_MAX) is read one unit at a time; one that
// stands in loaded bytes eight bytes at a time where it can.
template <typename Needle>
bool ContainsNarrow(const char* text, size_t length, const Needle* needle, size_t n) {
  const UnitsOf<char> units{text};
  return (length == SIZE_MAX
              ? FindFolded<0>(length, units, needle, n)
              : FindFolded<8>(length, units, needle, n, reinterpret_cast<const unsigned char*>(text))) >= 0;
}

bool ContainsNoCase(const char* text, size_t length, const char* needle, size_t n) {
  return ContainsNarrow(text, length, needle, n);
}
bool ContainsNoCase(const char* text, size_t length, const char16_t* needle, size_t n) {
  return ContainsNarrow(text, length, needle, n);
}
bool ContainsNoCase(const char16_t* text, size_t length, const char16_t* needle, size_t n) {
  return FindFolded<0>(length, UnitsOf<char16_t>{text}, needle, n) >= 0;
}
bool ContainsNoCaseLE(const unsigned char* text, size_t length, const char16_t* needle, size_t n) {
  constexpr int kBits = std::endian::native == std::endian::little ? 16 : 0;
  return FindFolded<kBits>(length, LittleEndianUnitsOf{text}, needle, n, text) >= 0;
}

int CompareNoCase(const char* a, const char* b, size_t n) { return CompareNoCaseT(a, b, n); }
int CompareNoCase(const char16_t* a, const char16_t* b, size_t n) { return CompareNoCaseT(a, b, n); }
