// The commands of tdbtool over the string database, the .tdb file and the exchange formats.
#include "tdbtool/commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/file_lock.h"
#include "common/path_error.h"
#include "common/platform/disk.h"
#include "common/standard_stream.h"
#include "common/version.h"
#include "strandex/db/database_check.h"
#include "strandex/db/database_file.h"
#include "strandex/db/translate_db.h"
#include "strandex/exchange/header_export.h"
#include "strandex/exchange/po.h"
#include "strandex/exchange/po_import.h"
#include "strandex/exchange/po_writer.h"
#include "strandex/exchange/text_table.h"
#include "strandex/exchange/text_table_reader.h"
#include "strandex/exchange/text_table_writer.h"
#include "tdbtool/json_dump.h"
#include "tdbtool/output.h"

namespace tdbtool {

namespace {

int Fail(const char* message) {
  std::fprintf(stderr, "tdbtool: %s\n", message);
  return kFailure;
}

int Fail(const std::string& path, const char* reason) {
  return Fail(PathError(path.c_str(), reason).Chars());
}

void Warn(const char* message) { std::fprintf(stderr, "tdbtool: warning: %s\n", message); }

void Warn(const std::string& path, const char* message) { Warn((path + ": " + message).c_str()); }

void WarnAll(const DynamicArrayClass<NarrowStringClass>& warnings) {
  for (int i = 0; i < warnings.Count(); ++i) Warn(warnings[i].Chars());
}

constexpr const char* kStandardInput = "standard input";

// Refuses an output that is the input file itself, which writing would destroy.
int RefuseSameFile(const std::string& in, const std::string& out) {
  if (IsStandardStream(in.c_str()) || IsStandardStream(out.c_str())) return kSuccess;
  NarrowStringClass error;
  return OutputIsNotInput(&error, in.c_str(), out.c_str()) ? kSuccess : Fail(error.Chars());
}

// Loads in; on success the database holds the file (without its texts for a command that reads
// none). Problems that do not stop the command are warnings on standard error, or, when problems
// is given, lines added to it.
int Load(const std::string& in, const LoadOptions& options, DynamicArrayClass<NarrowStringClass>* problems,
         LoadedParts parts = LoadedParts::kWhole) {
  DatabaseLoadReport report;
  NarrowStringClass error;
  if (!LoadDatabaseFile(in.c_str(), &report, &error, parts)) return Fail(error.Chars());
  if (!report.HasDatabase) return Fail(in, "the file holds no string database");
  if (report.Damaged) {
    std::string damage = std::string("the file is damaged: ") + report.Damage.Chars();
    if (!options.salvage) return Fail(in, (damage + "; --salvage reads what is left").c_str());
    Warn(in, (damage + "; reading what is left").c_str());
  }
  for (int i = 0; i < report.PassedChunks.Count(); ++i) {
    Warn(in, (std::string("passed over unknown ") + report.PassedChunks[i].Chars()).c_str());
  }
  if (report.PassedChunkCount > report.PassedChunks.Count()) {
    Warn(in, ("passed over " + std::to_string(report.PassedChunkCount - report.PassedChunks.Count()) +
              " more unknown chunks")
                 .c_str());
  }
  for (int i = 0; i < report.IDChanges.Count(); ++i) {
    if (problems) {
      AddDoubling(*problems, report.IDChanges[i]);
    } else {
      Warn(in, report.IDChanges[i].Chars());
    }
  }
  return kSuccess;
}

// Loads a database that is to be written back in place: only a whole file whose every part the
// database keeps, so that writing it back changes nothing but what the command changes.
int LoadForRewrite(const std::string& path) {
  DatabaseLoadReport report;
  NarrowStringClass error;
  if (!LoadDatabaseFile(path.c_str(), &report, &error)) return Fail(error.Chars());
  if (!report.HasDatabase) return Fail(path, "the file holds no string database");
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
  return Fail(path, (reason + "; the file is left as it is").c_str());
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
  if (!TranslateDBClass::AddCategoryNamed("Default")) return Fail(out, std::strerror(ENOMEM));
  NarrowStringClass error;
  if (!SaveOutput(out, &error)) return Fail(error.Chars());
  return kSuccess;
}

int Dump(const std::string& in, const LoadOptions& options, std::FILE* output) {
  if (int code = Load(in, options, nullptr)) return code;
  if (!WriteDatabaseJson(output)) return Fail("standard output", std::strerror(errno ? errno : EIO));
  return kSuccess;
}

int ExportHeader(const std::string& in, const std::string& out, const LoadOptions& options) {
  if (int code = RefuseSameFile(in, out)) return code;
  if (int code = Load(in, options, nullptr, LoadedParts::kWithoutTexts)) return code;
  ByteBuilder bytes;
  WriteCHeader(bytes);
  NarrowStringClass error;
  if (!WriteOutput(out, bytes, &error)) return Fail(error.Chars());
  return kSuccess;
}

int ExportTable(const std::string& in, const std::string& out, const LoadOptions& options) {
  if (int code = RefuseSameFile(in, out)) return code;
  if (int code = Load(in, options, nullptr)) return code;
  NarrowStringClass error;
  // A file is written through as it is made; standard output takes the whole table at once.
  if (!IsStandardStream(out.c_str()))
    return ExportTextTable(out.c_str(), &error) ? kSuccess : Fail(error.Chars());
  ByteBuilder bytes;
  WriteTextTable(bytes);
  if (!WriteOutput(out, bytes, &error)) return Fail(error.Chars());
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
    if (!ReadStandardInput(bytes, &error)) return Fail(error.Chars());
    if (!ReadTextTable(bytes.data(), bytes.size(), kStandardInput, &warnings)) {
      return Fail(kStandardInput, std::strerror(ENOMEM));
    }
  } else if (!ImportTextTable(in.c_str(), &warnings, &error)) {
    return Fail(error.Chars());
  }
  // Each warning starts with the file name and line number. A file of which no line is a category
  // line (an empty one, a database, a UTF-16 or binary file) is no table: it gives no empty database.
  if (TranslateDBClass::GetCategoryCount() == 0) {
    if (warnings.Count() > 0) Warn(warnings[0].Chars());
    return Fail(IsStandardStream(in.c_str()) ? kStandardInput : in,
                "holds no text table (no category line); nothing was written");
  }
  WarnAll(warnings);
  if (!SaveOutput(out, &error)) return Fail(error.Chars());
  return kSuccess;
}

int ExportPo(const std::string& in, const std::string& out, int language, const std::string& code,
             const LoadOptions& options) {
  if (!IsLanguageCode(code)) {
    return Fail(
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
  NarrowStringClass error;
  if (!IsStandardStream(out.c_str()))
    return ::ExportPo(out.c_str(), po, &error) ? kSuccess : Fail(error.Chars());
  ByteBuilder bytes;
  WritePo(bytes, po);
  if (!WriteOutput(out, bytes, &error)) return Fail(error.Chars());
  return kSuccess;
}

int ImportPo(const std::string& db, const std::string& po, const PoImportOptions& options,
             std::FILE* output) {
  if (int code = RefuseSameFile(po, db)) return code;
  // Held until the new database is in place, so that two imports into one database at once do
  // not lose one of them.
  FileLockClass lock;
  NarrowStringClass error;
  // What is no regular file is refused by the load.
  if (!lock.AcquireIfFile(db.c_str(), &error)) return Fail(error.Chars());
  if (int code = LoadForRewrite(db)) return code;
  PoImportReport report;
  DynamicArrayClass<NarrowStringClass> warnings;
  bool read;
  const char* name = po.c_str();
  if (IsStandardStream(name)) {
    name = kStandardInput;
    std::string bytes;
    read = ReadStandardInput(bytes, &error) &&
           ApplyPo(bytes.data(), bytes.size(), name, options, &report, &warnings, &error);
  } else {
    read = ::ImportPo(name, options, &report, &warnings, &error);
  }
  WarnAll(warnings);
  if (!read) return Fail(error.Chars());
  // Nothing to write leaves the file as it is, its time included.
  if (report.Applied > 0 && !SaveDatabaseFile(db.c_str(), &error, &lock)) return Fail(error.Chars());
  std::fprintf(output, "%s: %d applied, %d unchanged, %d skipped", name, report.Applied, report.Unchanged,
               report.Skipped);
  if (report.Fuzzy > 0) std::fprintf(output, " (%d fuzzy; --fuzzy applies them)", report.Fuzzy);
  std::fprintf(output, "\n");
  if (std::fflush(output) != 0 || std::ferror(output)) {
    return Fail("standard output", std::strerror(errno ? errno : EIO));
  }
  return kSuccess;
}

int Check(const std::string& in, const LoadOptions& options, std::FILE* output) {
  DynamicArrayClass<NarrowStringClass> problems;
  if (int code = Load(in, options, &problems, LoadedParts::kWithoutTexts)) return code;
  ListDatabaseProblems(&problems);
  for (int i = 0; i < problems.Count(); ++i) std::fprintf(output, "%s\n", problems[i].Chars());
  if (std::fflush(output) != 0 || std::ferror(output)) {
    return Fail("standard output", std::strerror(errno ? errno : EIO));
  }
  return problems.Count() > 0 ? kProblems : kSuccess;
}

}  // namespace tdbtool
