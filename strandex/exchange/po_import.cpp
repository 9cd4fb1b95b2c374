// Applying a PO file to one language of the database. The file is read twice: a check pass
// decides for every entry whether it applies, reports what is skipped and refuses a malformed
// file; only when it succeeds does the apply pass write the texts. The database is therefore
// untouched by a file that is refused anywhere, even after its last entry.
#include "strandex/exchange/po_import.h"

#include <cstdio>
#include <string>

#include "common/path_error.h"
#include "strandex/exchange/file_bytes.h"
#include "strandex/exchange/language_guard.h"
#include "strandex/exchange/po_reader.h"
#include "strandex/exchange/translation_import.h"
#include "strandex/exchange/warning_list.h"

namespace {

class PoImporter : public PoEntryHandler {
 public:
  PoImporter(const PoImportOptions& options_in, WarningListClass* warnings, bool apply_in)
      : options(options_in), importer(options_in, warnings, apply_in), apply(apply_in) {}

  bool OnEntry(const PoEntry& e, NarrowStringClass& reason) override {
    if (e.IsHeader) return apply || CheckHeader(e, reason);
    if (e.Plural) {
      importer.Skip(e.Line, "a plural entry (msgid_plural); the database has no plural forms");
      return true;
    }
    TranslationEntry entry;
    entry.Line = e.Line;
    if (e.HasContext) {
      entry.Key = e.Context;
      entry.KeyLength = e.ContextLength;
    }
    entry.KeyName = "msgctxt";
    entry.Comments = e.Extracted;
    entry.CommentsSize = e.ExtractedSize;
    entry.CommentName = "\"#. ID\" comment";
    entry.Unkeyed = "an entry without msgctxt and without an \"#. ID\" comment names no string";
    entry.Source = e.Id;
    entry.SourceLength = e.IdLength;
    entry.Target = e.Str;
    entry.TargetLength = e.StrLength;
    entry.Fuzzy = e.Fuzzy;
    return importer.Entry(entry, reason);
  }

  const PoImportReport& Report() const { return importer.report; }

 private:
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

  const PoImportOptions& options;
  TranslationImporterClass importer;
  bool apply;
};

}  // namespace

bool ApplyPo(const char* bytes, size_t size, const char* name, const PoImportOptions& options,
             PoImportReport* report, DynamicArrayClass<NarrowStringClass>* warnings,
             NarrowStringClass* error) {
  if (!CheckImportLanguage(options, name, error)) return false;
  WarningListClass list(name, warnings);
  PoImporter check(options, &list, false);
  if (!ReadPo(bytes, size, name, check, error)) return false;
  list.Finish();
  if (!CheckStrictImport(check.Report(), options, name, error)) return false;
  if (check.Report().Applied > 0) {
    PoImporter writer(options, nullptr, true);
    if (!ReadPo(bytes, size, name, writer, error)) return false;
  }
  if (report) *report = check.Report();
  return true;
}

bool ImportPo(const char* path, const PoImportOptions& options, PoImportReport* report,
              DynamicArrayClass<NarrowStringClass>* warnings, NarrowStringClass* error) {
  FileContent content;
  if (!content.Read(path, error)) return false;
  return ApplyPo(content.Data(), content.Size(), path, options, report, warnings, error);
}
