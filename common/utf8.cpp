// UTF-8 encoding and decoding.
#include "common/utf8.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Code point at text[i] (a surrogate pair counts two units, a lone surrogate becomes U+FFFD);
// *units receives the units taken.
char32_t CodePointAt(const char16_t* text, size_t count, size_t i, int* units) {
  char16_t u = text[i];
  *units = 1;
  if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(text[i + 1])) {
    *units = 2;
    return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  }
  if (IsHighSurrogate(u) || IsLowSurrogate(u)) return kReplacement;
  return u;
}

int EncodedSize(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

// Runs a conversion through a stack buffer when the result fits, else through the heap.
template <typename Out, typename In, typename Fill>
bool ConvertThrough(size_t room, Fill fill, BasicStringClass<Out>& out) {
  constexpr size_t kStack = 512;
  Out local[kStack];
  Out* buffer = room + 1 <= kStack ? local : new (std::nothrow) Out[room + 1];
  if (!buffer) return false;
  size_t n = fill(buffer);
  buffer[n] = 0;
  bool ok = out.TryAssign(buffer);
  if (buffer != local) delete[] buffer;
  return ok;
}

}  // namespace

size_t Utf8LengthOfWide(const char16_t* text, size_t count) {
  size_t bytes = 0;
  for (size_t i = 0; i < count;) {
    int units;
    bytes += EncodedSize(CodePointAt(text, count, i, &units));
    i += units;
  }
  return bytes;
}

char* EncodeUtf8(const char16_t* text, size_t count, char* out) {
  for (size_t i = 0; i < count;) {
    char16_t u = text[i];
    if (u < 0x80) {
      *out++ = static_cast<char>(u);
      ++i;
      continue;
    }
    int units;
    char32_t c = CodePointAt(text, count, i, &units);
    i += units;
    if (c < 0x800) {
      *out++ = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      *out++ = static_cast<char>(0xE0 | (c >> 12));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
      *out++ = static_cast<char>(0xF0 | (c >> 18));
      *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

char* EncodeNarrowAsUtf8(const char* text, size_t count, char* out) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  for (size_t i = 0; i < count; ++i) {
    if (p[i] < 0x80) {
      *out++ = static_cast<char>(p[i]);
    } else {
      *out++ = static_cast<char>(0xC0 | (p[i] >> 6));
      *out++ = static_cast<char>(0x80 | (p[i] & 0x3F));
    }
  }
  return out;
}

size_t DecodeUtf8(const char* text, size_t count, char16_t* out, bool* invalid) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* end = p + count;
  char16_t* start = out;
  bool bad = false;
  while (p < end) {
    unsigned char b = *p;
    if (b < 0x80) {
      // Runs of ASCII eight bytes at a time.
      while (end - p >= 8) {
        uint64_t word;
        memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull) break;
        for (int i = 0; i < 8; ++i) out[i] = p[i];
        p += 8;
        out += 8;
      }
      if (p < end && *p < 0x80) *out++ = *p++;
      continue;
    }
    // Length of the sequence and the range its second byte must be in (which excludes
    // overlong forms, encoded surrogates and values above U+10FFFF).
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    }
    if (length == 0) {
      *out++ = kReplacement;
      bad = true;
      ++p;
      continue;
    }
    char32_t c = b & (0x3F >> (length - 1));
    int taken = 1;
    for (; taken < length; ++taken) {
      if (p + taken >= end) break;
      unsigned char next = p[taken];
      if (taken == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF)) break;
      c = (c << 6) | (next & 0x3F);
    }
    p += taken;
    if (taken < length) {
      // The valid prefix is one ill-formed subpart; decoding resumes at the byte that broke it.
      *out++ = kReplacement;
      bad = true;
    } else if (c < 0x10000) {
      *out++ = static_cast<char16_t>(c);
    } else {
      c -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 + (c >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
  }
  if (invalid && bad) *invalid = true;
  return static_cast<size_t>(out - start);
}

bool WideToUtf8(const char16_t* text, NarrowStringClass& out) {
  if (!text) text = u"";
  size_t count = static_cast<size_t>(WideLength(text));
  size_t bytes = Utf8LengthOfWide(text, count);
  return ConvertThrough<char, char16_t>(
      bytes, [&](char* buffer) { return static_cast<size_t>(EncodeUtf8(text, count, buffer) - buffer); },
      out);
}

bool Utf8ToWide(const char* text, int length, UnicodeStringClass& out) {
  if (!text) text = "";
  size_t count = length < 0 ? strlen(text) : static_cast<size_t>(length);
  const void* zero = memchr(text, 0, count);
  if (zero) count = static_cast<size_t>(static_cast<const char*>(zero) - text);
  return ConvertThrough<char16_t, char>(
      count, [&](char16_t* buffer) { return DecodeUtf8(text, count, buffer, nullptr); }, out);
}

UnicodeStringClass WideFromUtf8(const char* text) {
  UnicodeStringClass out;
  Utf8ToWide(text ? text : "", -1, out);
  return out;
}
