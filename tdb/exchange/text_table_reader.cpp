// Reading the text table. The bytes arrive in pieces; each complete line is decoded from UTF-8
// into a line buffer of UTF-16 units that starts at 1024 units and grows in steps of 1024 (and is
// kept for the following lines), then classified by its characters as a category, string or text
// line. Whatever cannot be used is skipped with a warning; nothing in the input can make the
// reader fail except memory.
#include "tdb/exchange/text_table_reader.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "common/disk_file.h"
#include "common/path_error.h"
#include "tdb/tdb_format.h"
#include "tdb/translate_db.h"
#include "tdb/exchange/file_bytes.h"
#include "tdb/exchange/text_table.h"
#include "common/utf8.h"

namespace {

constexpr size_t kLineStep = 1024;
// Every field and text taken from a line holds at most this many characters.
constexpr int kFieldLimit = 511;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// A number as the C runtime's _wtoi reads it: leading white space, an optional sign, decimal
// digits up to the first other character; no digits give 0. A value from 2^31 to 2^32 - 1 is
// the unsigned form of a negative ID (as the writer prints IDs) and reads as that ID; anything
// beyond is clamped.
int ReadNumber(const char16_t* p, const char16_t* end) {
  while (p < end && (*p == ' ' || (*p >= 0x09 && *p <= 0x0D))) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  uint64_t value = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    if (value <= UINT32_MAX) value = value * 10 + (*p - '0');
  }
  if (negative) return value > 0x80000000u ? INT32_MIN : static_cast<int>(0 - static_cast<int64_t>(value));
  if (value <= INT32_MAX) return static_cast<int>(value);
  if (value <= UINT32_MAX) return static_cast<int>(static_cast<uint32_t>(value));
  return INT32_MAX;
}

// Position of the first c in p[from] to p[end - 1], or -1.
int Find(const char16_t* p, int from, int end, char16_t c) {
  for (int i = from; i < end; ++i) {
    if (p[i] == c) return i;
  }
  return -1;
}

// A narrow field as UTF-8, for quoting it in a warning; out has room for 2 * kFieldLimit + 1.
void QuoteNarrow(const char* text, char* out) {
  size_t count = strlen(text);
  if (count > kFieldLimit) count = kFieldLimit;
  *EncodeNarrowAsUtf8(text, count, out) = 0;
}

}  // namespace

TextTableReaderClass::TextTableReaderClass(const char* name_in,
                                           DynamicArrayClass<NarrowStringClass>* warnings_in)
    : warnings(name_in, warnings_in) {
  TranslateDBClass::ClearIDChanges();
}

TextTableReaderClass::~TextTableReaderClass() {
  delete[] line;
  delete[] pending;
}

bool TextTableReaderClass::Feed(const char* bytes, size_t count) {
  while (count > 0) {
    const void* lf = memchr(bytes, '\n', count);
    if (!lf) return KeepPending(bytes, count);
    size_t n = static_cast<size_t>(static_cast<const char*>(lf) - bytes);
    bool ok;
    if (pending_count > 0) {
      ok = KeepPending(bytes, n) && ReadLine(pending, pending_count);
      pending_count = 0;
    } else {
      ok = ReadLine(bytes, n);
    }
    if (!ok) return false;
    bytes += n + 1;
    count -= n + 1;
  }
  return true;
}

bool TextTableReaderClass::Finish() {
  bool ok = pending_count == 0 || ReadLine(pending, pending_count);
  pending_count = 0;
  warnings.Finish();
  return ok;
}

bool TextTableReaderClass::KeepPending(const char* bytes, size_t count) {
  if (count > pending_capacity - pending_count) {
    size_t capacity = pending_capacity < 4096 ? 4096 : pending_capacity;
    while (capacity - pending_count < count) capacity *= 2;
    char* fresh = new (std::nothrow) char[capacity];
    if (!fresh) return false;
    if (pending_count) memcpy(fresh, pending, pending_count);
    delete[] pending;
    pending = fresh;
    pending_capacity = capacity;
  }
  memcpy(pending + pending_count, bytes, count);
  pending_count += count;
  return true;
}

// Makes room for units characters and a terminator, in whole steps of 1024.
bool TextTableReaderClass::GrowLine(size_t units) {
  if (units + 1 <= line_capacity) return true;
  size_t capacity = (units + 1 + kLineStep - 1) / kLineStep * kLineStep;
  char16_t* fresh = new (std::nothrow) char16_t[capacity];
  if (!fresh) return false;
  delete[] line;
  line = fresh;
  line_capacity = capacity;
  return true;
}

bool TextTableReaderClass::ReadLine(const char* bytes, size_t count) {
  if (++line_number == 1 && count >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
    bytes += 3;
    count -= 3;
  }
  if (!GrowLine(count)) return false;
  bool invalid = false;
  size_t units = DecodeUtf8(bytes, count, line, &invalid);
  if (invalid) warnings.Add(line_number, "invalid UTF-8; each bad sequence became U+FFFD");
  for (size_t i = 0; i < units; ++i) {
    if (line[i] == 0) {
      units = i;
      warnings.Add(line_number, "a zero character ends the line here; the rest of the line is ignored");
      break;
    }
  }
  if (units > INT32_MAX - 1) units = INT32_MAX - 1;
  // text_end keeps trailing spaces (for the text of a text line); length drops them too.
  int text_end = static_cast<int>(units);
  while (text_end > 0 && (line[text_end - 1] == '\r' || line[text_end - 1] == '\n')) --text_end;
  int length = text_end;
  while (length > 0 && (line[length - 1] == ' ' || line[length - 1] == '\r' || line[length - 1] == '\n'))
    --length;
  if (length == 0) return true;

  int comma = Find(line, 0, length, ',');
  int equals = Find(line, 0, length, '=');
  if (line[0] == '[' && comma >= 0) return CategoryLine(length, comma);
  if (comma >= 0 && (equals < 0 || comma < equals)) return StringLine(length, comma);
  if (equals >= 0) return TextLine(length, text_end, equals);
  warnings.Add(line_number, "not a category, string or text line; ignored");
  return true;
}

// Narrow form of count characters at p into out (room for kFieldLimit + 1 bytes): a character
// above U+00FF becomes '?', and the field is cut at kFieldLimit characters. Returns the length.
int TextTableReaderClass::NarrowField(const char16_t* p, int count, char* out, const char* what) {
  int n = 0;
  bool replaced = false, cut = false;
  for (int i = 0; i < count; ++i) {
    if (n == kFieldLimit) {
      cut = true;
      break;
    }
    char16_t u = p[i];
    if (u > 0xFF) {
      replaced = true;
      if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(p[i + 1])) ++i;
      out[n++] = '?';
    } else {
      out[n++] = static_cast<char>(u);
    }
  }
  out[n] = 0;
  if (replaced)
    warnings.Add(line_number, "%s has characters outside Western European (Latin-1); each became '?'", what);
  if (cut) warnings.Add(line_number, "%s cut to %d characters", what, kFieldLimit);
  if (n > tdb::kMaxFieldBytes)
    warnings.Add(line_number, "%s is longer than %d bytes; a database file cannot hold it", what,
                 tdb::kMaxFieldBytes);
  return n;
}

bool TextTableReaderClass::CategoryLine(int length, int comma) {
  if (line[length - 1] != ']') {
    warnings.Add(line_number, "category line without a closing ']'; ignored");
    return true;
  }
  int id = ReadNumber(line + 1, line + length);
  char field[kFieldLimit + 1];
  NarrowField(line + comma + 1, length - 1 - (comma + 1), field, "category name");
  StringCategoryClass* category = new (std::nothrow) StringCategoryClass;
  if (!category) return false;
  category->ID = id;
  if (!category->Name.TryAssign(field) || !TranslateDBClass::AddCategory(category)) {
    delete category;
    return false;
  }
  // The IDs seen are kept in a standard set, which throws when memory runs out: that fails the
  // read as out of memory, like any other allocation.
  bool seen;
  try {
    if (!category_ids_filled) {
      for (int i = 0; i + 1 < TranslateDBClass::GetCategoryCount(); ++i)
        category_ids.insert(TranslateDBClass::GetCategory(i)->ID);
      category_ids_filled = true;
    }
    seen = !category_ids.insert(category->ID).second;
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (seen && id != 0) warnings.Add(line_number, "category ID %d occurs twice", id);
  has_category = true;
  category_id = category->ID;
  current = nullptr;
  skipping = false;
  return true;
}

bool TextTableReaderClass::StringLine(int length, int comma1) {
  current = nullptr;
  skipping = true;
  int comma2 = Find(line, comma1 + 1, length, ',');
  int comma3 = comma2 < 0 ? -1 : Find(line, comma2 + 1, length, ',');
  if (comma3 < 0) {
    warnings.Add(
        line_number,
        "string line without the four fields ID,symbolic ID,sound ID,animation; it and its texts are "
        "ignored");
    return true;
  }
  if (!has_category) {
    warnings.Add(line_number, "string line before the first category line; it and its texts are ignored");
    return true;
  }
  int id = ReadNumber(line, line + comma1);
  char id_string[kFieldLimit + 1], animation[kFieldLimit + 1];
  NarrowField(line + comma1 + 1, comma2 - comma1 - 1, id_string, "symbolic ID");
  NarrowField(line + comma3 + 1, length - comma3 - 1, animation, "animation name");
  char quoted[kFieldLimit * 2 + 1];
  QuoteNarrow(id_string, quoted);

  TDBStringClass* s = new (std::nothrow) TDBStringClass;
  if (!s) return false;
  s->SetID(id);
  s->SetSoundID(ReadNumber(line + comma2 + 1, line + length));
  s->SetCategoryID(category_id);
  int changes = TranslateDBClass::GetIDChangeCount();
  if (!s->SetIDString(id_string) || !s->SetAnimationName(animation) || !TranslateDBClass::AddObject(s)) {
    delete s;
    return false;
  }
  if (id > 0 && id < TranslateDBClass::kFirstID)
    warnings.Add(line_number, "numeric ID %d is below %d; %s gets ID %d", id, TranslateDBClass::kFirstID,
                 quoted, s->GetID());
  for (int i = changes; i < TranslateDBClass::GetIDChangeCount(); ++i) {
    IDChangeRecord change = TranslateDBClass::GetIDChange(i);
    if (change.OldID < TranslateDBClass::kFirstID || change.OldID > TranslateDBClass::kLastID) {
      warnings.Add(line_number, "numeric ID %d is outside %d to %d; %s gets ID %d", change.OldID,
                   TranslateDBClass::kFirstID, TranslateDBClass::kLastID, quoted, change.NewID);
    } else {
      warnings.Add(line_number, "numeric ID %d occurs twice; %s gets ID %d", change.OldID, quoted,
                   change.NewID);
    }
  }
  TranslateDBClass::ClearIDChanges();
  current = s;
  skipping = false;
  return true;
}

bool TextTableReaderClass::TextLine(int length, int text_end, int equals) {
  if (!current) {
    if (!skipping) warnings.Add(line_number, "text line without a string line before it; ignored");
    return true;
  }
  int language = ReadNumber(line, line + equals);
  if (language < 0 || language > TDBStringClass::kMaxLanguage) {
    warnings.Add(line_number, "language index %d is outside 0 to %d; text ignored", language,
                 TDBStringClass::kMaxLanguage);
    return true;
  }
  // A text of nothing but spaces counts as empty: it changes nothing.
  if (length == equals + 1) return true;
  int count = text_end - (equals + 1);
  if (count > kFieldLimit) {
    count = kFieldLimit;
    // Never keep half of a surrogate pair.
    if (IsHighSurrogate(line[equals + count]) && IsLowSurrogate(line[equals + count + 1])) --count;
    warnings.Add(line_number, "text of language %d cut to %d characters", language, count);
  }
  char16_t text[kFieldLimit + 1];
  memcpy(text, line + equals + 1, count * sizeof(char16_t));
  text[count] = 0;
  return current->SetText(language, text);
}

bool ReadTextTable(const char* bytes, size_t size, const char* name,
                   DynamicArrayClass<NarrowStringClass>* warnings) {
  TextTableReaderClass reader(name, warnings);
  return reader.Feed(bytes, size) && reader.Finish();
}

bool ImportTextTable(const char* path, DynamicArrayClass<NarrowStringClass>* warnings,
                     NarrowStringClass* error, platform::DiskInterface& disk) {
  constexpr int kBlock = 1 << 16;
  ErrorKeepingFile<DiskFileClass> file(path, disk);
  ArrayClass<char> block;
  if (!file.Open(1)) {
    return FailPath(error, path, platform::LastError());
  }
  TextTableReaderClass reader(path, warnings);
  if (!block.Resize(kBlock)) {
    return FailPath(error, path, platform::ErrorNoMemory());
  }
  // The database is emptied only once the file has given its first bytes.
  for (bool first = true;; first = false) {
    int n = file.Read(&block[0], kBlock);
    if (file.ErrorCode() != 0) {
      return FailPath(error, path, file.ErrorCode());
    }
    if (first) TranslateDBClass::ClearDatabase();
    if (n <= 0) break;
    if (!reader.Feed(&block[0], static_cast<size_t>(n))) {
      return FailPath(error, path, platform::ErrorNoMemory());
    }
  }
  if (!reader.Finish()) {
    return FailPath(error, path, platform::ErrorNoMemory());
  }
  return true;
}
