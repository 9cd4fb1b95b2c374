// The wide formatter: parses each conversion itself and lets snprintf render numbers.
#include "common/wide_format.h"

#include <cstdint>
#include <cstdio>
#include <new>
#include <type_traits>

namespace {

// Widths and precisions beyond this are cut to it, so every rendered piece stays bounded.
constexpr int kMaxField = 4096;

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
  void PutRange(const char16_t* from, const char16_t* to) {
    while (from < to) Put(*from++);
  }
};

enum class Size { kDefault, kChar, kShort, kLong, kLongLong, kSizeT, kLongDouble };

// One conversion: its flags (each at most once), width, precision, size and letter.
struct Conversion {
  bool flag[5] = {};  // in the order of kFlags
  bool left = false;
  int width = -1;
  int precision = -1;
  Size size = Size::kDefault;
  char16_t conv = 0;
};

constexpr char kFlags[] = "-+ #0";

int FlagIndex(char16_t c) {
  for (int i = 0; i < 5; ++i) {
    if (c == static_cast<char16_t>(kFlags[i])) return i;
  }
  return -1;
}

// Digits as a number, cut at kMaxField.
int ReadDigits(const char16_t*& p) {
  int value = 0;
  while (*p >= u'0' && *p <= u'9') {
    value = value * 10 + (*p++ - u'0');
    if (value > kMaxField) value = kMaxField;
  }
  return value;
}

void ReadFlagsAndWidth(const char16_t*& p, va_list* args, Conversion& conversion) {
  for (int i; (i = FlagIndex(*p)) >= 0; ++p) conversion.flag[i] = true;
  if (*p == u'*') {
    ++p;
    int width = va_arg(*args, int);
    if (width < 0) {
      conversion.flag[0] = true;
      width = width < -kMaxField ? kMaxField : -width;
    }
    conversion.width = width > kMaxField ? kMaxField : width;
  } else if (*p >= u'0' && *p <= u'9') {
    conversion.width = ReadDigits(p);
  }
  conversion.left = conversion.flag[0];
}

void ReadPrecision(const char16_t*& p, va_list* args, Conversion& conversion) {
  if (*p != u'.') return;
  ++p;
  if (*p == u'*') {
    ++p;
    int precision = va_arg(*args, int);
    // A negative precision counts as none.
    conversion.precision = precision < 0 ? -1 : precision > kMaxField ? kMaxField : precision;
  } else {
    conversion.precision = ReadDigits(p);
  }
}

void ReadSize(const char16_t*& p, Conversion& conversion) {
  if (*p == u'h') {
    ++p;
    conversion.size = Size::kShort;
    if (*p == u'h') {
      ++p;
      conversion.size = Size::kChar;
    }
  } else if (*p == u'l') {
    ++p;
    conversion.size = Size::kLong;
    if (*p == u'l') {
      ++p;
      conversion.size = Size::kLongLong;
    }
  } else if (*p == u'z') {
    ++p;
    conversion.size = Size::kSizeT;
  } else if (*p == u'L') {
    ++p;
    conversion.size = Size::kLongDouble;
  } else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
    p += 3;
    conversion.size = Size::kLongLong;
  }
}

// The conversion as a narrow snprintf pattern with the given length modifier: at most
// 1 + 5 flags + 4 width digits + 5 for the precision + 2 + 1 + 1 characters.
struct Pattern {
  char text[24];
  Pattern(const Conversion& conversion, const char* modifier) {
    int n = 0;
    text[n++] = '%';
    for (int i = 0; i < 5; ++i) {
      if (conversion.flag[i]) text[n++] = kFlags[i];
    }
    if (conversion.width >= 0) n += snprintf(text + n, sizeof text - n, "%d", conversion.width);
    if (conversion.precision >= 0) n += snprintf(text + n, sizeof text - n, ".%d", conversion.precision);
    snprintf(text + n, sizeof text - n, "%s%c", modifier, static_cast<char>(conversion.conv));
  }
};

// Renders one value with snprintf and puts it out; a piece longer than the stack buffer gets a
// buffer of its own.
template <typename T>
void PutRendered(Sink& sink, const char* pattern, T value) {
  char small[512];
  int n = snprintf(small, sizeof small, pattern, value);
  if (n < 0) return;
  char* text = small;
  char* big = nullptr;
  if (n >= static_cast<int>(sizeof small)) {
    big = new (std::nothrow) char[n + 1];
    if (big && snprintf(big, n + 1, pattern, value) == n) {
      text = big;
    } else {
      n = sizeof small - 1;
    }
  }
  for (int i = 0; i < n; ++i) sink.Put(static_cast<unsigned char>(text[i]));
  delete[] big;
}

template <typename CharT>
void PutText(Sink& sink, const CharT* s, const Conversion& conversion) {
  int n = 0;
  while ((conversion.precision < 0 || n < conversion.precision) && s[n]) ++n;
  if (!conversion.left && conversion.width > n) sink.Pad(conversion.width - n, u' ');
  for (int i = 0; i < n; ++i) sink.Put(static_cast<char16_t>(static_cast<std::make_unsigned_t<CharT>>(s[i])));
  if (conversion.left && conversion.width > n) sink.Pad(conversion.width - n, u' ');
}

void PutString(Sink& sink, va_list* args, const Conversion& conversion) {
  bool narrow = conversion.conv == u'S' || conversion.size == Size::kShort || conversion.size == Size::kChar;
  if (conversion.conv == u's' && conversion.size == Size::kLong) narrow = false;
  if (narrow) {
    const char* s = va_arg(*args, const char*);
    PutText(sink, s ? s : "(null)", conversion);
  } else {
    const char16_t* s = va_arg(*args, const char16_t*);
    PutText(sink, s ? s : u"(null)", conversion);
  }
}

void PutChar(Sink& sink, va_list* args, const Conversion& conversion) {
  int v = va_arg(*args, int);
  bool narrow = conversion.conv == u'C' || conversion.size == Size::kShort;
  char16_t c = narrow ? static_cast<char16_t>(static_cast<unsigned char>(v)) : static_cast<char16_t>(v);
  if (!conversion.left && conversion.width > 1) sink.Pad(conversion.width - 1, u' ');
  sink.Put(c);
  if (conversion.left && conversion.width > 1) sink.Pad(conversion.width - 1, u' ');
}

// The integer argument of a size, as the bits of its own type, and how many bits that type has.
unsigned long long IntegerArg(va_list* args, Size size, int* bits) {
  switch (size) {
    case Size::kLongLong:
      *bits = 64;
      return va_arg(*args, unsigned long long);
    case Size::kLong:
      *bits = static_cast<int>(sizeof(long) * 8);
      return va_arg(*args, unsigned long);
    case Size::kSizeT:
      *bits = static_cast<int>(sizeof(size_t) * 8);
      return va_arg(*args, size_t);
    case Size::kShort:
      *bits = 16;
      return static_cast<unsigned short>(va_arg(*args, unsigned));
    case Size::kChar:
      *bits = 8;
      return static_cast<unsigned char>(va_arg(*args, unsigned));
    default:
      *bits = 32;
      return va_arg(*args, unsigned);
  }
}

// The bits of a signed type of that many bits, as its value.
long long SignExtend(unsigned long long value, int bits) {
  if (bits >= 64) return static_cast<long long>(value);
  const unsigned long long sign = 1ULL << (bits - 1);
  return static_cast<long long>((value ^ sign) - sign);
}

void PutInteger(Sink& sink, va_list* args, const Conversion& conversion) {
  Pattern pattern(conversion, "ll");
  int bits = 0;
  unsigned long long value = IntegerArg(args, conversion.size, &bits);
  if (conversion.conv == u'd' || conversion.conv == u'i') {
    PutRendered(sink, pattern.text, SignExtend(value, bits));
  } else {
    PutRendered(sink, pattern.text, value);
  }
}

void PutFloat(Sink& sink, va_list* args, const Conversion& conversion) {
  if (conversion.size == Size::kLongDouble) {
    PutRendered(sink, Pattern(conversion, "L").text, va_arg(*args, long double));
  } else {
    PutRendered(sink, Pattern(conversion, "").text, va_arg(*args, double));
  }
}

// Puts out one conversion; false when the letter is not one this formatter knows.
bool PutConversion(Sink& sink, va_list* args, const Conversion& conversion) {
  switch (conversion.conv) {
    case u'%':
      sink.Put(u'%');
      return true;
    case u's':
    case u'S':
      PutString(sink, args, conversion);
      return true;
    case u'c':
    case u'C':
      PutChar(sink, args, conversion);
      return true;
    case u'd':
    case u'i':
    case u'u':
    case u'x':
    case u'X':
    case u'o':
      PutInteger(sink, args, conversion);
      return true;
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G':
      PutFloat(sink, args, conversion);
      return true;
    case u'p':
      PutRendered(sink, "%p", va_arg(*args, void*));
      return true;
    default:
      return false;
  }
}

}  // namespace

int WideFormat(char16_t* out, int count, const char16_t* format, va_list args) {
  va_list list;
  va_copy(list, args);
  Sink sink{out, count};
  const char16_t* p = format;
  while (*p) {
    if (*p != u'%') {
      sink.Put(*p++);
      continue;
    }
    const char16_t* start = p++;
    Conversion conversion;
    ReadFlagsAndWidth(p, &list, conversion);
    ReadPrecision(p, &list, conversion);
    ReadSize(p, conversion);
    conversion.conv = *p;
    if (!conversion.conv) {
      // A lone % at the end is copied as it stands.
      sink.PutRange(start, p);
      break;
    }
    ++p;
    // Unknown conversions are copied as they stand.
    if (!PutConversion(sink, &list, conversion)) sink.PutRange(start, p);
  }
  va_end(list);
  if (count > 0) out[sink.length < count ? sink.length : count - 1] = 0;
  return sink.length;
}
