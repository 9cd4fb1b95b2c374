// The filter's index of the database's texts.
#include "strandex/ui/search_index.h"

#include <cstring>
#include <new>

#include "common/string_functions.h"
#include "tdb/exchange/translation_check.h"
#include "tdb/translate_db.h"

namespace ui {

namespace {

// Unit i of a span; 0 at its end.
char16_t UnitAt(const TextSpan& span, size_t i) {
  if (i >= span.Length || !span.Units) return 0;
  const auto* bytes = static_cast<const unsigned char*>(span.Units);
  switch (span.Kind) {
    case TextSpan::kNarrow:
      return bytes[i];
    case TextSpan::kWide:
      return static_cast<const char16_t*>(span.Units)[i];
    case TextSpan::kWideLE:
      return static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  }
  return 0;
}

// Writes unit u (not 0) at out as the index writes it; past its bytes.
inline char* PutUnit(char* out, unsigned u) {
  if (u < 0x80) {
    *out++ = static_cast<char>(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
  } else if (u < 0x800) {
    *out++ = static_cast<char>(0xC0 | u >> 6);
    *out++ = static_cast<char>(0x80 | (u & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | u >> 12);
    *out++ = static_cast<char>(0x80 | (u >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (u & 0x3F));
  }
  return out;
}

// Writes eight units below 0x80, none 0, held one a byte in word, with A to Z made small (a
// byte from 'A' gains its top bit by adding 0x3F, a byte above 'Z' by adding 0x25); false
// for any other units.
inline bool PutAsciiWord(char*& out, uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101u, kTop = 0x8080808080808080u;
  if ((word & kTop) || ((word - kOnes) & ~word & kTop)) return false;
  word |= ((word + 0x3F * kOnes) & ~(word + 0x25 * kOnes) & kTop) >> 2;
  std::memcpy(out, &word, 8);
  out += 8;
  return true;
}

// Writes the units unit(0) ... before the count-th or the first 0 one, eight at a time while
// they are below 0x80; past their bytes.
template <typename Unit>
char* PutUnits(char* out, size_t count, Unit unit) {
  size_t i = 0;
  while (i < count) {
    if (i + 8 <= count) {
      unsigned any = 0;
      unsigned char low[8];
      for (size_t k = 0; k < 8; ++k) {
        const unsigned u = unit(i + k);
        any |= u;
        low[k] = static_cast<unsigned char>(u);
      }
      uint64_t word;
      std::memcpy(&word, low, 8);
      if (any < 0x80 && PutAsciiWord(out, word)) {
        i += 8;
        continue;
      }
    }
    const unsigned u = unit(i++);
    if (!u) break;
    out = PutUnit(out, u);
  }
  return out;
}

// The units of span before its end, at most.
size_t UnitCount(const TextSpan& span) {
  if (!span.Units) return 0;
  if (span.Length != TextSpan::kToTheEnd) return span.Length;
  return span.Kind == TextSpan::kNarrow
             ? std::strlen(static_cast<const char*>(span.Units))
             : static_cast<size_t>(WideLength(static_cast<const char16_t*>(span.Units)));
}

// Writes the units of span (units of them at most) and a 0; past them. Room for 3 units + 1.
char* PutSpan(char* out, const TextSpan& span, size_t units) {
  const auto* bytes = static_cast<const unsigned char*>(span.Units);
  switch (span.Kind) {
    case TextSpan::kNarrow:
      out = PutUnits(out, units, [bytes](size_t i) { return bytes[i]; });
      break;
    case TextSpan::kWide:
      out = PutUnits(out, units, [&span](size_t i) { return static_cast<const char16_t*>(span.Units)[i]; });
      break;
    case TextSpan::kWideLE:
      out = PutUnits(out, units, [bytes](size_t i) { return bytes[2 * i] | bytes[2 * i + 1] << 8; });
      break;
  }
  *out++ = 0;
  return out;
}

// Whether value in decimal, as "%d" writes it, holds needle (as bytes).
bool DecimalHolds(int value, const char* needle, size_t n) {
  char digits[11];
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  size_t at = sizeof digits;
  do {
    digits[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (value < 0) digits[--at] = '-';
  for (; at + n <= sizeof digits; ++at) {
    if (std::memcmp(digits + at, needle, n) == 0) return true;
  }
  return false;
}

// Asks for the string of slot far ahead, the texts of the one nearer ahead (whose record has
// arrived by then): its symbolic ID and English text for the fields (language -1), else its
// English text and the headers of its texts; and, nearer still, the text in language that those
// headers lead to. So a walk over every string need not wait for each in turn.
void PrefetchAhead(int slot, int count, int language, UnicodeStringClass& scratch) {
  constexpr int kRecordsAhead = 24, kTextsAhead = 12, kTextAhead = 6;
  if (slot + kRecordsAhead < count) {
    if (const TDBStringClass* far = TranslateDBClass::GetObject(slot + kRecordsAhead)) {
      __builtin_prefetch(far);
      __builtin_prefetch(reinterpret_cast<const char*>(far) + 64);
      __builtin_prefetch(reinterpret_cast<const char*>(far) + sizeof(TDBStringClass) - 1);
    }
  }
  if (slot + kTextsAhead < count) {
    if (TDBStringClass* near = TranslateDBClass::GetObject(slot + kTextsAhead)) {
      if (language < 0) __builtin_prefetch(near->GetIDString().Chars());
      near->PrefetchSpan(true);
      if (language >= 0) near->PrefetchSpan(false);
    }
  }
  if (language > 0 && slot + kTextAhead < count) {
    TDBStringClass* nearer = TranslateDBClass::GetObject(slot + kTextAhead);
    if (nearer && language < nearer->GetTextCount()) {
      const TextSpan span = nearer->PeekTextSpan(language, scratch);
      if (span.Kind == TextSpan::kWideLE) {
        __builtin_prefetch(span.Units);
        __builtin_prefetch(static_cast<const char*>(span.Units) + 64);
      }
    }
  }
}

}  // namespace

TranslationLook LookAtTranslation(const TextSpan& text, const TextSpan& english) {
  size_t i = 0;
  while (UnitAt(text, i) && UnitAt(text, i) == UnitAt(english, i)) ++i;
  TranslationLook look{UnitAt(text, 0) == 0, UnitAt(text, i) == 0 && UnitAt(english, i) == 0, false};
  for (size_t c = 0; UnitAt(english, c) && !look.EnglishHasLetters; ++c) {
    look.EnglishHasLetters = IsScriptLetter(UnitAt(english, c));
  }
  return look;
}

bool SearchIndexClass::Needle::Set(const char16_t* text, size_t units) {
  if (bytes.Length() < static_cast<int>(3 * units + 1)) {
    bytes.Clear();
    if (!bytes.Resize(static_cast<int>(3 * units + 1))) return false;
  }
  length = static_cast<size_t>(PutUnits(&bytes[0], units, [text](size_t i) { return text[i]; }) - &bytes[0]);
  numeric = true;
  for (size_t i = 0; i < units; ++i)
    numeric = numeric && ((text[i] >= u'0' && text[i] <= u'9') || text[i] == u'-');
  return true;
}

void SearchIndexClass::Block::Free() {
  for (int i = 0; i < owned.Count(); ++i) delete[] owned[i];
  owned.Empty();
  pieces.Empty();
  used = 0;
}

bool SearchIndexClass::Block::Begin(int slots) {
  Free();
  Starts.Empty();
  if (Starts.Length() < slots + 1) {
    Starts.Clear();
    if (!Starts.Resize(slots + 1)) return false;
  }
  Starts.Add(0);
  return true;
}

char* SearchIndexClass::Block::Reserve(int64_t most) {
  const int64_t room = static_cast<int64_t>(pieces.Count()) << kPieceBits;
  if (used + most <= room) return const_cast<char*>(At(used));
  const int64_t count = (most + kPiece - 1) >> kPieceBits;
  if (room + (count << kPieceBits) > INT32_MAX) return nullptr;
  char* bytes = new (std::nothrow) char[static_cast<size_t>(count << kPieceBits)];
  if (!bytes || !AddDoubling(owned, bytes)) {
    delete[] bytes;
    return nullptr;
  }
  for (int64_t i = 0; i < count; ++i) {
    if (!AddDoubling(pieces, bytes + (i << kPieceBits))) return nullptr;
  }
  if (used < room) std::memset(const_cast<char*>(At(used)), 0, static_cast<size_t>(room - used));
  used = room;
  Starts[Starts.Count() - 1] = static_cast<int32_t>(used);
  return bytes;
}

bool SearchIndexClass::Block::Holds(int slot, const Needle& needle) const {
  const size_t n = needle.Length();
  if (n == 0) return true;
  const char* want = needle.Bytes();
  if (Starts[slot + 1] - Starts[slot] < static_cast<int64_t>(n)) return false;
  const char* at = At(Starts[slot]);
  const char* const end = at + (Starts[slot + 1] - Starts[slot]);
  while (static_cast<size_t>(end - at) >= n) {
    at = static_cast<const char*>(std::memchr(at, want[0], static_cast<size_t>(end - at) - n + 1));
    if (!at) return false;
    if (std::memcmp(at + 1, want + 1, n - 1) == 0) return true;
    ++at;
  }
  return false;
}

bool SearchIndexClass::FieldsHold(int slot, const Needle& needle) const {
  return (needle.Numeric() &&
          DecimalHolds(TranslateDBClass::kFirstID + slot, needle.Bytes(), needle.Length())) ||
         fields.Holds(slot, needle);
}

bool SearchIndexClass::BeginCategories(int count) {
  categories_revision = 0;
  categories.Empty();
  if (categories.Length() < count) {
    categories.Clear();
    return categories.Resize(count);
  }
  return true;
}

bool SearchIndexClass::BuildFields() {
  fields_built = false;
  const int count = TranslateDBClass::GetObjectCount();
  if (!fields.Begin(count) || !BeginCategories(count)) return false;
  NarrowStringClass scratch;
  UnicodeStringClass wide_scratch;
  for (int slot = 0; slot < count; ++slot) {
    PrefetchAhead(slot, count, -1, wide_scratch);
    TDBStringClass* s = TranslateDBClass::GetObject(slot);
    categories.Add(s ? s->GetCategoryID() : 0);
    if (s) {
      const NarrowStringClass& id = s->GetIDString();
      const TextSpan id_span{TextSpan::kNarrow, id.Chars(), static_cast<size_t>(id.Length())};
      const TextSpan english = s->PeekEnglishSpan(scratch);
      const size_t id_units = UnitCount(id_span), english_units = UnitCount(english);
      char* const start = fields.Reserve(3 * static_cast<int64_t>(id_units + english_units) + 2);
      if (!start) return false;
      char* const out = PutSpan(PutSpan(start, id_span, id_units), english, english_units);
      fields.EndSlot(static_cast<size_t>(out - start));
    } else {
      fields.EndSlot(0);
    }
  }
  fields_revision = categories_revision = TranslateDBClass::GetRevision();
  fields_built = true;
  return true;
}

bool SearchIndexClass::BuildTexts(LanguageTexts& into, int language) {
  into.Age = 0;
  const int count = TranslateDBClass::GetObjectCount();
  if (!into.Texts.Begin(count) || !BeginCategories(count)) return false;
  if (into.Marks.Length() < count) {
    into.Marks.Clear();
    if (!into.Marks.Resize(count)) return false;
  }
  into.Marks.Empty();
  UnicodeStringClass scratch;
  NarrowStringClass english_scratch;
  for (int slot = 0; slot < count; ++slot) {
    PrefetchAhead(slot, count, language, scratch);
    TDBStringClass* s = TranslateDBClass::GetObject(slot);
    categories.Add(s ? s->GetCategoryID() : 0);
    uint8_t marks = 0;
    if (s) {
      const TextSpan text = language < s->GetTextCount() ? s->PeekTextSpan(language, scratch) : TextSpan{};
      const TranslationLook look = LookAtTranslation(text, s->PeekEnglishSpan(english_scratch));
      marks = (look.Untranslated() ? kUntranslated : 0) | (look.EnglishHasLetters ? kTranslatable : 0);
      const size_t units = UnitCount(text);
      char* const start = into.Texts.Reserve(3 * static_cast<int64_t>(units) + 1);
      if (!start) return false;
      into.Texts.EndSlot(static_cast<size_t>(PutSpan(start, text, units) - start));
    } else {
      into.Texts.EndSlot(0);
    }
    into.Marks.Add(marks);
  }
  into.Language = language;
  into.Revision = categories_revision = TranslateDBClass::GetRevision();
  into.Age = ++age;
  return true;
}

bool SearchIndexClass::Update(bool with_fields, int language) {
  const uint64_t revision = TranslateDBClass::GetRevision();
  if (with_fields && (!fields_built || fields_revision != revision) && !BuildFields()) return false;
  texts = nullptr;
  if (language >= 0) {
    // The texts held for language, or in place of the oldest (or outdated) ones.
    LanguageTexts* oldest = &languages[0];
    const auto current_age = [revision](const LanguageTexts& held) {
      return held.Revision == revision ? held.Age : 0;
    };
    for (LanguageTexts& held : languages) {
      if (current_age(held) && held.Language == language) texts = &held;
      if (current_age(held) < current_age(*oldest)) oldest = &held;
    }
    if (!texts && !BuildTexts(*oldest, language)) return false;
    if (!texts) texts = oldest;
    texts->Age = ++age;
  }
  if (categories_revision == revision) return true;
  // Neither part was built: the categories alone.
  const int count = TranslateDBClass::GetObjectCount();
  if (!BeginCategories(count)) return false;
  for (int slot = 0; slot < count; ++slot) {
    TDBStringClass* s = TranslateDBClass::GetObject(slot);
    categories.Add(s ? s->GetCategoryID() : 0);
  }
  categories_revision = revision;
  return true;
}

}  // namespace ui
