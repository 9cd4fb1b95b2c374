// Applying a PO file to one language of the database. The file is read twice: a check pass
// decides for every entry whether it applies, reports what is skipped and refuses a malformed
// file; only when it succeeds does the apply pass write the texts. The database is therefore
// untouched by a file that is refused anywhere, even after its last entry.
#include "tdb/exchange/po_import.h"

#include <cstdio>
#include <string>

#include "common/path_error.h"
#include "tdb/exchange/file_bytes.h"
#include "tdb/exchange/language_guard.h"
#include "tdb/exchange/po_reader.h"
#include "tdb/exchange/translation_import.h"
#include "tdb/exchange/warning_list.h"

namespace {

class PoImporter : public PoEntryHandler {
 public:
  PoImporter(const PoImportOptions& options_in, WarningListClass* warnings, bool apply_in)
      : options(options_in), importer(options_in, warnings, apply_in), apply(apply_in) {}

  bool OnEntry(const PoEntry& e, NarrowStringClass& reason) override {
    if (e.IsHeader) return apply || CheckPoHeaderLanguage(e.Str, e.StrLength, options, reason);
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
              DynamicArrayClass<NarrowStringClass>* warnings, NarrowStringClass* error,
              platform::DiskInterface& disk) {
  FileContent content;
  if (!content.Read(path, error, disk)) return false;
  return ApplyPo(content.Data(), content.Size(), path, options, report, warnings, error);
}
