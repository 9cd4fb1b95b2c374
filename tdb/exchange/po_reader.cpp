// Reading PO syntax line by line. Each keyword line starts a part of an entry; string lines
// continue the part above; an entry ends at the next msgctxt or msgid, at a comment after its
// msgstr, or at the end of the file. Comments are allowed between entries only, as gettext
// reads them; the flags of a comment (#,) belong to the entry that follows.
#include "tdb/exchange/po_reader.h"

#include <cstdarg>
#include <cstring>
#include <new>

#include "common/utf8.h"
#include "tdb/exchange/grow_buffer.h"
#include "tdb/exchange/warning_list.h"

namespace {

enum class Keyword { kNone, kContext, kId, kIdPlural, kStr, kStrPlural };

const char* KeywordName(Keyword k) {
  switch (k) {
    case Keyword::kContext:
      return "msgctxt";
    case Keyword::kId:
      return "msgid";
    case Keyword::kIdPlural:
      return "msgid_plural";
    case Keyword::kStr:
      return "msgstr";
    case Keyword::kStrPlural:
      return "msgstr[N]";
    default:
      return "";
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
bool IsOctal(char c) { return c >= '0' && c <= '7'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool EqualNoCase(const char* a, size_t n, const char* b) {
  if (strlen(b) != n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The charsets read as UTF-8: UTF-8 itself, ASCII (a subset), and the placeholder of templates.
bool IsUtf8Charset(const char* name, size_t n) {
  static const char* const kNames[] = {"UTF-8", "UTF8", "CHARSET", "ASCII", "US-ASCII", "ANSI_X3.4-1968"};
  for (const char* ok : kNames) {
    if (EqualNoCase(name, n, ok)) return true;
  }
  return false;
}

class PoParser {
 public:
  PoParser(const char* name_in, PoEntryHandler& handler_in, NarrowStringClass* error_in)
      : name(name_in), handler(handler_in), error(error_in) {}

  bool Run(const char* bytes, size_t size) {
    const char* p = bytes;
    const char* end = bytes + size;
    if (size >= 3 && memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    while (p < end) {
      const char* lf = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)));
      const char* line_end = lf ? lf : end;
      ++line;
      if (!Line(p, line_end)) return false;
      p = lf ? lf + 1 : end;
    }
    if (keyword == Keyword::kStr || keyword == Keyword::kStrPlural) return FinishEntry();
    if (keyword != Keyword::kNone) {
      return CloseKeyword() && Fail(entry_line, "the entry has no msgstr: the file ends before it");
    }
    return true;
  }

 private:
  bool Fail(int at, const char* format, ...) __attribute__((format(printf, 3, 4))) {
    if (error) {
      va_list args;
      va_start(args, format);
      FormatAtLine(*error, name, at, format, args);
      va_end(args);
    }
    return false;
  }

  bool NoMemory() {
    if (error) {
      error->TryAssign(name);
      error->Append(": out of memory");
    }
    return false;
  }

  bool Line(const char* p, const char* end) {
    if (memchr(p, 0, static_cast<size_t>(end - p))) return Fail(line, "a zero byte; a PO file is text");
    while (p < end && IsBlank(*p)) ++p;
    while (end > p && IsBlank(end[-1])) --end;
    if (p == end) return true;
    if (*p == '#') return Comment(p, end);
    if (*p == '"') {
      if (keyword == Keyword::kNone) return Fail(line, "a string without msgid, msgstr or msgctxt before it");
      return Strings(p, end);
    }
    return KeywordLine(p, end);
  }

  bool Comment(const char* p, const char* end) {
    if (keyword == Keyword::kContext || keyword == Keyword::kId || keyword == Keyword::kIdPlural)
      return Fail(line, "a comment inside an entry, before its msgstr");
    if (keyword != Keyword::kNone && !FinishEntry()) return false;
    if (end - p >= 2 && p[1] == '~') {
      // An obsolete entry is passed over, and the comments written above it are its own.
      pending_fuzzy = false;
      pending_extracted.count = 0;
    } else if (end - p >= 2 && p[1] == '.') {
      p += 2;
      if (p < end && *p == ' ') ++p;
      if ((pending_extracted.count > 0 && !pending_extracted.Append('\n')) ||
          !pending_extracted.Append(p, static_cast<size_t>(end - p)))
        return NoMemory();
    } else if (end - p >= 2 && p[1] == ',') {
      for (const char* flag = p + 2; flag < end;) {
        while (flag < end && (IsBlank(*flag) || *flag == ',')) ++flag;
        const char* flag_end = flag;
        while (flag_end < end && !IsBlank(*flag_end) && *flag_end != ',') ++flag_end;
        if (flag_end - flag == 5 && memcmp(flag, "fuzzy", 5) == 0) pending_fuzzy = true;
        flag = flag_end;
      }
    }
    return true;
  }

  bool KeywordLine(const char* p, const char* end) {
    const char* q = p;
    while (q < end && ((*q >= 'a' && *q <= 'z') || *q == '_')) ++q;
    size_t length = static_cast<size_t>(q - p);
    Keyword k = Keyword::kNone;
    if (length == 7 && memcmp(p, "msgctxt", 7) == 0) k = Keyword::kContext;
    if (length == 5 && memcmp(p, "msgid", 5) == 0) k = Keyword::kId;
    if (length == 12 && memcmp(p, "msgid_plural", 12) == 0) k = Keyword::kIdPlural;
    if (length == 6 && memcmp(p, "msgstr", 6) == 0) {
      k = Keyword::kStr;
      if (q < end && *q == '[') {
        const char* digits = ++q;
        while (q < end && *q >= '0' && *q <= '9') ++q;
        if (q == digits || q == end || *q != ']') return Fail(line, "msgstr[ without a number and ]");
        ++q;
        k = Keyword::kStrPlural;
      }
    }
    if (k == Keyword::kNone || (q < end && !IsBlank(*q) && *q != '"')) {
      return Fail(line, "expected msgid, msgstr, msgctxt, a string or a comment");
    }
    if (!Begin(k)) return false;
    while (q < end && IsBlank(*q)) ++q;
    return q == end || Strings(q, end);
  }

  // Starts the part of an entry that keyword k begins, after checking that k may follow.
  bool Begin(Keyword k) {
    if (!CloseKeyword()) return false;
    bool after_msgstr = keyword == Keyword::kStr || keyword == Keyword::kStrPlural;
    switch (k) {
      case Keyword::kContext:
      case Keyword::kId:
        if (after_msgstr && !FinishEntry()) return false;
        if (keyword == Keyword::kNone) {
          if (!StartEntry()) return false;
          has_context = k == Keyword::kContext;
        } else if (!(k == Keyword::kId && keyword == Keyword::kContext)) {
          return Fail(line, k == Keyword::kContext ? "msgctxt inside an entry, before its msgstr"
                                                   : "msgid inside an entry, before its msgstr");
        }
        break;
      case Keyword::kIdPlural:
        if (keyword != Keyword::kId) return Fail(line, "msgid_plural without msgid right before it");
        plural = true;
        break;
      case Keyword::kStr:
        if (keyword == Keyword::kIdPlural) return Fail(line, "a plural entry needs msgstr[0], not msgstr");
        if (keyword != Keyword::kId) return Fail(line, "msgstr without msgid right before it");
        break;
      case Keyword::kStrPlural:
        if (keyword == Keyword::kId) return Fail(line, "msgstr[N] without msgid_plural");
        if (keyword != Keyword::kIdPlural && keyword != Keyword::kStrPlural)
          return Fail(line, "msgstr[N] without msgid_plural right before it");
        break;
      default:
        break;
    }
    keyword = k;
    keyword_line = line;
    keyword_has_string = false;
    target = k == Keyword::kContext ? &context
             : k == Keyword::kId    ? &id
             : k == Keyword::kStr   ? &str
                                    : &ignored;
    if (k == Keyword::kStr) str_line = line;
    if (k == Keyword::kContext) context_line = line;
    if (k == Keyword::kId) id_line = line;
    return true;
  }

  bool CloseKeyword() {
    if (keyword == Keyword::kNone || keyword_has_string) return true;
    return Fail(keyword_line, "%s without a string", KeywordName(keyword));
  }

  bool StartEntry() {
    entry_line = line;
    has_context = false;
    plural = false;
    entry_fuzzy = pending_fuzzy;
    pending_fuzzy = false;
    context.count = id.count = str.count = ignored.count = 0;
    extracted.count = 0;
    if (!extracted.Append(pending_extracted.items, pending_extracted.count)) return NoMemory();
    pending_extracted.count = 0;
    return true;
  }

  // One or more quoted strings, up to the end of the line.
  bool Strings(const char* p, const char* end) {
    while (p < end) {
      if (*p != '"') return Fail(line, "text after a string; strings are in double quotes");
      ++p;
      for (;;) {
        const char* run = p;
        while (p < end && *p != '"' && *p != '\\') ++p;
        if (!target->Append(run, static_cast<size_t>(p - run))) return NoMemory();
        if (p == end) return Fail(line, "a string without its closing quote");
        if (*p++ == '"') break;
        char byte = 0;
        if (!Escape(p, end, &byte)) return false;
        if (!target->Append(byte)) return NoMemory();
      }
      keyword_has_string = true;
      while (p < end && IsBlank(*p)) ++p;
    }
    return true;
  }

  // The byte of the escape after a backslash at p, which moves past it.
  bool Escape(const char*& p, const char* end, char* byte) {
    if (p == end) return Fail(line, "a backslash at the end of a line");
    char c = *p++;
    int value = -1;
    switch (c) {
      case 'n':
        value = '\n';
        break;
      case 't':
        value = '\t';
        break;
      case 'r':
        value = '\r';
        break;
      case 'a':
        value = '\a';
        break;
      case 'b':
        value = '\b';
        break;
      case 'f':
        value = '\f';
        break;
      case 'v':
        value = '\v';
        break;
      case '\\':
      case '"':
      case '\'':
      case '?':
        value = c;
        break;
      case 'x':
        if (p == end || HexValue(*p) < 0) return Fail(line, "\\x without hex digits");
        for (value = 0; p < end && HexValue(*p) >= 0; ++p) {
          value = value * 16 + HexValue(*p);
          if (value > 0xFF) return Fail(line, "a hex escape beyond \\xff");
        }
        break;
      default:
        if (!IsOctal(c)) {
          if (c > 0x20 && c < 0x7F) return Fail(line, "unknown escape \\%c", c);
          return Fail(line, "unknown escape: a backslash before a space or control character");
        }
        value = c - '0';
        for (int digits = 1; digits < 3 && p < end && IsOctal(*p); ++digits) value = value * 8 + (*p++ - '0');
        if (value > 0xFF) return Fail(line, "an octal escape beyond \\377");
        break;
    }
    if (value == 0) return Fail(line, "an escaped zero character; a text cannot hold it");
    *byte = static_cast<char>(value);
    return true;
  }

  // Decodes a string of the entry into out; false after a failure.
  bool Decode(const GrowBuffer<char>& from, GrowBuffer<char16_t>& out, int at, Keyword k) {
    if (!out.Reserve(from.count + 1)) return NoMemory();
    bool invalid = false;
    out.count = DecodeUtf8(from.items, from.count, out.items, &invalid);
    out.items[out.count] = 0;
    if (invalid) return Fail(at, "%s is not valid UTF-8", KeywordName(k));
    return true;
  }

  bool CheckCharset() {
    static const char kKey[] = "charset=";
    const size_t key_length = sizeof kKey - 1;
    for (size_t i = 0; i + key_length <= str.count; ++i) {
      if (!EqualNoCase(str.items + i, key_length, kKey)) continue;
      size_t start = i + key_length, stop = start;
      while (stop < str.count && !IsBlank(str.items[stop]) && str.items[stop] != ';' &&
             str.items[stop] != '\n')
        ++stop;
      if (IsUtf8Charset(str.items + start, stop - start)) return true;
      char shown[41];
      size_t n = 0;
      for (size_t j = start; j < stop && n + 1 < sizeof shown; ++j) {
        char c = str.items[j];
        shown[n++] = c > 0x20 && c < 0x7F ? c : '?';
      }
      shown[n] = 0;
      return Fail(entry_line,
                  "the header names charset %s; only UTF-8 is read (msgconv --to-code=UTF-8 converts)",
                  shown);
    }
    return true;
  }

  bool FinishEntry() {
    if (!CloseKeyword()) return false;
    PoEntry entry;
    entry.Line = entry_line;
    entry.HasContext = has_context;
    entry.Plural = plural;
    entry.Fuzzy = entry_fuzzy;
    entry.IsHeader = !has_context && id.count == 0 && !plural;
    if (entry.IsHeader) {
      if (seen_header) return Fail(entry_line, "a second header entry (msgid \"\" without msgctxt)");
      seen_header = true;
      if (!CheckCharset()) return false;
    }
    if (!Decode(context, wide_context, context_line, Keyword::kContext) ||
        !Decode(id, wide_id, id_line, Keyword::kId) || !Decode(str, wide_str, str_line, Keyword::kStr))
      return false;
    entry.Context = wide_context.items;
    entry.ContextLength = static_cast<int>(wide_context.count);
    entry.Id = wide_id.items;
    entry.IdLength = static_cast<int>(wide_id.count);
    entry.Str = wide_str.items;
    entry.StrLength = static_cast<int>(wide_str.count);
    if (extracted.count > 0) entry.Extracted = extracted.items;
    entry.ExtractedSize = extracted.count;
    keyword = Keyword::kNone;
    NarrowStringClass reason;
    if (handler.OnEntry(entry, reason)) return true;
    if (reason.IsEmpty()) return NoMemory();
    return Fail(entry_line, "%s", reason.Chars());
  }

  const char* name;
  PoEntryHandler& handler;
  NarrowStringClass* error;
  int line = 0;
  // The part of the entry being read, where it started and whether it has a string yet.
  Keyword keyword = Keyword::kNone;
  int keyword_line = 0;
  bool keyword_has_string = false;
  // The entry being read.
  int entry_line = 0, context_line = 0, id_line = 0, str_line = 0;
  bool has_context = false, plural = false, entry_fuzzy = false;
  // A fuzzy flag and extracted comments read in the comments before the next entry.
  bool pending_fuzzy = false;
  GrowBuffer<char> pending_extracted, extracted;
  bool seen_header = false;
  GrowBuffer<char> context, id, str, ignored;
  GrowBuffer<char>* target = &ignored;
  GrowBuffer<char16_t> wide_context, wide_id, wide_str;
};

}  // namespace

bool ReadPo(const char* bytes, size_t size, const char* name, PoEntryHandler& handler,
            NarrowStringClass* error) {
  PoParser parser(name, handler, error);
  return parser.Run(bytes, size);
}
