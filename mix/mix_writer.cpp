// Writing a mix archive: header, streamed members, tables, header patch, then the rename.
#include "mix/mix_writer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/coding.h"
#include "common/crc.h"
#include "common/memory_file.h"
#include "common/path_error.h"
#include "common/platform/platform.h"

namespace {

// Entries are appended in large steps: an archive may hold many thousands of members.
constexpr int kEntryGrowthStep = 1024;

NarrowStringClass ReasonOf(int code) {
  return platform::ErrorText(code ? code : platform::ErrorShortWrite());
}

void PutWord(MemoryFileClass& out, uint32_t value) {
  unsigned char bytes[4];
  EncodeFixed32(bytes, value);
  out.Write(bytes, 4);
}

}  // namespace

MixWriterClass::MixWriterClass(const char* archive_path, bool to_standard_output,
                               platform::DiskInterface& disk_in)
    : disk(disk_in), archive(archive_path, disk_in) {
  entries.SetGrowthStep(kEntryGrowthStep);
  deferred.SetGrowthStep(kEntryGrowthStep);
  block = new (std::nothrow) unsigned char[kCopyBlockSize];
  if (!block || !target.TryAssign(archive_path)) {
    FailMember(archive_path, ReasonOf(platform::ErrorNoMemory()));
    return;
  }
  // The archive is made from files that stay untouched: it is put in place whole or not at
  // all, but not forced to disk first (a power cut can lose it, never the sources).
  archive.SetDurable(false);
  if (to_standard_output) archive.UseStandardOutput();
  if (!archive.Begin()) {
    failed = true;
    error.TryAssign(archive.ErrorMessage());
    return;
  }
  open = true;
  if (archive.IsDirect()) {
    position = kMixHeaderSize;  // written by Finish
    return;
  }
  unsigned char header[kMixHeaderSize] = {};
  memcpy(header, kMixMagic, sizeof kMixMagic);
  WriteArchive(header, kMixHeaderSize);
}

MixWriterClass::~MixWriterClass() {
  if (open && !finished) Finish();
  Abandon();
  delete[] block;
}

bool MixWriterClass::AddFile(const char* member_name, const char* source_path) {
  if (!open) return false;
  if (!member_name) member_name = source_path;
  int length = static_cast<int>(strlen(member_name));
  if (length > kMixMaxNameLength) {
    NarrowStringClass reason;
    reason.Format("member name of %d bytes is too long (the archive holds names of up to %d bytes)", length,
                  kMixMaxNameLength);
    return FailMember(source_path, reason);
  }
  FileProviderClass& provider = FileProviderClass::Instance();
  ProvidedFileClass* source = provider.GetFile(source_path, disk);
  if (!source) return FailMember(source_path, ReasonOf(platform::ErrorNoMemory()));
  bool ok = AddMember(source, member_name, source_path);
  provider.ReturnFile(source);
  return ok;
}

bool MixWriterClass::AddMember(ProvidedFileClass* source, const char* member_name, const char* source_path) {
  if (source->FileName()[0] == 0) return FailMember(source_path, "not an absolute path");
  if (!source->Open(1)) return FailMember(source_path, ReasonOf(platform::LastError()));
  int size = source->Size();
  if (size < 0) return FailMember(source_path, ReasonOf(source->ErrorCode()));
  if (position + size + MixPadding(position + size) > kMixMaxArchiveSize) {
    return FailArchive("the archive would grow beyond 2147483647 bytes");
  }
  MixIndexEntry entry;
  entry.CRC = CrcTextNoCase(0, member_name);
  entry.Offset = static_cast<int32_t>(position);
  entry.Size = size;
  if (!entry.Name.TryAssign(member_name)) return FailMember(source_path, ReasonOf(platform::ErrorNoMemory()));
  if (archive.IsDirect()) {
    DeferredMember member;
    member.size = size;
    if (!member.source.TryAssign(source_path) || !deferred.Add(std::move(member))) {
      return FailMember(source_path, ReasonOf(platform::ErrorNoMemory()));
    }
    position += size + MixPadding(position + size);
  } else if (!CopyBytes(source, size, source_path)) {
    return false;
  }
  if (!entries.Add(std::move(entry))) return FailMember(source_path, ReasonOf(platform::ErrorNoMemory()));
  return true;
}

bool MixWriterClass::CopyBytes(ProvidedFileClass* source, int size, const char* source_path) {
  // File to file inside the system where it can; the rest, and any failure, the ordinary way.
  int copied = static_cast<int>(disk.CopyFileRange(source->GetHandle(), archive.File().GetHandle(), size));
  position += copied;
  for (int left = size - copied; left > 0;) {
    int n = source->Read(block, left < kCopyBlockSize ? left : kCopyBlockSize);
    if (n <= 0) {
      if (source->ErrorCode() != 0) return FailMember(source_path, ReasonOf(source->ErrorCode()));
      NarrowStringClass reason;
      reason.Format("the file ended after %d of its %d bytes", size - left, size);
      return FailMember(source_path, reason);
    }
    if (!WriteArchive(block, n)) return false;
    left -= n;
  }
  static const unsigned char kZeros[kMixAlignment] = {};
  return WriteArchive(kZeros, MixPadding(position));
}

bool MixWriterClass::Finish() {
  if (finished) return true;
  if (!open) return false;
  if (failed) {
    Abandon();
    return false;
  }
  if (!WriteTables()) return false;
  if (!archive.Commit()) {
    error.TryAssign(archive.ErrorMessage());
    failed = true;
    open = false;
    return false;
  }
  open = false;
  finished = true;
  return true;
}

bool MixWriterClass::WriteTables() {
  int count = entries.Count();
  if (count > 1) {
    std::sort(&entries[0], &entries[0] + count, [](const MixIndexEntry& a, const MixIndexEntry& b) {
      return MixOrderBefore(a.CRC, a.Name, b.CRC, b.Name);
    });
  }
  int64_t index_offset = position;
  int64_t name_offset = index_offset + 4 + static_cast<int64_t>(kMixIndexRecordSize) * count;
  MemoryFileClass tables;
  PutWord(tables, static_cast<uint32_t>(count));
  for (int i = 0; i < count; ++i) {
    PutWord(tables, entries[i].CRC);
    PutWord(tables, static_cast<uint32_t>(entries[i].Offset));
    PutWord(tables, static_cast<uint32_t>(entries[i].Size));
  }
  PutWord(tables, static_cast<uint32_t>(count));
  for (int i = 0; i < count; ++i) {
    unsigned char length = static_cast<unsigned char>(entries[i].Name.Length() + 1);
    tables.Write(&length, 1);
    tables.Write(entries[i].Name.Chars(), length);
  }
  if (tables.ErrorCode()) return FailArchive(ReasonOf(platform::ErrorNoMemory()));
  if (index_offset + tables.Size() > kMixMaxArchiveSize) {
    return FailArchive("the archive would grow beyond 2147483647 bytes");
  }
  if (archive.IsDirect() && !WriteHeaderAndMembers(index_offset, name_offset)) return false;
  if (!WriteArchive(tables.Data(), tables.Size())) return false;
  if (archive.IsDirect()) return true;
  unsigned char patch[8];
  EncodeFixed32(patch, static_cast<uint32_t>(index_offset));
  EncodeFixed32(patch + 4, static_cast<uint32_t>(name_offset));
  if (archive.File().Seek(4, platform::kBegin) != 4) return FailArchive(ReasonOf(archive.File().ErrorCode()));
  return WriteArchive(patch, sizeof patch);
}

bool MixWriterClass::WriteHeaderAndMembers(int64_t index_offset, int64_t name_offset) {
  unsigned char header[kMixHeaderSize] = {};
  memcpy(header, kMixMagic, sizeof kMixMagic);
  EncodeFixed32(header + 4, static_cast<uint32_t>(index_offset));
  EncodeFixed32(header + 8, static_cast<uint32_t>(name_offset));
  position = 0;
  if (!WriteArchive(header, kMixHeaderSize)) return false;
  for (int i = 0; i < deferred.Count(); ++i) {
    if (!StreamMember(deferred[i])) {
      Abandon();
      return false;
    }
  }
  return true;
}

bool MixWriterClass::StreamMember(const DeferredMember& member) {
  FileProviderClass& provider = FileProviderClass::Instance();
  ProvidedFileClass* source = provider.GetFile(member.source, disk);
  bool ok = false;
  if (!source) {
    FailMember(member.source, ReasonOf(platform::ErrorNoMemory()));
  } else if (!source->Open(1)) {
    FailMember(member.source, ReasonOf(platform::LastError()));
  } else if (source->Size() != member.size) {
    // The header already promised the size it had when it was added.
    FailMember(member.source, "the file changed while the archive was written");
  } else {
    ok = CopyBytes(source, member.size, member.source);
  }
  provider.ReturnFile(source);
  return ok;
}

bool MixWriterClass::WriteArchive(const void* data, int size) {
  if (!open) return false;
  if (size <= 0) return true;
  if (archive.File().Write(data, size) != size) return FailArchive(ReasonOf(archive.File().ErrorCode()));
  position += size;
  return true;
}

bool MixWriterClass::Abandon() {
  open = false;
  return archive.Abort();
}

bool MixWriterClass::FailMember(const char* path, const char* reason) {
  failed = true;
  error = PathError(path, reason);
  return false;
}

bool MixWriterClass::FailArchive(const char* reason) {
  FailMember(target, reason);
  if (!Abandon()) {
    error.Append("; ");
    error.Append(LeftBehind());
  }
  return false;
}
