// MixWriterClass: builds a mix archive (mix_format.h) in one pass. Members are streamed from
// their source files through one copy block, so memory grows with the number of members, never
// with their size. The archive is written under a temporary name beside its final one and put
// in place only by a successful Finish: a failed build leaves no partial archive under the
// final name and leaves a file already there untouched.
//
// An archive that goes into a device or pipe (SafeReplaceClass::IsDirect) cannot seek back to
// patch its header: there each member is measured when it is added and copied by Finish, after
// the header that needs every member's size. A failure before Finish writes nothing there.
#pragma once

#include "mix/file_provider.h"
#include "mix/mix_format.h"
#include "common/array.h"
#include "common/safe_replace.h"
#include "common/string_class.h"

class MixWriterClass {
 public:
  // Creates the temporary archive and writes the header; IsOpen tells whether that worked. With
  // to_standard_output the archive goes to standard output, as into a pipe, and archive_path
  // only names it in messages. The sources and the archive are read and written through disk.
  explicit MixWriterClass(const char* archive_path, bool to_standard_output = false,
                          platform::DiskInterface& disk = platform::SystemDisk());
  // Finishes the archive when nothing has finished or abandoned it yet.
  ~MixWriterClass();
  MixWriterClass(const MixWriterClass&) = delete;
  MixWriterClass& operator=(const MixWriterClass&) = delete;

  // True while the archive can take members: it was created and no write to it has failed.
  bool IsOpen() const { return open; }

  // Appends the file at source_path (an absolute path) under member_name; a null member_name
  // stores the source path itself. False, with ErrorMessage, when the member cannot be added;
  // the archive is then never put in place. When the archive itself fails, IsOpen turns false.
  bool AddFile(const char* member_name, const char* source_path);

  // Writes the index and name tables, patches the header and puts the archive in place. False,
  // with ErrorMessage, when that fails or any earlier step failed; the temporary file is then
  // deleted and the final name untouched.
  bool Finish();

  // Deletes the temporary archive; the final name stays untouched. False when the temporary
  // file cannot be deleted (a folder that lets files be made but not removed): LeftBehind()
  // then names it and why.
  bool Abandon();
  const NarrowStringClass& LeftBehind() const { return archive.LeftBehind(); }

  int Count() const { return entries.Count(); }
  // "path: reason" for the latest failure, or empty.
  const NarrowStringClass& ErrorMessage() const { return error; }

  // Bytes moved per read and write while copying a member.
  static constexpr int kCopyBlockSize = 1 << 20;

 private:
  // A member copied later by Finish: its source and the size it had when it was added.
  struct DeferredMember {
    NarrowStringClass source;
    int size = 0;
  };

  bool AddMember(ProvidedFileClass* source, const char* member_name, const char* source_path);
  // Copies size bytes of the open source and the padding after them.
  bool CopyBytes(ProvidedFileClass* source, int size, const char* source_path);
  // For a direct archive: the header and every deferred member.
  bool WriteHeaderAndMembers(int64_t index_offset, int64_t name_offset);
  bool StreamMember(const DeferredMember& member);
  bool WriteArchive(const void* data, int size);
  bool WriteTables();
  // Record a failure as "path: reason" and return false; FailArchive also abandons the archive.
  bool FailMember(const char* path, const char* reason);
  bool FailArchive(const char* reason);

  DynamicArrayClass<MixIndexEntry> entries;
  DynamicArrayClass<DeferredMember> deferred;  // in the order they were added
  NarrowStringClass target;
  platform::DiskInterface& disk;
  SafeReplaceClass archive;
  unsigned char* block = nullptr;
  int64_t position = 0;
  bool open = false;
  bool failed = false;
  bool finished = false;
  NarrowStringClass error;
};
