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
struct Spec {
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

void ReadFlagsAndWidth(const char16_t*& p, va_list* args, Spec& spec) {
  for (int i; (i = FlagIndex(*p)) >= 0; ++p) spec.flag[i] = true;
  if (*p == u'*') {
    ++p;
    int width = va_arg(*args, int);
    if (width < 0) {
      spec.flag[0] = true;
      width = width < -kMaxField ? kMaxField : -width;
    }
    spec.width = width > kMaxField ? kMaxField : width;
  } else if (*p >= u'0' && *p <= u'9') {
    spec.width = ReadDigits(p);
  }
  spec.left = spec.flag[0];
}

void ReadPrecision(const char16_t*& p, va_list* args, Spec& spec) {
  if (*p != u'.') return;
  ++p;
  if (*p == u'*') {
    ++p;
    int precision = va_arg(*args, int);
    // A negative precision counts as none.
    spec.precision = precision < 0 ? -1 : precision > kMaxField ? kMaxField : precision;
  } else {
    spec.precision = ReadDigits(p);
  }
}

void ReadSize(const char16_t*& p, Spec& spec) {
  if (*p == u'h') {
    ++p;
    spec.size = Size::kShort;
    if (*p == u'h') {
      ++p;
      spec.size = Size::kChar;
    }
  } else if (*p == u'l') {
    ++p;
    spec.size = Size::kLong;
    if (*p == u'l') {
      ++p;
      spec.size = Size::kLongLong;
    }
  } else if (*p == u'z') {
    ++p;
    spec.size = Size::kSizeT;
  } else if (*p == u'L') {
    ++p;
    spec.size = Size::kLongDouble;
  } else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
    p += 3;
    spec.size = Size::kLongLong;
  }
}

// The conversion as a narrow snprintf pattern with the given length modifier: at most
// 1 + 5 flags + 4 width digits + 5 for the precision + 2 + 1 + 1 characters.
struct Pattern {
  char text[24];
  Pattern(const Spec& spec, const char* modifier) {
    int n = 0;
    text[n++] = '%';
    for (int i = 0; i < 5; ++i) {
      if (spec.flag[i]) text[n++] = kFlags[i];
    }
    if (spec.width >= 0) n += snprintf(text + n, sizeof text - n, "%d", spec.width);
    if (spec.precision >= 0) n += snprintf(text + n, sizeof text - n, ".%d", spec.precision);
    snprintf(text + n, sizeof text - n, "%s%c", modifier, static_cast<char>(spec.conv));
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
void PutText(Sink& sink, const CharT* s, const Spec& spec) {
  int n = 0;
  while ((spec.precision < 0 || n < spec.precision) && s[n]) ++n;
  if (!spec.left && spec.width > n) sink.Pad(spec.width - n, u' ');
  for (int i = 0; i < n; ++i) sink.Put(static_cast<char16_t>(static_cast<std::make_unsigned_t<CharT>>(s[i])));
  if (spec.left && spec.width > n) sink.Pad(spec.width - n, u' ');
}

void PutString(Sink& sink, va_list* args, const Spec& spec) {
  bool narrow = spec.conv == u'S' || spec.size == Size::kShort || spec.size == Size::kChar;
  if (spec.conv == u's' && spec.size == Size::kLong) narrow = false;
  if (narrow) {
    const char* s = va_arg(*args, const char*);
    PutText(sink, s ? s : "(null)", spec);
  } else {
    const char16_t* s = va_arg(*args, const char16_t*);
    PutText(sink, s ? s : u"(null)", spec);
  }
}

void PutChar(Sink& sink, va_list* args, const Spec& spec) {
  int v = va_arg(*args, int);
  bool narrow = spec.conv == u'C' || spec.size == Size::kShort;
  char16_t c = narrow ? static_cast<char16_t>(static_cast<unsigned char>(v)) : static_cast<char16_t>(v);
  if (!spec.left && spec.width > 1) sink.Pad(spec.width - 1, u' ');
  sink.Put(c);
  if (spec.left && spec.width > 1) sink.Pad(spec.width - 1, u' ');
}

long long SignedArg(va_list* args, Size size) {
  switch (size) {
    case Size::kLongLong:
      return va_arg(*args, long long);
    case Size::kLong:
      return va_arg(*args, long);
    case Size::kSizeT:
      return static_cast<long long>(va_arg(*args, size_t));
    case Size::kShort:
      return static_cast<short>(va_arg(*args, int));
    case Size::kChar:
      return static_cast<signed char>(va_arg(*args, int));
    default:
      return va_arg(*args, int);
  }
}

unsigned long long UnsignedArg(va_list* args, Size size) {
  switch (size) {
    case Size::kLongLong:
      return va_arg(*args, unsigned long long);
    case Size::kLong:
      return va_arg(*args, unsigned long);
    case Size::kSizeT:
      return va_arg(*args, size_t);
    case Size::kShort:
      return static_cast<unsigned short>(va_arg(*args, unsigned));
    case Size::kChar:
      return static_cast<unsigned char>(va_arg(*args, unsigned));
    default:
      return va_arg(*args, unsigned);
  }
}

void PutInteger(Sink& sink, va_list* args, const Spec& spec) {
  Pattern pattern(spec, "ll");
  if (spec.conv == u'd' || spec.conv == u'i') {
    PutRendered(sink, pattern.text, SignedArg(args, spec.size));
  } else {
    PutRendered(sink, pattern.text, UnsignedArg(args, spec.size));
  }
}

void PutFloat(Sink& sink, va_list* args, const Spec& spec) {
  if (spec.size == Size::kLongDouble) {
    PutRendered(sink, Pattern(spec, "L").text, va_arg(*args, long double));
  } else {
    PutRendered(sink, Pattern(spec, "").text, va_arg(*args, double));
  }
}

// Puts out one conversion; false when the letter is not one this formatter knows.
bool PutConversion(Sink& sink, va_list* args, const Spec& spec) {
  switch (spec.conv) {
    case u'%':
      sink.Put(u'%');
      return true;
    case u's':
    case u'S':
      PutString(sink, args, spec);
      return true;
    case u'c':
    case u'C':
      PutChar(sink, args, spec);
      return true;
    case u'd':
    case u'i':
    case u'u':
    case u'x':
    case u'X':
    case u'o':
      PutInteger(sink, args, spec);
      return true;
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G':
      PutFloat(sink, args, spec);
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
    Spec spec;
    ReadFlagsAndWidth(p, &list, spec);
    ReadPrecision(p, &list, spec);
    ReadSize(p, spec);
    spec.conv = *p;
    if (!spec.conv) {
      // A lone % at the end is copied as it stands.
      sink.PutRange(start, p);
      break;
    }
    ++p;
    // Unknown conversions are copied as they stand.
    if (!PutConversion(sink, &list, spec)) sink.PutRange(start, p);
  }
  va_end(list);
  if (count > 0) out[sink.length < count ? sink.length : count - 1] = 0;
  return sink.length;
}
