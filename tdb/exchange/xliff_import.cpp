// Applying an XLIFF file to one language of the database. The file is read whole into its units
// first, so a file that is refused anywhere leaves the database untouched; then a check pass
// and an apply pass go over the units as the PO import goes over its entries.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/path_error.h"
#include "common/utf8.h"
#include "tdb/exchange/language_guard.h"
#include "tdb/exchange/translation_import.h"
#include "tdb/exchange/xliff.h"
#include "tdb/exchange/xml_reader.h"

namespace {

const char kXliff12[] = "urn:oasis:names:tc:xliff:document:1.2";
const char kXliff11[] = "urn:oasis:names:tc:xliff:document:1.1";
const char kTdb[] = "urn:x-tdbtool:xliff";

struct Unit {
  int Line = 0;
  std::u16string Key, Source, Target;
  const char* KeyName = nullptr;  // null: no key
  std::string Notes;              // the notes, one a line
  bool Fuzzy = false;
  // An inline element this database cannot hold (a formatting code), with its name.
  std::string Inline;
};

std::u16string Wide(const std::string& utf8) {
  UnicodeStringClass wide;
  if (!Utf8ToWide(utf8.c_str(), static_cast<int>(utf8.size()), wide)) return std::u16string();
  return std::u16string(wide.Chars(), static_cast<size_t>(wide.Length()));
}

// Whether a line of notes starts as the export's "ID" note does.
bool HasIdLine(const std::string& notes) {
  for (size_t at = 0; at < notes.size(); at = notes.find('\n', at) + 1) {
    if (notes.compare(at, 3, "ID ") == 0 && at + 3 < notes.size() && notes[at + 3] >= '0' &&
        notes[at + 3] <= '9')
      return true;
    if (notes.find('\n', at) == std::string::npos) break;
  }
  return false;
}

// The states in which a target still waits for translation or review.
bool IsPending(const std::string& state) { return state == "new" || state.rfind("needs-", 0) == 0; }

class XliffParser {
 public:
  XliffParser(const char* bytes, size_t size, const char* name_in, const PoImportOptions& options_in,
              NarrowStringClass* error_in)
      : xml(bytes, size), name(name_in), options(options_in), error(error_in) {}

  // Reads every unit; false with the error set when the file is refused.
  bool Run() {
    XmlReaderClass::Node node = xml.Next();
    while (node == XmlReaderClass::Node::kText) node = xml.Next();
    if (node == XmlReaderClass::Node::kError) return Malformed();
    if (node != XmlReaderClass::Node::kStart) return Fail(xml.Line, "no XLIFF: the file holds no element");
    if (xml.Name != "xliff" ||
        (xml.Namespace != kXliff12 && xml.Namespace != kXliff11 && !xml.Namespace.empty())) {
      if (xml.Name == "xliff") {
        return Fail(xml.Line,
                    "an XLIFF version this tdbtool does not read (%.80s); it reads XLIFF 1.2 and 1.1",
                    xml.Namespace.c_str());
      }
      return Fail(xml.Line, "no XLIFF: the root element is <%.80s>", xml.Name.c_str());
    }
    ns = xml.Namespace;
    return Element();
  }

  std::vector<Unit> units;

 private:
  bool Fail(int line, const char* format, ...) __attribute__((format(printf, 3, 4))) {
    if (error) {
      va_list args;
      va_start(args, format);
      FormatAtLine(*error, name, line, format, args);
      va_end(args);
    }
    return false;
  }
  bool Malformed() {
    // A DOCTYPE is well-formed, but refused all the same.
    bool doctype = xml.Error.rfind("a DOCTYPE", 0) == 0;
    return Fail(xml.Line, "%s%.200s", doctype ? "" : "not well-formed XML: ", xml.Error.c_str());
  }
  bool Is(const char* element) const { return xml.Namespace == ns && xml.Name == element; }

  // Reads the content of the element just started, up to its end: the language of each file and
  // every trans-unit; suggestions (alt-trans) and binary units are passed over.
  bool Element() {
    for (;;) {
      XmlReaderClass::Node node = xml.Next();
      switch (node) {
        case XmlReaderClass::Node::kError:
          return Malformed();
        case XmlReaderClass::Node::kDone:
          return Fail(xml.Line, "the file ends inside an element");
        case XmlReaderClass::Node::kEnd:
          return true;
        case XmlReaderClass::Node::kText:
          break;
        case XmlReaderClass::Node::kStart:
          if (Is("file") && !File()) return false;
          if (Is("trans-unit")) {
            if (!TransUnit()) return false;
          } else if (Is("alt-trans") || Is("bin-unit") || Is("seg-source")) {
            // Suggestions, binary units and segmented sources hold no translation of ours.
            if (!Skip()) return false;
          } else if (!Element()) {
            return false;
          }
          break;
      }
    }
  }

  // Passes over the content of the element just started.
  bool Skip() {
    for (int depth = 1; depth > 0;) {
      XmlReaderClass::Node node = xml.Next();
      if (node == XmlReaderClass::Node::kError) return Malformed();
      if (node == XmlReaderClass::Node::kDone) return Fail(xml.Line, "the file ends inside an element");
      depth += node == XmlReaderClass::Node::kStart ? 1 : node == XmlReaderClass::Node::kEnd ? -1 : 0;
    }
    return true;
  }

  // The language guard of a <file>: tdb:language and target-language.
  bool File() {
    FileLanguage language;
    language.IndexField = "tdb:language";
    language.CodeField = "target-language";
    std::string index, code;
    if (const std::string* value = xml.Find("language", kTdb)) language.Index = (index = *value).c_str();
    if (const std::string* value = xml.Find("target-language")) {
      for (char c : *value) code += c > 0x20 && c < 0x7F ? c : '?';
      language.Code = code.c_str();
    }
    NarrowStringClass reason;
    if (CheckFileLanguage(language, options, reason)) return true;
    return Fail(xml.Line, "%s", reason.IsEmpty() ? "out of memory" : reason.Chars());
  }

  bool TransUnit() {
    Unit unit;
    unit.Line = xml.Line;
    // The header of a PO file that a converter made this file from: its language is checked.
    const std::string* restype = xml.Find("restype");
    bool po_header = restype && *restype == "x-gettext-domain-header";
    std::string resname, id;
    bool has_resname = false, has_id = false;
    if (const std::string* value = xml.Find("resname")) has_resname = true, resname = *value;
    if (const std::string* value = xml.Find("id")) has_id = true, id = *value;
    std::string context;
    bool has_context = false;
    // Inside context-groups: their contexts are read as the unit's own.
    for (int groups = 0;;) {
      XmlReaderClass::Node node = xml.Next();
      if (node == XmlReaderClass::Node::kError) return Malformed();
      if (node == XmlReaderClass::Node::kDone) return Fail(xml.Line, "the file ends inside a trans-unit");
      if (node == XmlReaderClass::Node::kEnd && groups-- == 0) break;
      if (node != XmlReaderClass::Node::kStart) continue;
      if (Is("source")) {
        if (!Segment(unit, unit.Source)) return false;
      } else if (Is("target")) {
        const std::string* state = xml.Find("state");
        bool pending = state && IsPending(*state);
        if (!Segment(unit, unit.Target)) return false;
        // An empty target is no translation, whatever its state.
        unit.Fuzzy = pending && !unit.Target.empty();
      } else if (Is("note")) {
        std::string note;
        if (!PlainText(note)) return false;
        if (!unit.Notes.empty()) unit.Notes += '\n';
        unit.Notes += note;
      } else if (Is("context")) {
        const std::string* type = xml.Find("context-type");
        bool msgctxt = type && *type == "x-gettext-msgctxt";
        std::string text;
        if (!PlainText(text)) return false;
        if (msgctxt) has_context = true, context = text;
      } else if (Is("context-group")) {
        ++groups;
      } else if (!Skip()) {
        return false;
      }
    }
    if (po_header) {
      NarrowStringClass reason;
      if (CheckPoHeaderLanguage(unit.Source.c_str(), static_cast<int>(unit.Source.size()), options, reason))
        return true;
      return Fail(unit.Line, "%s", reason.IsEmpty() ? "out of memory" : reason.Chars());
    }
    // The key as the export writes it, or as converters carry the PO key; a unit without one is
    // found by the export's "ID" note; id last, for tools that keep nothing else.
    if (has_resname) {
      unit.Key = Wide(resname), unit.KeyName = "resname";
    } else if (has_context) {
      unit.Key = Wide(context), unit.KeyName = "the msgctxt context";
    } else if (!HasIdLine(unit.Notes) && has_id) {
      unit.Key = Wide(id), unit.KeyName = "id";
    }
    units.push_back(std::move(unit));
    return true;
  }

  // The text of a source or target: text, the text inside <g> and <mrk>, and the characters of
  // the export's placeholders; any other inline element marks the unit.
  bool Segment(Unit& unit, std::u16string& out) {
    std::string text;
    for (int depth = 1; depth > 0;) {
      XmlReaderClass::Node node = xml.Next();
      if (node == XmlReaderClass::Node::kError) return Malformed();
      if (node == XmlReaderClass::Node::kDone) return Fail(xml.Line, "the file ends inside a text");
      if (node == XmlReaderClass::Node::kText) {
        text += xml.Text;
      } else if (node == XmlReaderClass::Node::kEnd) {
        --depth;
      } else if (Is("g") || Is("mrk")) {
        ++depth;
      } else {
        const std::string* ctype = xml.Find("ctype");
        std::string code;
        if (Is("ph") && ctype && *ctype == "x-tdb-char") {
          if (!PlainText(code)) return false;
          unsigned value = 0;
          if (code.size() < 6 || code.size() > 8 || code.compare(0, 2, "U+") != 0 ||
              sscanf(code.c_str() + 2, "%x", &value) != 1 || value == 0 || value > 0xFFFF) {
            return Fail(xml.Line, "a placeholder of a character that is not U+0001 to U+FFFF");
          }
          out += Wide(text);
          text.clear();
          out += static_cast<char16_t>(value);
        } else {
          if (unit.Inline.empty()) unit.Inline = xml.Name;
          if (!Skip()) return false;
        }
      }
    }
    out += Wide(text);
    return true;
  }

  // The text of an element without inner elements (those are passed over).
  bool PlainText(std::string& out) {
    for (;;) {
      XmlReaderClass::Node node = xml.Next();
      if (node == XmlReaderClass::Node::kError) return Malformed();
      if (node == XmlReaderClass::Node::kDone) return Fail(xml.Line, "the file ends inside an element");
      if (node == XmlReaderClass::Node::kEnd) return true;
      if (node == XmlReaderClass::Node::kText) out += xml.Text;
      if (node == XmlReaderClass::Node::kStart && !Skip()) return false;
    }
  }

  XmlReaderClass xml;
  const char* name;
  const PoImportOptions& options;
  NarrowStringClass* error;
  std::string ns;
};

// One pass over the units; false when the file is refused or memory ran out.
bool Pass(const std::vector<Unit>& units, TranslationImporterClass& importer, const char* name,
          NarrowStringClass* error) {
  for (const Unit& unit : units) {
    if (!unit.Inline.empty()) {
      std::string why = "a trans-unit with an inline code <" + unit.Inline.substr(0, 40) +
                        ">, which the database's plain texts cannot hold";
      importer.Skip(unit.Line, why.c_str());
      continue;
    }
    TranslationEntry entry;
    entry.Line = unit.Line;
    if (unit.KeyName) {
      entry.Key = unit.Key.c_str();
      entry.KeyLength = static_cast<int>(unit.Key.size());
      entry.KeyName = unit.KeyName;
    }
    entry.Comments = unit.Notes.c_str();
    entry.CommentsSize = unit.Notes.size();
    entry.CommentName = "\"ID\" note";
    entry.Unkeyed = "a trans-unit without resname, id or \"ID\" note names no string";
    entry.Source = unit.Source.c_str();
    entry.SourceLength = static_cast<int>(unit.Source.size());
    entry.Target = unit.Target.c_str();
    entry.TargetLength = static_cast<int>(unit.Target.size());
    entry.Fuzzy = unit.Fuzzy;
    NarrowStringClass reason;
    if (importer.Entry(entry, reason)) continue;
    if (reason.IsEmpty()) return FailPath(error, name, "out of memory");
    char line[32];
    snprintf(line, sizeof line, ":%d", unit.Line);
    return FailPath(error, (std::string(name) + line).c_str(), reason.Chars());
  }
  return true;
}

}  // namespace

bool ApplyXliff(const char* bytes, size_t size, const char* name, const PoImportOptions& options,
                PoImportReport* report, DynamicArrayClass<NarrowStringClass>* warnings,
                NarrowStringClass* error) {
  if (!CheckImportLanguage(options, name, error)) return false;
  XliffParser parser(bytes, size, name, options, error);
  if (!parser.Run()) return false;
  WarningListClass list(name, warnings);
  TranslationImporterClass check(options, &list, false);
  if (!Pass(parser.units, check, name, error)) return false;
  list.Finish();
  if (!CheckStrictImport(check.report, options, name, error)) return false;
  if (check.report.Applied > 0) {
    TranslationImporterClass writer(options, nullptr, true);
    if (!Pass(parser.units, writer, name, error)) return false;
  }
  if (report) *report = check.report;
  return true;
}
