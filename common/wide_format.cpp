// The wide formatter: parses each conversion itself and lets snprintf render numbers.
#include "common/wide_format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace {

// Collects output, keeping what fits and counting the rest.
struct Sink {
  char16_t* out;
  int count;
  int length = 0;
  void Put(char16_t c) {
    if (length < count - 1) out[length] = c;
    ++length;
  }
  void Pad(int n, char16_t c) {
    for (int i = 0; i < n; ++i) Put(c);
  }
};

template <typename CharT>
int BoundedLength(const CharT* s, int precision) {
  int n = 0;
  while ((precision < 0 || n < precision) && s[n]) ++n;
  return n;
}

template <typename CharT>
void PutText(Sink& sink, const CharT* s, int width, int precision, bool left) {
  int n = BoundedLength(s, precision);
  if (!left && width > n) sink.Pad(width - n, u' ');
  for (int i = 0; i < n; ++i) sink.Put(static_cast<char16_t>(static_cast<std::make_unsigned_t<CharT>>(s[i])));
  if (left && width > n) sink.Pad(width - n, u' ');
}

enum class Size { kDefault, kChar, kShort, kLong, kLongLong, kSizeT, kLongDouble };

}  // namespace

int WideFormat(char16_t* out, int count, const char16_t* format, va_list args) {
  Sink sink{out, count};
  const char16_t* p = format;
  while (*p) {
    if (*p != u'%') {
      sink.Put(*p++);
      continue;
    }
    const char16_t* start = p++;
    // Rebuild the conversion as a narrow pattern for snprintf where numbers need it.
    char pattern[32];
    int sl = 0;
    pattern[sl++] = '%';
    bool left = false;
    while (*p && strchr("-+ #0", static_cast<char>(*p)) && *p < 128) {
      if (*p == u'-') left = true;
      if (sl < 20) pattern[sl++] = static_cast<char>(*p);
      ++p;
    }
    int width = -1;
    if (*p == u'*') {
      width = va_arg(args, int);
      if (width < 0) {
        left = true;
        width = -width;
        pattern[sl++] = '-';
      }
      ++p;
    } else {
      while (*p >= u'0' && *p <= u'9') width = (width < 0 ? 0 : width) * 10 + (*p++ - u'0');
    }
    if (width > 4096) width = 4096;
    int precision = -1;
    if (*p == u'.') {
      ++p;
      precision = 0;
      if (*p == u'*') {
        precision = va_arg(args, int);
        ++p;
      } else {
        while (*p >= u'0' && *p <= u'9') precision = precision * 10 + (*p++ - u'0');
      }
      if (precision > 4096) precision = 4096;
    }
    if (width >= 0) sl += snprintf(pattern + sl, sizeof pattern - sl, "%d", width);
    if (precision >= 0) sl += snprintf(pattern + sl, sizeof pattern - sl, ".%d", precision);
    Size size = Size::kDefault;
    if (*p == u'h') {
      ++p;
      size = Size::kShort;
      if (*p == u'h') {
        ++p;
        size = Size::kChar;
      }
    } else if (*p == u'l') {
      ++p;
      size = Size::kLong;
      if (*p == u'l') {
        ++p;
        size = Size::kLongLong;
      }
    } else if (*p == u'z') {
      ++p;
      size = Size::kSizeT;
    } else if (*p == u'L') {
      ++p;
      size = Size::kLongDouble;
    } else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
      p += 3;
      size = Size::kLongLong;
    }
    char16_t conv = *p;
    if (!conv) {
      // A lone % at the end is copied as it stands.
      for (const char16_t* q = start; q < p; ++q) sink.Put(*q);
      break;
    }
    ++p;
    char buf[4200];
    int n = -1;
    switch (conv) {
      case u'%':
        sink.Put(u'%');
        break;
      case u's':
      case u'S': {
        bool narrow = conv == u'S' || size == Size::kShort || size == Size::kChar;
        if (conv == u's' && size == Size::kLong) narrow = false;
        if (narrow) {
          const char* s = va_arg(args, const char*);
          PutText(sink, s ? s : "(null)", width, precision, left);
        } else {
          const char16_t* s = va_arg(args, const char16_t*);
          PutText(sink, s ? s : u"(null)", width, precision, left);
        }
        break;
      }
      case u'c':
      case u'C': {
        int v = va_arg(args, int);
        bool narrow = conv == u'C' || size == Size::kShort;
        char16_t c = narrow ? static_cast<char16_t>(static_cast<unsigned char>(v)) : static_cast<char16_t>(v);
        if (!left && width > 1) sink.Pad(width - 1, u' ');
        sink.Put(c);
        if (left && width > 1) sink.Pad(width - 1, u' ');
        break;
      }
      case u'd':
      case u'i':
      case u'u':
      case u'x':
      case u'X':
      case u'o': {
        bool is_signed = conv == u'd' || conv == u'i';
        const char* mod = "ll";
        memcpy(pattern + sl, mod, 2);
        pattern[sl + 2] = static_cast<char>(conv);
        pattern[sl + 3] = 0;
        if (is_signed) {
          long long v;
          switch (size) {
            case Size::kLongLong:
              v = va_arg(args, long long);
              break;
            case Size::kLong:
              v = va_arg(args, long);
              break;
            case Size::kSizeT:
              v = static_cast<long long>(va_arg(args, size_t));
              break;
            case Size::kShort:
              v = static_cast<short>(va_arg(args, int));
              break;
            case Size::kChar:
              v = static_cast<signed char>(va_arg(args, int));
              break;
            default:
              v = va_arg(args, int);
              break;
          }
          n = snprintf(buf, sizeof buf, pattern, v);
        } else {
          unsigned long long v;
          switch (size) {
            case Size::kLongLong:
              v = va_arg(args, unsigned long long);
              break;
            case Size::kLong:
              v = va_arg(args, unsigned long);
              break;
            case Size::kSizeT:
              v = va_arg(args, size_t);
              break;
            case Size::kShort:
              v = static_cast<unsigned short>(va_arg(args, unsigned));
              break;
            case Size::kChar:
              v = static_cast<unsigned char>(va_arg(args, unsigned));
              break;
            default:
              v = va_arg(args, unsigned);
              break;
          }
          n = snprintf(buf, sizeof buf, pattern, v);
        }
        break;
      }
      case u'e':
      case u'E':
      case u'f':
      case u'F':
      case u'g':
      case u'G': {
        pattern[sl] = static_cast<char>(conv);
        pattern[sl + 1] = 0;
        if (size == Size::kLongDouble) {
          memmove(pattern + sl + 1, pattern + sl, 2);
          pattern[sl] = 'L';
          n = snprintf(buf, sizeof buf, pattern, va_arg(args, long double));
        } else {
          n = snprintf(buf, sizeof buf, pattern, va_arg(args, double));
        }
        break;
      }
      case u'p': {
        n = snprintf(buf, sizeof buf, "%p", va_arg(args, void*));
        break;
      }
      default:
        // Unknown conversions are copied as they stand.
        for (const char16_t* q = start; q < p; ++q) sink.Put(*q);
        break;
    }
    if (n > 0) {
      if (n >= static_cast<int>(sizeof buf)) n = sizeof buf - 1;
      for (int i = 0; i < n; ++i) sink.Put(static_cast<unsigned char>(buf[i]));
    }
  }
  if (count > 0) out[sink.length < count ? sink.length : count - 1] = 0;
  return sink.length;
}
