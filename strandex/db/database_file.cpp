// Saving the database to a path in one step, and loading it from a path with a report of what
// the file held.
#include "strandex/db/database_file.h"

#include "common/buffered_disk_file.h"
#include "common/path_error.h"
#include "common/platform/platform.h"
#include "common/safe_replace.h"
#include "common/write_back_file.h"
#include "strandex/db/database_check.h"
#include "strandex/db/save_registry.h"
#include "strandex/db/translate_db.h"

namespace {

NarrowStringClass Line(const char* format, int a, int b) {
  NarrowStringClass line;
  line.Format(format, a, b);
  return line;
}

void FillReport(const ChunkReaderClass& reader, int sections, DatabaseLoadReport& report) {
  report.HasDatabase = sections > 0;
  report.Damaged = reader.IsDamaged();
  if (report.Damaged) {
    report.Damage = ChunkReaderClass::DamageText(reader.Damage());
    if (reader.DamageOffset() >= 0) report.Damage.Append(Line(" (at offset %d)", reader.DamageOffset(), 0));
  }
  report.PassedChunkCount = reader.PassedChunkCount();
  for (int i = 0; i < reader.PassedChunksKept(); ++i) {
    const PassedChunk& chunk = reader.GetPassedChunk(i);
    NarrowStringClass line;
    line.Format("chunk 0x%08x at offset %d", chunk.ChunkID, chunk.Offset);
    report.PassedChunks.Add(line);
  }
  for (int i = 0; i < TranslateDBClass::GetIDChangeCount(); ++i) {
    IDChangeRecord change = TranslateDBClass::GetIDChange(i);
    bool usable = change.OldID >= TranslateDBClass::kFirstID && change.OldID <= TranslateDBClass::kLastID;
    AddDoubling(report.IDChanges,
                Line(usable ? "string ID %d occurs more than once; one of them now has ID %d"
                            : "string ID %d cannot be used; the string now has ID %d",
                     change.OldID, change.NewID));
  }
}

}  // namespace

bool CheckDatabaseSaveable(NarrowStringClass* error) {
  if (TranslateDBClass::AreTextsLeftOut()) {
    if (error) *error = "the database was loaded without its texts";
    return false;
  }
  DynamicArrayClass<NarrowStringClass> problems;
  if (ListUnsaveableFields(&problems) == 0) return true;
  if (error) {
    if (problems.Count() > 0) {
      *error = problems[0];
    } else {
      *error = "a field is too long to be saved";
    }
  }
  return false;
}

// The file is written through a window straight into the temporary file of the replacement:
// building all of it in memory first costs more than writing it.
bool SaveDatabaseFile(const char* path, NarrowStringClass* error) {
  NarrowStringClass reason;
  if (!CheckDatabaseSaveable(&reason)) return FailPath(error, path, reason);
  SafeReplaceClass replace(path);
  if (!replace.Begin()) {
    if (error) error->TryAssign(replace.ErrorMessage());
    return false;
  }
  WriteBackFileClass out(&replace.File());
  ChunkWriterClass writer(&out);
  bool saved = SaveDatabase(writer);
  if (!out.Flush() || !saved) {
    int code = replace.File().ErrorCode();
    replace.Abort();
    if (code != 0) return FailPath(error, path, code);
    if (out.Failed()) return FailPath(error, path, platform::ErrorNoMemory());
    return FailPath(error, path, "the database could not be written");
  }
  if (!replace.Commit()) {
    if (error) error->TryAssign(replace.ErrorMessage());
    return false;
  }
  return true;
}

bool LoadDatabaseFile(const char* path, DatabaseLoadReport* report, NarrowStringClass* error,
                      LoadedParts parts) {
  ErrorKeepingFile<BufferedDiskFileClass> file;
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::ClearIDChanges();
  if (parts == LoadedParts::kWithoutTexts) TranslateDBClass::LeaveOutTexts();
  if (!file.Open(path, platform::kRead) || file.Size() < 0) {
    return FailPath(error, path, file.ErrorCode() ? file.ErrorCode() : platform::LastError());
  }
  ChunkReaderClass reader(&file);
  int sections = 0;
  bool loaded = LoadFile(reader, &sections);
  file.Close();
  if (file.ErrorCode() != 0) {
    TranslateDBClass::ClearDatabase();
    return FailPath(error, path, file.ErrorCode());
  }
  if (!loaded) {
    TranslateDBClass::ClearDatabase();
    return FailPath(error, path, platform::ErrorNoMemory());
  }
  if (report) FillReport(reader, sections, *report);
  return true;
}
