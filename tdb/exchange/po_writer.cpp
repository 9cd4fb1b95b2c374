// Writing PO files: the header entry, then one entry per string object.
#include "tdb/exchange/po_writer.h"

#include <cstdio>
#include <cstring>

#include "common/utf8.h"
#include "tdb/translate_db.h"
#include "tdb/exchange/c_format.h"
#include "tdb/exchange/category_groups.h"
#include "tdb/exchange/grow_buffer.h"

namespace {

// Holds the UTF-8 form of one field at a time, grown as needed and kept.
class Utf8Scratch {
 public:
  // False when memory runs out.
  bool FromWide(const UnicodeStringClass& text) {
    size_t count = static_cast<size_t>(text.Length());
    if (!buffer.Reserve(Utf8LengthOfWide(text.Chars(), count))) return false;
    buffer.count = static_cast<size_t>(EncodeUtf8(text.Chars(), count, buffer.items) - buffer.items);
    return true;
  }
  // Each byte b as the character U+00bb.
  bool FromNarrow(const char* text) {
    size_t count = strlen(text);
    if (!buffer.Reserve(2 * count + 1)) return false;
    buffer.count = static_cast<size_t>(EncodeNarrowAsUtf8(text, count, buffer.items) - buffer.items);
    return true;
  }
  // Bytes that may not be valid UTF-8 (a file name): each ill-formed sequence becomes U+FFFD.
  bool FromUnchecked(const char* text) {
    UnicodeStringClass wide;
    return Utf8ToWide(text, -1, wide) && FromWide(wide);
  }
  const char* Bytes() const { return buffer.items; }
  size_t Size() const { return buffer.count; }

 private:
  GrowBuffer<char> buffer;
};

// Appends bytes with C escapes for control characters and, in quoted strings, for '"' and '\'.
void AppendEscaped(ByteBuilder& out, const char* bytes, size_t count, bool quoted) {
  size_t start = 0;
  for (size_t i = 0; i < count; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    const char* named = nullptr;
    switch (c) {
      case '\a':
        named = "\\a";
        break;
      case '\b':
        named = "\\b";
        break;
      case '\f':
        named = "\\f";
        break;
      case '\n':
        named = "\\n";
        break;
      case '\r':
        named = "\\r";
        break;
      case '\t':
        named = "\\t";
        break;
      case '\v':
        named = "\\v";
        break;
      case '"':
        named = quoted ? "\\\"" : nullptr;
        break;
      case '\\':
        named = quoted ? "\\\\" : nullptr;
        break;
      default:
        break;
    }
    if (!named && c >= 0x20 && c != 0x7F) continue;
    out.Append(bytes + start, i - start);
    start = i + 1;
    if (named) {
      out.Append(named);
    } else {
      char octal[4] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
                       static_cast<char>('0' + (c & 7))};
      out.Append(octal, sizeof octal);
    }
  }
  out.Append(bytes + start, count - start);
}

// keyword "text", or, when a line feed stands before the end, keyword "" and one quoted line per
// line feed.
void AppendString(ByteBuilder& out, const char* keyword, const char* bytes, size_t count) {
  out.Append(keyword);
  const void* lf = count > 1 ? memchr(bytes, '\n', count - 1) : nullptr;
  if (!lf) {
    out.Append(" \"", 2);
    AppendEscaped(out, bytes, count, true);
    out.Append("\"\n", 2);
    return;
  }
  out.Append(" \"\"\n", 4);
  for (size_t start = 0; start < count;) {
    const void* end = memchr(bytes + start, '\n', count - start);
    size_t line_end = end ? static_cast<size_t>(static_cast<const char*>(end) - bytes) + 1 : count;
    out.Append('"');
    AppendEscaped(out, bytes + start, line_end - start, true);
    out.Append("\"\n", 2);
    start = line_end;
  }
}

bool AppendIdComment(ByteBuilder& out, TDBStringClass* s, Utf8Scratch& scratch) {
  const NarrowStringClass& symbolic = s->GetIDString();
  out.Append("ID ");
  out.AppendDecimal(s->GetID());
  if (symbolic.IsEmpty()) {
    out.Append(", no symbolic ID");
    return true;
  }
  out.Append(", symbolic ID ");
  if (!scratch.FromNarrow(symbolic)) return false;
  AppendEscaped(out, scratch.Bytes(), scratch.Size(), false);
  return true;
}

bool AppendCategoryComment(ByteBuilder& out, TDBStringClass* s, const char* category, Utf8Scratch& scratch) {
  out.Append("Category: ");
  if (category) {
    if (!scratch.FromNarrow(category)) return false;
    AppendEscaped(out, scratch.Bytes(), scratch.Size(), false);
  } else {
    char none[32];
    snprintf(none, sizeof none, "none (ID %d)", s->GetCategoryID());
    out.Append(none);
  }
  return true;
}

class PoWriter {
 public:
  PoWriter(ByteBuilder& out_in, const PoExportOptions& options_in) : out(out_in), options(options_in) {}

  void Header() {
    ByteBuilder header;
    header.Append("Project-Id-Version: ");
    AppendField(header, options.Project);
    header.Append("\nPO-Revision-Date: \nLast-Translator: \nLanguage-Team: \nLanguage: ");
    AppendField(header, options.LanguageCode);
    if (options.Language > 0) {
      // The index, which import-po compares with the language it is given.
      header.Append("\nX-Tdb-Language: ");
      header.AppendDecimal(options.Language);
    }
    header.Append(
        "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: 8bit\n"
        "X-Generator: ");
    AppendField(header, options.Generator);
    header.Append('\n');
    if (header.ErrorCode()) return Fail();
    out.Append("msgid \"\"\n");
    AppendString(out, "msgstr", reinterpret_cast<const char*>(header.Data()),
                 static_cast<size_t>(header.Size()));
  }

  void Entry(TDBStringClass* s, const char* category) {
    if (failed) return;
    char id[16];
    snprintf(id, sizeof id, "%d", s->GetID());
    const NarrowStringClass& symbolic = s->GetIDString();
    out.Append("\n#. ");
    if (!AppendIdComment(out, s, scratch)) return Fail();
    out.Append("\n#. ");
    if (!AppendCategoryComment(out, s, category, scratch)) return Fail();
    out.Append('\n');
    // Translators' tools then check that a translation keeps the conversions.
    const UnicodeStringClass& english = s->GetText(0);
    if (HasCFormat(english.Chars(), english.Length())) out.Append("#, c-format\n");

    // The key: the numeric ID, and a space and the symbolic ID when there is one.
    if (!scratch.FromNarrow(symbolic)) return Fail();
    out.Append("msgctxt \"");
    out.Append(id);
    if (scratch.Size() > 0) out.Append(' ');
    AppendEscaped(out, scratch.Bytes(), scratch.Size(), true);
    out.Append("\"\n");

    if (!scratch.FromWide(s->GetText(0))) return Fail();
    AppendString(out, "msgid", scratch.Bytes(), scratch.Size());
    int language = options.Language;
    if (language > 0 && s->HasText(language)) {
      if (!scratch.FromWide(s->GetText(language))) return Fail();
    } else {
      if (!scratch.FromNarrow("")) return Fail();
    }
    AppendString(out, "msgstr", scratch.Bytes(), scratch.Size());
  }

 private:
  // A header value: UTF-8 bytes, ill-formed sequences replaced; a line feed would end the field
  // early, so it becomes a space.
  void AppendField(ByteBuilder& header, const char* text) {
    if (!scratch.FromUnchecked(text ? text : "")) return Fail();
    const char* bytes = scratch.Bytes();
    for (size_t i = 0; i < scratch.Size(); ++i) header.Append(bytes[i] == '\n' ? ' ' : bytes[i]);
  }
  void Fail() {
    failed = true;
    out.SetFailed();
  }

  ByteBuilder& out;
  const PoExportOptions& options;
  Utf8Scratch scratch;
  bool failed = false;
};

}  // namespace

void WritePo(ByteBuilder& out, const PoExportOptions& options) {
  PoWriter writer(out, options);
  writer.Header();
  CategoryGroupsClass groups;
  if (!groups.Build()) return out.SetFailed();
  // A later category with the same ID shows the same strings: they are written once, under the
  // first. Then the strings whose category does not exist, so that none is left out.
  int categories = TranslateDBClass::GetCategoryCount();
  for (int c = 0; c <= categories; ++c) {
    const char* name = c < categories ? TranslateDBClass::GetCategory(c)->Name.Chars() : nullptr;
    for (int i = 0; i < groups.Count(c) && !out.ErrorCode(); ++i) writer.Entry(groups.String(c, i), name);
  }
}

bool AppendPoIdComment(ByteBuilder& out, TDBStringClass* s) {
  Utf8Scratch scratch;
  return AppendIdComment(out, s, scratch) && !out.ErrorCode();
}

bool AppendPoCategoryComment(ByteBuilder& out, TDBStringClass* s, const char* category) {
  Utf8Scratch scratch;
  return AppendCategoryComment(out, s, category, scratch) && !out.ErrorCode();
}

bool ExportPo(const char* path, const PoExportOptions& options, NarrowStringClass* error,
              platform::DiskInterface& disk) {
  auto fill = [](ByteBuilder& out, const void* context) {
    WritePo(out, *static_cast<const PoExportOptions*>(context));
  };
  return ByteBuilder::WriteThrough(path, error, fill, &options, disk);
}
