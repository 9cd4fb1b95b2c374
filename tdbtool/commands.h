// The commands of tdbtool, each over the one string database of the process. Every command
// returns the program's exit code: 0 success, 1 problems found (check) or a failure, after
// writing a message that names the file and the reason to standard error. An output named "-"
// is standard output; import-table's table and import-po's PO file named "-" are read from
// standard input.
#pragma once

#include <cstdio>
#include <string>

#include "tdb/exchange/po.h"
#include "tdb/exchange/translation_check.h"

namespace tdbtool {

// diff and merge end as diff does: 1 for a difference or a conflict, 2 for trouble.
enum ExitCode { kSuccess = 0, kProblems = 1, kFailure = 1, kDifferent = 1, kConflicts = 1, kTrouble = 2 };

struct LoadOptions {
  // Read what is left of a damaged file instead of refusing it.
  bool salvage = false;
};

// A language code for the PO header: letters, digits and _ - @ . only.
bool IsLanguageCode(const std::string& code);

int NewDatabase(const std::string& out);
int Dump(const std::string& in, const LoadOptions& options, std::FILE* output);
// The database one field a line (dump --lines).
int DumpLines(const std::string& in, const LoadOptions& options, std::FILE* output);
// Lists what changed from a to b, one change a line or as one JSON object; kDifferent when any.
int Diff(const std::string& a, const std::string& b, const LoadOptions& options, bool json,
         std::FILE* output);
// Three-way merge into out (which may be ours); conflicts are listed on output (standard error
// when out is standard output), kConflicts.
int Merge(const std::string& base, const std::string& ours, const std::string& theirs, const std::string& out,
          std::FILE* output);
int ExportHeader(const std::string& in, const std::string& out, const LoadOptions& options);
int ExportTable(const std::string& in, const std::string& out, const LoadOptions& options);
int ImportTable(const std::string& in, const std::string& out);
// language 0 writes the template; code (may be empty) fills the Language header field.
int ExportPo(const std::string& in, const std::string& out, int language, const std::string& code,
             const LoadOptions& options);
// Writes the translations of po into db, in place, through disk; the counts go to output.
int ImportPo(const std::string& db, const std::string& po, const PoImportOptions& options, std::FILE* output,
             platform::DiskInterface& disk = platform::SystemDisk());
// Language language (1 or higher) as an XLIFF 1.2 file; code (may be empty) is its target-language.
int ExportXliff(const std::string& in, const std::string& out, int language, const std::string& code,
                const LoadOptions& options);
// Writes the targets of xliff into db, in place, as ImportPo does.
int ImportXliff(const std::string& db, const std::string& xliff, const PoImportOptions& options,
                std::FILE* output);
int Check(const std::string& in, const LoadOptions& options, std::FILE* output);
// Lists the faults of the translations, one a line or, with json, as one JSON object.
int CheckTranslationsOf(const std::string& in, const LoadOptions& options,
                        const TranslationCheckOptions& check, bool json, std::FILE* output);
// Prints per language how many strings are translated, the same as English or empty.
int Stats(const std::string& in, const LoadOptions& options, bool json, std::FILE* output);

}  // namespace tdbtool
