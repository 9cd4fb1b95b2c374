// Saving the database to a path in one step, and loading it from a path with a report of what
// the file held.
#include "tdb/database_file.h"

#include <exception>
#include <thread>

#include "common/buffered_disk_file.h"
#include "common/memory_file.h"
#include "common/path_error.h"
#include "common/platform/platform.h"
#include "common/safe_replace.h"
#include "common/shared_bytes.h"
#include "common/write_back_file.h"
#include "tdb/database_check.h"
#include "tdb/database_section.h"
#include "tdb/save_registry.h"
#include "tdb/translate_db.h"

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
  if (!TranslateDBClass::HasTexts()) {
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

namespace {

// The file is written through a window straight into the temporary file of the replacement:
// building all of it in memory first costs more than writing it. A device or pipe (standard
// output among them) cannot seek back to the chunk headers: there the file is made in memory
// and then written whole.
bool Save(const char* path, bool standard_output, const FileLockClass* lock, NarrowStringClass* error,
          platform::DiskInterface& disk) {
  NarrowStringClass reason;
  if (!CheckDatabaseSaveable(&reason)) return FailPath(error, path, reason);
  SafeReplaceClass replace(path, disk);
  replace.SetUnchangedCheck(lock);
  if (standard_output) replace.UseStandardOutput();
  if (!replace.Begin()) return replace.Finish(false, replace.ErrorCode(), error);
  bool direct = replace.IsDirect();
  WriteBackFileClass window(&replace.File());
  MemoryFileClass memory;
  ChunkWriterClass writer(direct ? static_cast<FileClass*>(&memory) : &window);
  bool saved = SaveDatabase(writer);
  bool written =
      direct ? !memory.ErrorCode() && replace.File().Write(memory.Data(), memory.Size()) == memory.Size()
             : window.Flush();
  // A failure that neither the file nor the buffer saw is the writer's own refusal; one the
  // buffer saw is memory running out.
  if ((!written || !saved) && replace.File().ErrorCode() == 0 &&
      (direct ? memory.ErrorCode() : window.ErrorCode()) == 0) {
    return FailPath(error, path, "the database could not be written");
  }
  return replace.Finish(written && saved, platform::ErrorNoMemory(), error);
}

}  // namespace

bool SaveDatabaseFile(const char* path, NarrowStringClass* error, const FileLockClass* lock,
                      platform::DiskInterface& disk) {
  return Save(path, false, lock, error, disk);
}

bool SaveDatabaseToStandardOutput(NarrowStringClass* error) {
  return Save("standard output", true, nullptr, error, platform::SystemDisk());
}

namespace {

// A failed load leaves an empty database with "Default", keeping version and language.
bool FailLoad(NarrowStringClass* error, const char* path, int code, int version, int language) {
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::SetVersion(version);
  TranslateDBClass::SetCurrentLanguage(language);
  TranslateDBClass::AddCategoryNamed("Default");
  return FailPath(error, path, code);
}

// Reads the file whole into bytes in pieces, telling the bytes how far they are filled.
void Fill(FileClass* file, SharedBytesClass* bytes, int64_t piece) {
  const int64_t size = bytes->Size();
  int64_t done = 0;
  while (done < size) {
    int n = file->Read(bytes->Data() + done, static_cast<int>(size - done < piece ? size - done : piece));
    if (n <= 0) break;
    done += n;
    bytes->Filled(done);
  }
  bytes->EndFilling();
}

// Loads from bytes while another thread reads the file into them, each piece walked as soon as
// it is there (the file is read first when no thread can be started). This is the one place
// the programs use a second thread: at 1,000,000 strings the read (about 0.5 s) and the walk
// (about 0.6 s) overlap, and one after the other the editor's open takes over a second.
bool LoadWhileFilling(FileClass& file, SharedBytesClass& bytes, int64_t piece, ChunkReaderClass& reader,
                      int* sections) {
  bytes.StartFilling();
  std::thread filler;
  try {
    filler = std::thread(Fill, &file, &bytes, piece);
  } catch (const std::exception&) {
    Fill(&file, &bytes, piece);
  }
  bool loaded = LoadFile(reader, sections);
  if (filler.joinable()) filler.join();
  return loaded;
}

struct LoadRequest {
  const char* path;
  DatabaseLoadReport* report;
  NarrowStringClass* error;
  int version;  // the database's before the load
  int language;
};

// The end of a load: a failure of the file, or memory running out, fails it.
bool FinishLoad(const LoadRequest& request, ErrorKeepingFile<BufferedDiskFileClass>& file,
                const ChunkReaderClass& reader, bool loaded, int sections) {
  file.Close();
  int code = file.ErrorCode() != 0 ? file.ErrorCode() : loaded ? 0 : platform::ErrorNoMemory();
  if (code != 0) return FailLoad(request.error, request.path, code, request.version, request.language);
  if (request.report) FillReport(reader, sections, *request.report);
  return true;
}

}  // namespace

bool LoadDatabaseFile(const char* path, DatabaseLoadReport* report, NarrowStringClass* error,
                      LoadedParts parts, int64_t piece_bytes, platform::DiskInterface& disk) {
  const LoadRequest request{path, report, error, TranslateDBClass::GetVersion(),
                            TranslateDBClass::GetCurrentLanguage()};
  ErrorKeepingFile<BufferedDiskFileClass> file(disk);
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::ClearIDChanges();
  // The loader seeks: a pipe or device is refused before it is opened (a pipe could block).
  if (int code = platform::RegularFileError(path, disk))
    return FailLoad(error, path, code, request.version, request.language);
  if (!file.Open(path, platform::kRead) || file.Size() < 0) {
    return FailLoad(error, path, file.ErrorCode() ? file.ErrorCode() : platform::LastError(), request.version,
                    request.language);
  }
  int sections = 0;
  // With texts on demand the file is read whole, into bytes from which the strings read their
  // texts when asked for. A file that ends before its size (it changed while it was read) is
  // loaded again as below; when memory cannot hold it, the strings are read whole.
  if (parts == LoadedParts::kTextsOnDemand) {
    if (SharedBytesClass* bytes = SharedBytesClass::Create(file.Size())) {
      ChunkReaderClass reader(bytes, 0, bytes->Size(), parts);
      bool loaded =
          LoadWhileFilling(file, *bytes, piece_bytes > 0 ? piece_bytes : kLoadPieceBytes, reader, &sections);
      bool whole = bytes->WaitFilled(bytes->Size()) == bytes->Size();
      SharedBytesClass::Release(bytes);
      if (whole || file.ErrorCode() != 0) return FinishLoad(request, file, reader, loaded, sections);
      TranslateDBClass::ClearDatabase();
      TranslateDBClass::ClearIDChanges();
      TranslateDBClass::SetVersion(request.version);
      TranslateDBClass::SetCurrentLanguage(request.language);
      file.Seek(0, 0);
    }
  }
  ChunkReaderClass reader(&file, parts);
  bool loaded = LoadFile(reader, &sections);
  return FinishLoad(request, file, reader, loaded, sections);
}
