// Matching translations to strings and applying them.
#include "tdb/exchange/translation_import.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "common/path_error.h"
#include "common/utf8.h"
#include "tdb/translate_db.h"
#include "tdb/exchange/c_format.h"
#include "tdb/exchange/file_bytes.h"
#include "tdb/exchange/po_writer.h"

namespace {

// At most this many characters of a key or symbolic ID are quoted in a warning.
constexpr int kQuoteLimit = 80;

// UTF-16 text as UTF-8 for a warning, cut at kQuoteLimit units, control characters as '?'.
class Quoted {
 public:
  Quoted(const char16_t* text, int length) {
    char16_t units[kQuoteLimit + 1];
    int n = 0;
    for (; n < length && n < kQuoteLimit; ++n) units[n] = text[n] < 0x20 || text[n] == 0x7F ? u'?' : text[n];
    if (n > 0 && n < length && units[n - 1] >= 0xD800 && units[n - 1] <= 0xDBFF) --n;
    *EncodeUtf8(units, static_cast<size_t>(n), bytes) = 0;
  }
  // Narrow text, each byte b as the character U+00bb.
  explicit Quoted(const char* text) {
    char16_t units[kQuoteLimit + 1];
    int n = 0;
    for (; text[n] && n < kQuoteLimit; ++n) {
      unsigned char b = static_cast<unsigned char>(text[n]);
      units[n] = b < 0x20 || b == 0x7F ? u'?' : b;
    }
    *EncodeUtf8(units, static_cast<size_t>(n), bytes) = 0;
  }
  const char* Chars() const { return bytes; }

 private:
  char bytes[kQuoteLimit * 3 + 1];
};

bool SameText(const char16_t* a, int length, const UnicodeStringClass& b) {
  return b.Length() == length && memcmp(a, b.Chars(), static_cast<size_t>(length) * sizeof(char16_t)) == 0;
}

TDBStringClass* StringOf(int64_t id) {
  int64_t slot = id - TranslateDBClass::kFirstID;
  return id >= TranslateDBClass::kFirstID && id <= TranslateDBClass::kLastID &&
                 slot < TranslateDBClass::GetObjectCount()
             ? TranslateDBClass::GetObject(static_cast<int>(slot))
             : nullptr;
}

}  // namespace

TranslationImporterClass::TranslationImporterClass(const PoImportOptions& options_in,
                                                   WarningListClass* warnings_in, bool apply_in)
    : options(options_in), warnings(warnings_in), apply(apply_in) {}

void TranslationImporterClass::Skip(int line, const char* why) {
  if (warnings) warnings->Add(line, "%s; skipped", why);
  ++report.Skipped;
}

bool TranslationImporterClass::Entry(const TranslationEntry& e, NarrowStringClass& reason) {
  TDBStringClass* s = nullptr;
  if (e.Key) {
    s = FindByKey(e);
  } else {
    bool failed = false;
    s = FindByComment(e, &failed);
    if (failed) return false;
  }
  if (!s) return true;
  if (!apply) {
    int slot = s->GetID() - TranslateDBClass::kFirstID;
    if (!first_line) {
      first_line = new (std::nothrow) int[TranslateDBClass::GetObjectCount()]();
      if (!first_line) return false;
    }
    if (first_line[slot] != 0) {
      char text[96];
      snprintf(text, sizeof text, "a second entry for string %d (the first is at line %d)", s->GetID(),
               first_line[slot]);
      reason.TryAssign(text);
      return false;
    }
    first_line[slot] = e.Line;
  }
  if (e.Fuzzy && !options.Fuzzy) {
    ++report.Fuzzy;
    ++report.Skipped;
    return true;
  }
  if (!SameText(e.Source, e.SourceLength, s->GetText(0))) {
    if (warnings) {
      warnings->Add(e.Line, "string %d \"%s\": its English text changed since the export; skipped",
                    s->GetID(), Quoted(s->GetIDString()).Chars());
    }
    ++report.Skipped;
    return true;
  }
  if (e.TargetLength > 0 && !SameCFormat(e.Source, e.SourceLength, e.Target, e.TargetLength)) {
    if (warnings) {
      warnings->Add(e.Line,
                    "string %d \"%s\": the translation's printf conversions differ from the English "
                    "text's; skipped",
                    s->GetID(), Quoted(s->GetIDString()).Chars());
    }
    ++report.Skipped;
    return true;
  }
  int language = options.Language;
  if (e.TargetLength == 0 ||
      (language < s->GetTextCount() && SameText(e.Target, e.TargetLength, s->GetText(language)))) {
    ++report.Unchanged;
    return true;
  }
  ++report.Applied;
  return !apply || s->SetText(language, e.Target);
}

// The string the key names: the numeric ID, then a space and the symbolic ID when the string has
// one. Null (the entry reported and skipped) when it names none.
TDBStringClass* TranslationImporterClass::FindByKey(const TranslationEntry& e) {
  const char16_t* key = e.Key;
  int length = e.KeyLength;
  int digits = 0;
  int64_t id = 0;
  while (digits < length && key[digits] >= '0' && key[digits] <= '9') {
    if (id <= TranslateDBClass::kLastID) id = id * 10 + (key[digits] - '0');
    ++digits;
  }
  if (digits == 0 || (digits < length && key[digits] != ' ')) {
    if (warnings) {
      warnings->Add(e.Line,
                    "%s \"%s\" is not a key of this database (numeric ID, space, symbolic ID); skipped",
                    e.KeyName, Quoted(key, length).Chars());
    }
    ++report.Skipped;
    return nullptr;
  }
  const char16_t* symbolic = digits < length ? key + digits + 1 : key + length;
  int symbolic_length = static_cast<int>(key + length - symbolic);
  TDBStringClass* s = StringOf(id);
  if (!s) {
    if (warnings) warnings->Add(e.Line, "no string %s in the database; skipped", Quoted(key, length).Chars());
    ++report.Skipped;
    return nullptr;
  }
  const NarrowStringClass& current = s->GetIDString();
  bool same = current.Length() == symbolic_length;
  for (int i = 0; same && i < symbolic_length; ++i)
    same = symbolic[i] == static_cast<unsigned char>(current.Chars()[i]);
  if (!same) {
    if (warnings) {
      warnings->Add(e.Line, "string %d is \"%s\" now, not \"%s\"; skipped", s->GetID(),
                    Quoted(current).Chars(), Quoted(symbolic, symbolic_length).Chars());
    }
    ++report.Skipped;
    return nullptr;
  }
  return s;
}

// The string that the export's "ID" comment names, for an entry whose key a converter dropped
// (they keep the comment as it was): the comment must be the one the export writes for that
// string now, byte for byte.
TDBStringClass* TranslationImporterClass::FindByComment(const TranslationEntry& e, bool* failed) {
  for (size_t at = 0; at < e.CommentsSize;) {
    const char* line = e.Comments + at;
    const void* lf = memchr(line, '\n', e.CommentsSize - at);
    size_t length = lf ? static_cast<size_t>(static_cast<const char*>(lf) - line) : e.CommentsSize - at;
    at += length + 1;
    if (length < 4 || memcmp(line, "ID ", 3) != 0 || line[3] < '0' || line[3] > '9') continue;
    int64_t id = 0;
    for (size_t i = 3; i < length && line[i] >= '0' && line[i] <= '9'; ++i) {
      if (id <= TranslateDBClass::kLastID) id = id * 10 + (line[i] - '0');
    }
    TDBStringClass* s = StringOf(id);
    if (!s) {
      if (warnings) {
        warnings->Add(e.Line, "no string %lld in the database (%s); skipped", static_cast<long long>(id),
                      e.CommentName);
      }
      ++report.Skipped;
      return nullptr;
    }
    ByteBuilder expected;
    if (!AppendPoIdComment(expected, s)) {
      *failed = true;
      return nullptr;
    }
    if (static_cast<size_t>(expected.Size()) != length || memcmp(expected.Data(), line, length) != 0) {
      if (warnings) {
        warnings->Add(e.Line, "string %d is \"%s\" now, not what its %s says; skipped", s->GetID(),
                      Quoted(s->GetIDString()).Chars(), e.CommentName);
      }
      ++report.Skipped;
      return nullptr;
    }
    return s;
  }
  Skip(e.Line, e.Unkeyed);
  return nullptr;
}

bool CheckImportLanguage(const PoImportOptions& options, const char* name, NarrowStringClass* error) {
  if (options.Language >= 1 && options.Language <= TDBStringClass::kMaxLanguage) return true;
  char reason[64];
  snprintf(reason, sizeof reason, "language %d is outside 1 to %d", options.Language,
           TDBStringClass::kMaxLanguage);
  return FailPath(error, name, reason);
}

bool CheckStrictImport(const PoImportReport& report, const PoImportOptions& options, const char* name,
                       NarrowStringClass* error) {
  int refused = report.Skipped - report.Fuzzy;
  if (!options.Strict || refused == 0) return true;
  char reason[96];
  snprintf(reason, sizeof reason, "%d %s cannot be applied, and a strict import takes all or nothing",
           refused, refused == 1 ? "entry" : "entries");
  return FailPath(error, name, reason);
}
