// Writing XLIFF files (format in xliff.h).
#include <cstdio>
#include <cstring>

#include "common/utf8.h"
#include "tdb/translate_db.h"
#include "tdb/exchange/category_groups.h"
#include "tdb/exchange/po_writer.h"
#include "tdb/exchange/xliff.h"

namespace {

// Appends UTF-8 bytes with the XML escapes of text content, or of an attribute value.
void AppendXml(ByteBuilder& out, const char* bytes, size_t count, bool attribute) {
  size_t start = 0;
  for (size_t i = 0; i < count; ++i) {
    const char* escape = nullptr;
    switch (bytes[i]) {
      case '&':
        escape = "&amp;";
        break;
      case '<':
        escape = "&lt;";
        break;
      case '>':
        escape = "&gt;";
        break;
      case '\r':
        escape = "&#13;";
        break;
      case '"':
        escape = attribute ? "&quot;" : nullptr;
        break;
      case '\n':
        escape = attribute ? "&#10;" : nullptr;
        break;
      case '\t':
        escape = attribute ? "&#9;" : nullptr;
        break;
      default:
        break;
    }
    if (!escape) continue;
    out.Append(bytes + start, i - start);
    out.Append(escape);
    start = i + 1;
  }
  out.Append(bytes + start, count - start);
}

// Bytes that may not be valid UTF-8 (a file name) as attribute text: ill-formed sequences and
// control characters become U+FFFD.
void AppendUncheckedAttribute(ByteBuilder& out, const char* text) {
  UnicodeStringClass wide;
  NarrowStringClass utf8;
  if (!Utf8ToWide(text, -1, wide) || !WideToUtf8(wide.Chars(), utf8)) return out.SetFailed();
  for (const char* p = utf8.Chars(); *p; ++p) {
    if (static_cast<unsigned char>(*p) < 0x20) {
      out.Append("\xEF\xBF\xBD");
    } else {
      AppendXml(out, p, 1, true);
    }
  }
}

// Narrow bytes (each byte b as U+00bb) as attribute text; bytes XML cannot hold become U+FFFD.
void AppendNarrowAttribute(ByteBuilder& out, const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x20 && *p != '\t' && *p != '\n' && *p != '\r') {
      out.Append("\xEF\xBF\xBD");
    } else if (*p < 0x80) {
      char c = static_cast<char>(*p);
      AppendXml(out, &c, 1, true);
    } else {
      char two[2] = {static_cast<char>(0xC0 | (*p >> 6)), static_cast<char>(0x80 | (*p & 0x3F))};
      out.Append(two, 2);
    }
  }
}

// Appends a text as element content: characters XML cannot hold as <ph> elements, and so a
// carriage return (which &#13; would keep, but not every parser gives it back: wine's XmlLite
// reads a space).
void AppendText(ByteBuilder& out, const UnicodeStringClass& text) {
  const char16_t* t = text.Chars();
  int length = text.Length();
  int placeholders = 0;
  for (int i = 0; i < length; ++i) {
    char32_t c = t[i];
    bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < length && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF;
    if (pair) {
      c = 0x10000 + ((c - 0xD800) << 10) + (t[++i] - 0xDC00);
    } else if ((c < 0x20 && c != '\t' && c != '\n') || (c >= 0xD800 && c <= 0xDFFF) ||
               c == 0xFFFE || c == 0xFFFF) {
      char ph[64];
      snprintf(ph, sizeof ph, "<ph id=\"c%d\" ctype=\"x-tdb-char\">U+%04X</ph>", ++placeholders,
               static_cast<unsigned>(c));
      out.Append(ph);
      continue;
    }
    char bytes[4];
    int n;
    if (c < 0x80) {
      bytes[0] = static_cast<char>(c);
      n = 1;
    } else if (c < 0x800) {
      bytes[0] = static_cast<char>(0xC0 | (c >> 6));
      bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
      n = 2;
    } else if (c < 0x10000) {
      bytes[0] = static_cast<char>(0xE0 | (c >> 12));
      bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
      n = 3;
    } else {
      bytes[0] = static_cast<char>(0xF0 | (c >> 18));
      bytes[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      bytes[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes[3] = static_cast<char>(0x80 | (c & 0x3F));
      n = 4;
    }
    AppendXml(out, bytes, static_cast<size_t>(n), false);
  }
}

// A note holding one of the PO export's comments.
void AppendNote(ByteBuilder& out, ByteBuilder& comment) {
  out.Append("\n        <note from=\"developer\">");
  AppendXml(out, reinterpret_cast<const char*>(comment.Data()), static_cast<size_t>(comment.Size()), false);
  out.Append("</note>");
}

void AppendUnit(ByteBuilder& out, TDBStringClass* s, const char* category, int language) {
  bool translated = s->HasText(language);
  out.Append("\n      <trans-unit id=\"");
  for (int pass = 0; pass < 2; ++pass) {
    out.AppendDecimal(s->GetID());
    if (!s->GetIDString().IsEmpty()) out.Append(' ');
    AppendNarrowAttribute(out, s->GetIDString());
    out.Append(pass == 0 ? "\" resname=\"" : "\"");
  }
  // A text the database has is the one the game uses: approved, so that converters do not mark
  // it for review.
  out.Append(translated ? " approved=\"yes\" xml:space=\"preserve\">" : " xml:space=\"preserve\">");
  out.Append("\n        <source>");
  AppendText(out, s->GetText(0));
  out.Append("</source>");
  if (translated) {
    out.Append("\n        <target state=\"translated\">");
    AppendText(out, s->GetText(language));
    out.Append("</target>");
  } else {
    out.Append("\n        <target state=\"needs-translation\"/>");
  }
  ByteBuilder id, group;
  if (!AppendPoIdComment(id, s) || !AppendPoCategoryComment(group, s, category)) return out.SetFailed();
  AppendNote(out, id);
  AppendNote(out, group);
  out.Append("\n      </trans-unit>");
}

}  // namespace

void WriteXliff(ByteBuilder& out, const PoExportOptions& options) {
  out.Append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" "
      "xmlns:tdb=\"urn:x-tdbtool:xliff\">\n  <file original=\"");
  AppendUncheckedAttribute(out, options.Project);
  out.Append("\" source-language=\"en\"");
  if (*options.LanguageCode) {
    out.Append(" target-language=\"");
    AppendUncheckedAttribute(out, options.LanguageCode);
    out.Append("\"");
  }
  out.Append(" datatype=\"plaintext\" tdb:language=\"");
  out.AppendDecimal(options.Language);
  out.Append("\">\n    <header>\n      <tool tool-id=\"tdbtool\" tool-name=\"");
  AppendUncheckedAttribute(out, options.Generator);
  out.Append("\"/>\n    </header>\n    <body>");
  CategoryGroupsClass groups;
  if (!groups.Build()) return out.SetFailed();
  int categories = TranslateDBClass::GetCategoryCount();
  for (int c = 0; c <= categories; ++c) {
    const char* name = c < categories ? TranslateDBClass::GetCategory(c)->Name.Chars() : nullptr;
    for (int i = 0; i < groups.Count(c) && !out.ErrorCode(); ++i)
      AppendUnit(out, groups.String(c, i), name, options.Language);
  }
  out.Append("\n    </body>\n  </file>\n</xliff>\n");
}
