// Applying a PO file to one language of the database. The file is read twice: a check pass
// decides for every entry whether it applies, reports what is skipped and refuses a malformed
// file; only when it succeeds does the apply pass write the texts. The database is therefore
// untouched by a file that is refused anywhere, even after its last entry.
#include "strandex/exchange/po_import.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "common/path_error.h"
#include "common/utf8.h"
#include "strandex/db/translate_db.h"
#include "strandex/exchange/c_format.h"
#include "strandex/exchange/file_bytes.h"
#include "strandex/exchange/language_guard.h"
#include "strandex/exchange/po_reader.h"
#include "strandex/exchange/po_writer.h"
#include "strandex/exchange/warning_list.h"

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

class PoImporter : public PoEntryHandler {
 public:
  PoImporter(const PoImportOptions& options_in, WarningListClass* warnings_in, bool apply_in)
      : options(options_in), warnings(warnings_in), apply(apply_in) {}
  ~PoImporter() override { delete[] first_line; }
  PoImporter(const PoImporter&) = delete;
  PoImporter& operator=(const PoImporter&) = delete;

  bool OnEntry(const PoEntry& e, NarrowStringClass& reason) override {
    if (e.IsHeader) return apply || CheckHeader(e, reason);
    if (e.Plural) return Skip(e, "a plural entry (msgid_plural); the database has no plural forms");
    TDBStringClass* s = nullptr;
    if (e.HasContext) {
      if (!FindString(e, &s)) return true;
    } else {
      bool failed = false;
      if (!FindByComment(e, &s, &failed)) return !failed;
    }
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
    if (!SameText(e.Id, e.IdLength, s->GetText(0))) {
      if (warnings) {
        warnings->Add(e.Line, "string %d \"%s\": its English text changed since the export; skipped",
                      s->GetID(), Quoted(s->GetIDString()).Chars());
      }
      ++report.Skipped;
      return true;
    }
    if (e.StrLength > 0 && !SameCFormat(e.Id, e.IdLength, e.Str, e.StrLength)) {
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
    if (e.StrLength == 0 ||
        (language < s->GetTextCount() && SameText(e.Str, e.StrLength, s->GetText(language)))) {
      ++report.Unchanged;
      return true;
    }
    ++report.Applied;
    return !apply || s->SetText(language, e.Str);
  }

  PoImportReport report;

 private:
  bool Skip(const PoEntry& e, const char* why) {
    if (warnings) warnings->Add(e.Line, "%s; skipped", why);
    ++report.Skipped;
    return true;
  }

  // Whether the header's X-Tdb-Language and Language fields name the language of the import.
  bool CheckHeader(const PoEntry& e, NarrowStringClass& reason) {
    char index[48], code[48];
    FileLanguage language;
    language.IndexField = "X-Tdb-Language:";
    language.CodeField = "Language:";
    if (HeaderField(e, u"X-Tdb-Language", index)) language.Index = index;
    if (HeaderField(e, u"Language", code)) language.Code = code;
    return CheckFileLanguage(language, options, reason);
  }

  // The value of the header field name (its case ignored), blanks around it dropped, characters
  // outside printable ASCII as '?', cut to the size of value. False when the header has none.
  template <size_t N>
  static bool HeaderField(const PoEntry& e, const char16_t* name, char (&value)[N]) {
    size_t name_length = std::char_traits<char16_t>::length(name);
    for (int at = 0; at < e.StrLength;) {
      int end = at;
      while (end < e.StrLength && e.Str[end] != u'\n') ++end;
      bool match = static_cast<size_t>(end - at) > name_length && e.Str[at + name_length] == u':';
      for (size_t i = 0; match && i < name_length; ++i) match = Lower(e.Str[at + i]) == Lower(name[i]);
      if (match) {
        int from = at + static_cast<int>(name_length) + 1, to = end;
        while (from < to && (e.Str[from] == u' ' || e.Str[from] == u'\t')) ++from;
        while (to > from && (e.Str[to - 1] == u' ' || e.Str[to - 1] == u'\t' || e.Str[to - 1] == u'\r')) --to;
        size_t n = 0;
        for (; from < to && n + 1 < N; ++from)
          value[n++] = e.Str[from] > 0x20 && e.Str[from] < 0x7F ? static_cast<char>(e.Str[from]) : '?';
        value[n] = 0;
        return true;
      }
      at = end + 1;
    }
    return false;
  }
  static char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

  // The string that the entry's "#. ID" comment names, for an entry whose msgctxt a converter
  // dropped (they keep the comment as it was): the comment must be the one the export writes for
  // that string, byte for byte. False (the entry reported and skipped, or *failed when memory
  // ran out) when it names none.
  bool FindByComment(const PoEntry& e, TDBStringClass** found, bool* failed) {
    for (size_t at = 0; at < e.ExtractedSize;) {
      const char* line = e.Extracted + at;
      const void* lf = memchr(line, '\n', e.ExtractedSize - at);
      size_t length = lf ? static_cast<size_t>(static_cast<const char*>(lf) - line) : e.ExtractedSize - at;
      at += length + 1;
      if (length < 4 || memcmp(line, "ID ", 3) != 0 || line[3] < '0' || line[3] > '9') continue;
      int64_t id = 0;
      for (size_t i = 3; i < length && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (id <= TranslateDBClass::kLastID) id = id * 10 + (line[i] - '0');
      }
      TDBStringClass* s = StringOf(id);
      if (!s) {
        if (warnings)
          warnings->Add(e.Line, "no string %lld in the database (#. ID); skipped",
                        static_cast<long long>(id));
        ++report.Skipped;
        return false;
      }
      ByteBuilder expected;
      if (!AppendPoIdComment(expected, s)) {
        *failed = true;
        return false;
      }
      if (static_cast<size_t>(expected.Size()) != length || memcmp(expected.Data(), line, length) != 0) {
        if (warnings) {
          warnings->Add(e.Line, "string %d is \"%s\" now, not what its \"#. ID\" comment says; skipped",
                        s->GetID(), Quoted(s->GetIDString()).Chars());
        }
        ++report.Skipped;
        return false;
      }
      *found = s;
      return true;
    }
    Skip(e, "an entry without msgctxt and without an \"#. ID\" comment names no string");
    return false;
  }

  static TDBStringClass* StringOf(int64_t id) {
    int64_t slot = id - TranslateDBClass::kFirstID;
    return id >= TranslateDBClass::kFirstID && id <= TranslateDBClass::kLastID &&
                   slot < TranslateDBClass::GetObjectCount()
               ? TranslateDBClass::GetObject(static_cast<int>(slot))
               : nullptr;
  }

  // The string the key of e names: the numeric ID, then a space and the symbolic ID when the
  // string has one. False (the entry reported and skipped) when it names none.
  bool FindString(const PoEntry& e, TDBStringClass** found) {
    const char16_t* key = e.Context;
    int length = e.ContextLength;
    int digits = 0;
    int64_t id = 0;
    while (digits < length && key[digits] >= '0' && key[digits] <= '9') {
      if (id <= TranslateDBClass::kLastID) id = id * 10 + (key[digits] - '0');
      ++digits;
    }
    if (digits == 0 || (digits < length && key[digits] != ' ')) {
      if (warnings) {
        warnings->Add(
            e.Line, "msgctxt \"%s\" is not a key of this database (numeric ID, space, symbolic ID); skipped",
            Quoted(key, length).Chars());
      }
      ++report.Skipped;
      return false;
    }
    const char16_t* symbolic = digits < length ? key + digits + 1 : key + length;
    int symbolic_length = static_cast<int>(key + length - symbolic);
    TDBStringClass* s = StringOf(id);
    if (!s) {
      if (warnings) {
        warnings->Add(e.Line, "no string %s in the database; skipped", Quoted(key, length).Chars());
      }
      ++report.Skipped;
      return false;
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
      return false;
    }
    *found = s;
    return true;
  }

  const PoImportOptions& options;
  WarningListClass* warnings;
  bool apply;
  // Per slot: the line of the entry that named the string, 0 for none yet (check pass only).
  int* first_line = nullptr;
};

}  // namespace

bool ApplyPo(const char* bytes, size_t size, const char* name, const PoImportOptions& options,
             PoImportReport* report, DynamicArrayClass<NarrowStringClass>* warnings,
             NarrowStringClass* error) {
  if (options.Language < 1 || options.Language > TDBStringClass::kMaxLanguage) {
    char reason[64];
    snprintf(reason, sizeof reason, "language %d is outside 1 to %d", options.Language,
             TDBStringClass::kMaxLanguage);
    return FailPath(error, name, reason);
  }
  WarningListClass list(name, warnings);
  PoImporter check(options, &list, false);
  if (!ReadPo(bytes, size, name, check, error)) return false;
  list.Finish();
  int refused = check.report.Skipped - check.report.Fuzzy;
  if (options.Strict && refused > 0) {
    char reason[96];
    snprintf(reason, sizeof reason, "%d %s cannot be applied, and a strict import takes all or nothing",
             refused, refused == 1 ? "entry" : "entries");
    return FailPath(error, name, reason);
  }
  if (check.report.Applied > 0) {
    PoImporter writer(options, nullptr, true);
    if (!ReadPo(bytes, size, name, writer, error)) return false;
  }
  if (report) *report = check.report;
  return true;
}

bool ImportPo(const char* path, const PoImportOptions& options, PoImportReport* report,
              DynamicArrayClass<NarrowStringClass>* warnings, NarrowStringClass* error) {
  FileContent content;
  if (!content.Read(path, error)) return false;
  return ApplyPo(content.Data(), content.Size(), path, options, report, warnings, error);
}
