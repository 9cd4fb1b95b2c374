// The commands of tdbtool over the string database, the .tdb file and the exchange formats.
#include "tdbtool/commands.h"

#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "common/file_lock.h"
#include "common/path_error.h"
#include "common/platform/disk.h"
#include "common/standard_stream.h"
#include "common/tool_report.h"
#include "common/version.h"
#include "tdb/database_check.h"
#include "tdb/database_file.h"
#include "tdb/translate_db.h"
#include "tdb/exchange/db_diff.h"
#include "tdb/exchange/db_merge.h"
#include "tdb/exchange/db_snapshot.h"
#include "tdb/exchange/file_bytes.h"
#include "tdb/exchange/header_export.h"
#include "tdb/exchange/po.h"
#include "tdb/exchange/po_import.h"
#include "tdb/exchange/po_writer.h"
#include "tdb/exchange/text_table.h"
#include "tdb/exchange/text_table_reader.h"
#include "tdb/exchange/text_table_writer.h"
#include "tdb/exchange/translation_stats.h"
#include "tdb/exchange/xliff.h"
#include "tdbtool/json_dump.h"
#include "tdbtool/line_dump.h"
#include "tdbtool/output.h"

namespace tdbtool {

namespace {

constexpr tool_cli::ReportClass kReport("tdbtool");

void WarnAll(const DynamicArrayClass<NarrowStringClass>& warnings) {
  for (int i = 0; i < warnings.Count(); ++i) kReport.Warn(warnings[i].Chars());
}

constexpr const char* kStandardInput = "standard input";

// Refuses an output that is the input file itself, which writing would destroy.
int RefuseSameFile(const std::string& in, const std::string& out) {
  if (IsStandardStream(in.c_str()) || IsStandardStream(out.c_str())) return kSuccess;
  NarrowStringClass error;
  return OutputIsNotInput(&error, in.c_str(), out.c_str()) ? kSuccess : kReport.Fail(error.Chars());
}

// Loads in; on success the database holds the file (without its texts for a command that reads
// none). Problems that do not stop the command are warnings on standard error, or, when problems
// is given, lines added to it.
int Load(const std::string& in, const LoadOptions& options, DynamicArrayClass<NarrowStringClass>* problems,
         LoadedParts parts = LoadedParts::kWhole) {
  DatabaseLoadReport report;
  NarrowStringClass error;
  if (!LoadDatabaseFile(in.c_str(), &report, &error, parts)) return kReport.Fail(error.Chars());
  if (!report.HasDatabase) return kReport.Fail(in, "the file holds no string database");
  if (report.Damaged) {
    std::string damage = std::string("the file is damaged: ") + report.Damage.Chars();
    if (!options.salvage) return kReport.Fail(in, (damage + "; --salvage reads what is left").c_str());
    kReport.Warn(in, (damage + "; reading what is left").c_str());
  }
  for (int i = 0; i < report.PassedChunks.Count(); ++i) {
    kReport.Warn(in, (std::string("passed over unknown ") + report.PassedChunks[i].Chars()).c_str());
  }
  if (report.PassedChunkCount > report.PassedChunks.Count()) {
    kReport.Warn(in, ("passed over " + std::to_string(report.PassedChunkCount - report.PassedChunks.Count()) +
                      " more unknown chunks")
                         .c_str());
  }
  for (int i = 0; i < report.IDChanges.Count(); ++i) {
    if (problems) {
      AddDoubling(*problems, report.IDChanges[i]);
    } else {
      kReport.Warn(in, report.IDChanges[i].Chars());
    }
  }
  return kSuccess;
}

// Loads a database that is to be written back in place: only a whole file whose every part the
// database keeps, so that writing it back changes nothing but what the command changes.
int LoadForRewrite(const std::string& path, platform::DiskInterface& disk = platform::SystemDisk()) {
  DatabaseLoadReport report;
  NarrowStringClass error;
  if (!LoadDatabaseFile(path.c_str(), &report, &error, LoadedParts::kWhole, kLoadPieceBytes, disk)) {
    return kReport.Fail(error.Chars());
  }
  if (!report.HasDatabase) return kReport.Fail(path, "the file holds no string database");
  std::string reason;
  if (report.Damaged) {
    reason = std::string("the file is damaged: ") + report.Damage.Chars();
  } else if (report.PassedChunkCount > 0) {
    reason = "the file holds chunks that this tdbtool does not know";
    if (report.PassedChunks.Count() > 0) reason += std::string(" (") + report.PassedChunks[0].Chars() + ")";
    reason += ", which writing it back would drop";
  } else if (report.IDChanges.Count() > 0) {
    reason =
        std::string(report.IDChanges[0].Chars()) + "; writing it back would renumber strings (see check)";
  } else {
    return kSuccess;
  }
  return kReport.Fail(path, (reason + "; the file is left as it is").c_str());
}

}  // namespace

bool IsLanguageCode(const std::string& code) {
  for (char c : code) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
              c == '-' || c == '@' || c == '.';
    if (!ok) return false;
  }
  return true;
}

int NewDatabase(const std::string& out) {
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::SetVersion(0);
  TranslateDBClass::SetCurrentLanguage(0);
  if (!TranslateDBClass::AddCategoryNamed("Default")) return kReport.Fail(out, platform::ErrorNoMemory());
  NarrowStringClass error;
  if (!SaveOutput(out, &error)) return kReport.Fail(error.Chars());
  return kSuccess;
}

int Dump(const std::string& in, const LoadOptions& options, std::FILE* output) {
  if (int code = Load(in, options, nullptr)) return code;
  if (!WriteDatabaseJson(output)) return kReport.FailStandardOutput();
  return kSuccess;
}

int DumpLines(const std::string& in, const LoadOptions& options, std::FILE* output) {
  if (int code = Load(in, options, nullptr)) return code;
  if (!WriteDatabaseLines(output))
    return std::ferror(output) ? kReport.FailStandardOutput()
                               : kReport.Fail("standard output", platform::ErrorNoMemory());
  return kSuccess;
}

namespace {

// Loads path as a snapshot: for a diff as dump reads it, for a merge (whose result replaces a
// file) only a database that can be written back whole.
int LoadSnapshot(const std::string& path, const LoadOptions* options, DatabaseSnapshot& snapshot) {
  if (int code = options ? Load(path, *options, nullptr) : LoadForRewrite(path)) return code;
  return TakeSnapshot(snapshot) ? kSuccess : kReport.Fail(path, platform::ErrorNoMemory());
}

}  // namespace

int Diff(const std::string& a, const std::string& b, const LoadOptions& options, bool json,
         std::FILE* output) {
  DatabaseSnapshot old_db, new_db;
  if (LoadSnapshot(a, &options, old_db) || LoadSnapshot(b, &options, new_db)) return kTrouble;
  std::vector<DbChange> changes = DiffDatabases(old_db, new_db);
  if (!json) {
    for (const DbChange& change : changes) std::fprintf(output, "%s\n", ChangeLine(change).c_str());
    return kReport.FinishOutput(output, changes.empty() ? kSuccess : kDifferent, kTrouble);
  }
  using Json = nlohmann::ordered_json;
  Json list = Json::array();
  for (const DbChange& c : changes) {
    Json item{{"subject", c.Subject}};
    if (c.Subject == "category" || c.Subject == "string") item["id"] = c.ID, item["name"] = c.Name;
    if (!c.Field.empty()) item["field"] = c.Field;
    if (c.Language >= 0) item["language"] = c.Language;
    item["change"] = c.What == DbChange::kAdded     ? "added"
                     : c.What == DbChange::kRemoved ? "removed"
                                                    : "changed";
    auto value = [&](const char* key, const std::string& text) {
      item[key] = c.Numeric ? Json(std::stoll(text)) : Json(text);
    };
    if (c.What != DbChange::kAdded) value("old", c.Old);
    if (c.What != DbChange::kRemoved) value("new", c.New);
    list.push_back(std::move(item));
  }
  std::string text =
      Json{{"equal", changes.empty()}, {"changes", list}}.dump(1, ' ', false, Json::error_handler_t::replace);
  std::fprintf(output, "%s\n", text.c_str());
  return kReport.FinishOutput(output, changes.empty() ? kSuccess : kDifferent, kTrouble);
}

int Merge(const std::string& base, const std::string& ours, const std::string& theirs, const std::string& out,
          std::FILE* output) {
  // The result may replace our side (git's merge driver asks for that): what the merge takes
  // from it is in the result. Replacing the base would lose it; replacing their side is refused
  // below when a conflict kept ours in place of theirs.
  if (RefuseSameFile(base, out)) return kTrouble;
  NarrowStringClass same_as_theirs;
  bool out_is_theirs = !IsStandardStream(out.c_str()) && !IsStandardStream(theirs.c_str()) &&
                       !OutputIsNotInput(&same_as_theirs, theirs.c_str(), out.c_str());
  // Held until the result is in place, as import-po holds it.
  FileLockClass lock;
  NarrowStringClass error;
  if (!IsStandardStream(out.c_str()) && !lock.AcquireIfFile(out.c_str(), &error)) {
    kReport.Fail(error.Chars());
    return kTrouble;
  }
  DatabaseSnapshot base_db, ours_db, theirs_db;
  if (LoadSnapshot(base, nullptr, base_db) || LoadSnapshot(ours, nullptr, ours_db) ||
      LoadSnapshot(theirs, nullptr, theirs_db)) {
    return kTrouble;
  }
  MergeOutcome merge = MergeDatabases(base_db, ours_db, theirs_db);
  if (out_is_theirs && !merge.Conflicts.empty()) {
    kReport.Fail(out, "is their side, whose conflicting changes the result would lose; nothing was written");
    return kTrouble;
  }
  if (!RestoreSnapshot(merge.Merged)) {
    kReport.Fail(out, platform::ErrorNoMemory());
    return kTrouble;
  }
  if (!SaveOutput(out, &error, &lock)) {
    kReport.Fail(error.Chars());
    return kTrouble;
  }
  // A database written to standard output leaves the conflicts to standard error.
  if (IsStandardStream(out.c_str())) output = stderr;
  for (const std::string& line : merge.Conflicts) std::fprintf(output, "conflict: %s\n", line.c_str());
  if (merge.Conflicts.empty()) return kReport.FinishOutput(output, kSuccess, kTrouble);
  kReport.Fail(out,
               (std::to_string(merge.Conflicts.size()) +
                (merge.Conflicts.size() == 1 ? " conflict" : " conflicts") + "; our side is kept for each")
                   .c_str());
  return kReport.FinishOutput(output, kConflicts, kTrouble);
}

int ExportHeader(const std::string& in, const std::string& out, const LoadOptions& options) {
  if (int code = RefuseSameFile(in, out)) return code;
  if (int code = Load(in, options, nullptr, LoadedParts::kWithoutTexts)) return code;
  ByteBuilder bytes;
  WriteCHeader(bytes);
  NarrowStringClass error;
  if (!WriteOutput(out, bytes, &error)) return kReport.Fail(error.Chars());
  return kSuccess;
}

int ExportTable(const std::string& in, const std::string& out, const LoadOptions& options) {
  if (int code = RefuseSameFile(in, out)) return code;
  if (int code = Load(in, options, nullptr)) return code;
  NarrowStringClass error;
  // A file is written through as it is made; standard output takes the whole table at once.
  if (!IsStandardStream(out.c_str()))
    return ExportTextTable(out.c_str(), &error) ? kSuccess : kReport.Fail(error.Chars());
  ByteBuilder bytes;
  WriteTextTable(bytes);
  if (!WriteOutput(out, bytes, &error)) return kReport.Fail(error.Chars());
  return kSuccess;
}

int ImportTable(const std::string& in, const std::string& out) {
  if (int code = RefuseSameFile(in, out)) return code;
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::ClearIDChanges();
  DynamicArrayClass<NarrowStringClass> warnings;
  NarrowStringClass error;
  if (IsStandardStream(in.c_str())) {
    std::string bytes;
    if (!ReadStandardInput(bytes, &error)) return kReport.Fail(error.Chars());
    if (!ReadTextTable(bytes.data(), bytes.size(), kStandardInput, &warnings)) {
      return kReport.Fail(kStandardInput, platform::ErrorNoMemory());
    }
  } else if (!ImportTextTable(in.c_str(), &warnings, &error)) {
    return kReport.Fail(error.Chars());
  }
  // Each warning starts with the file name and line number. A file of which no line is a category
  // line (an empty one, a database, a UTF-16 or binary file) is no table: it gives no empty database.
  if (TranslateDBClass::GetCategoryCount() == 0) {
    if (warnings.Count() > 0) kReport.Warn(warnings[0].Chars());
    return kReport.Fail(IsStandardStream(in.c_str()) ? kStandardInput : in,
                        "holds no text table (no category line); nothing was written");
  }
  WarnAll(warnings);
  if (!SaveOutput(out, &error)) return kReport.Fail(error.Chars());
  return kSuccess;
}

namespace {

using TranslationWriter = void (*)(ByteBuilder&, const PoExportOptions&);
using TranslationReader = bool (*)(const char*, size_t, const char*, const PoImportOptions&, PoImportReport*,
                                   DynamicArrayClass<NarrowStringClass>*, NarrowStringClass*);

// export-po and export-xliff: one language of in, written by write.
int ExportTranslations(const std::string& in, const std::string& out, int language, const std::string& code,
                       const LoadOptions& options, TranslationWriter write) {
  if (!IsLanguageCode(code)) {
    return kReport.Fail(
        ("--language-code " + code + ": only letters, digits and _ - @ . may stand in a language code")
            .c_str());
  }
  if (int exit_code = RefuseSameFile(in, out)) return exit_code;
  if (int exit_code = Load(in, options, nullptr)) return exit_code;
  std::string project = std::filesystem::path(in).filename().string();
  PoExportOptions po;
  po.Language = language;
  po.LanguageCode = code.c_str();
  po.Project = project.c_str();
  po.Generator = "tdbtool " TX_VERSION;
  struct Fill {
    TranslationWriter write;
    const PoExportOptions* options;
  } fill{write, &po};
  NarrowStringClass error;
  if (!IsStandardStream(out.c_str())) {
    auto through = [](ByteBuilder& bytes, const void* context) {
      const Fill* f = static_cast<const Fill*>(context);
      f->write(bytes, *f->options);
    };
    return ByteBuilder::WriteThrough(out.c_str(), &error, through, &fill) ? kSuccess
                                                                          : kReport.Fail(error.Chars());
  }
  ByteBuilder bytes;
  write(bytes, po);
  if (!WriteOutput(out, bytes, &error)) return kReport.Fail(error.Chars());
  return kSuccess;
}

// import-po and import-xliff: the translations of in, read by read, into db in place, through disk.
int ImportTranslations(const std::string& db, const std::string& in, const PoImportOptions& options,
                       std::FILE* output, TranslationReader read, platform::DiskInterface& disk) {
  if (int code = RefuseSameFile(in, db)) return code;
  // Held until the new database is in place, so that two imports into one database at once do
  // not lose one of them.
  FileLockClass lock(disk);
  NarrowStringClass error;
  // What is no regular file is refused by the load.
  if (!lock.AcquireIfFile(db.c_str(), &error)) return kReport.Fail(error.Chars());
  if (int code = LoadForRewrite(db, disk)) return code;
  PoImportReport report;
  DynamicArrayClass<NarrowStringClass> warnings;
  bool ok;
  const char* name = in.c_str();
  if (IsStandardStream(name)) {
    name = kStandardInput;
    std::string bytes;
    ok = ReadStandardInput(bytes, &error) &&
         read(bytes.data(), bytes.size(), name, options, &report, &warnings, &error);
  } else {
    FileContent content;
    ok = content.Read(name, &error, disk) &&
         read(content.Data(), content.Size(), name, options, &report, &warnings, &error);
  }
  WarnAll(warnings);
  if (!ok) return kReport.Fail(error.Chars());
  // Nothing to write leaves the file as it is, its time included.
  if (report.Applied > 0 && !SaveDatabaseFile(db.c_str(), &error, &lock, disk))
    return kReport.Fail(error.Chars());
  std::fprintf(output, "%s: %d applied, %d unchanged, %d skipped", name, report.Applied, report.Unchanged,
               report.Skipped);
  if (report.Fuzzy > 0) std::fprintf(output, " (%d fuzzy; --fuzzy applies them)", report.Fuzzy);
  std::fprintf(output, "\n");
  return kReport.FinishOutput(output, kSuccess);
}

}  // namespace

int ExportPo(const std::string& in, const std::string& out, int language, const std::string& code,
             const LoadOptions& options) {
  return ExportTranslations(in, out, language, code, options, WritePo);
}

int ExportXliff(const std::string& in, const std::string& out, int language, const std::string& code,
                const LoadOptions& options) {
  return ExportTranslations(in, out, language, code, options, WriteXliff);
}

int ImportPo(const std::string& db, const std::string& po, const PoImportOptions& options, std::FILE* output,
             platform::DiskInterface& disk) {
  return ImportTranslations(db, po, options, output, ApplyPo, disk);
}

int ImportXliff(const std::string& db, const std::string& xliff, const PoImportOptions& options,
                std::FILE* output) {
  return ImportTranslations(db, xliff, options, output, ApplyXliff, platform::SystemDisk());
}

int Check(const std::string& in, const LoadOptions& options, std::FILE* output) {
  DynamicArrayClass<NarrowStringClass> problems;
  if (int code = Load(in, options, &problems, LoadedParts::kWithoutTexts)) return code;
  ListDatabaseProblems(&problems);
  for (int i = 0; i < problems.Count(); ++i) std::fprintf(output, "%s\n", problems[i].Chars());
  return kReport.FinishOutput(output, problems.Count() > 0 ? kProblems : kSuccess);
}

namespace {

using Json = nlohmann::ordered_json;

bool PutJson(std::FILE* output, const Json& value) {
  std::string text = value.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
  return std::fwrite(text.data(), 1, text.size(), output) == text.size();
}

class FaultLister : public TranslationFaultHandler {
 public:
  FaultLister(bool json_in, std::FILE* output_in) : json(json_in), output(output_in) {}
  void OnFault(TDBStringClass* s, int language, TranslationFault fault) override {
    if (!json) {
      std::fprintf(output, "%slanguage %d: %s\n", StringProblemStart(s).Chars(), language,
                   TranslationFaultText(fault));
      return;
    }
    std::string english, text;
    Utf8(s->GetText(0), english);
    if (s->HasText(language)) Utf8(s->GetText(language), text);
    problems.push_back({{"id", s->GetID()},
                        {"idString", WidenBytes(s->GetIDString())},
                        {"language", language},
                        {"problem", TranslationFaultName(fault)},
                        {"message", TranslationFaultText(fault)},
                        {"english", english},
                        {"text", text}});
  }
  Json problems = Json::array();

 private:
  bool json;
  std::FILE* output;
};

}  // namespace

int CheckTranslationsOf(const std::string& in, const LoadOptions& options,
                        const TranslationCheckOptions& check, bool json, std::FILE* output) {
  if (int code = Load(in, options, nullptr)) return code;
  FaultLister lister(json, output);
  int faults = CheckTranslations(check, lister);
  if (json && !PutJson(output, Json{{"problems", lister.problems}})) {
    return kReport.FailStandardOutput();
  }
  return kReport.FinishOutput(output, faults > 0 ? kProblems : kSuccess);
}

int Stats(const std::string& in, const LoadOptions& options, bool json, std::FILE* output) {
  if (int code = Load(in, options, nullptr)) return code;
  int strings = CountedStrings();
  int highest = HighestLanguage();
  Json languages = Json::array();
  if (!json) std::fprintf(output, "%d strings with an English text\n", strings);
  for (int language = 1; language <= highest; ++language) {
    LanguageStats stats = TranslationStats(language);
    if (json) {
      languages.push_back({{"language", language},
                           {"translated", stats.Translated},
                           {"sameAsEnglish", stats.SameAsEnglish},
                           {"empty", stats.Empty},
                           {"wordsToTranslate", stats.Words}});
    } else {
      std::fprintf(
          output,
          "language %d: %d translated, %d the same as English, %d empty; %lld English words to translate\n",
          language, stats.Translated, stats.SameAsEnglish, stats.Empty, stats.Words);
    }
  }
  if (json && !PutJson(output, Json{{"strings", strings}, {"languages", languages}})) {
    return kReport.FailStandardOutput();
  }
  return kReport.FinishOutput(output, kSuccess);
}

}  // namespace tdbtool
