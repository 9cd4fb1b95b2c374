// ChunkReaderClass: walks a tree of chunks on an open FileClass, keeping count of the bytes
// consumed at every level so that it knows where each chunk ends and can pass over whatever a
// loader does not read. The reader never opens, closes or owns the file.
//
// A damaged file never makes the reader read outside the chunk it is in: a chunk or micro chunk
// that claims more bytes than its parent (or the file) has left is cut to what is left, a file
// that ends inside a header or a chunk ends the walk, and nesting deeper than 256 chunks is
// refused. Each of these marks the walk as damaged (IsDamaged), with the first damage kept.
// Loaders also tell the reader about chunks they pass over without knowing them.
#pragma once

#include <cstdint>

#include "common/file_class.h"
#include "strandex/db/chunk_header.h"

enum class ChunkDamage {
  kNone,
  kTruncatedHeader,   // the file or the parent chunk ends inside a chunk header
  kChunkTooLong,      // a chunk claims more bytes than its parent or the file holds
  kMicroTooLong,      // a micro chunk claims more bytes than its chunk holds
  kTooDeep,           // more than 256 chunks open at once
  kReadFailed,        // the file could not be read (or ended) where the chunk said it holds bytes
  kRecordIncomplete,  // a record's envelope lacks its token or data chunk
};

// What a load reads, chosen by whoever starts the load and handed down through the reader to
// every section and factory: each string whole, or all but its texts (the English text and one
// text per language), which are most of a file and which the C header and the check never read.
// Damage and chunks passed over are reported to the reader itself (IsDamaged, NotePassedChunk).
enum class LoadedParts { kWhole, kWithoutTexts };

struct PassedChunk {
  uint32_t ChunkID = 0;
  int32_t Offset = -1;  // file offset of its header
};

class ChunkReaderClass {
 public:
  explicit ChunkReaderClass(FileClass* file, LoadedParts parts = LoadedParts::kWhole);
  ChunkReaderClass(const ChunkReaderClass&) = delete;
  ChunkReaderClass& operator=(const ChunkReaderClass&) = delete;

  // What this load reads.
  LoadedParts Parts() const { return LoadParts; }

  bool OpenChunk();
  bool CloseChunk();
  uint32_t CurrentChunkID() const { return StackIndex > 0 ? HeaderStack[StackIndex - 1].ChunkID : 0; }
  // Size of the innermost open chunk without bit 31 (after any cut for damage).
  uint32_t CurrentChunkLength() const {
    return StackIndex > 0 ? HeaderStack[StackIndex - 1].ChunkSize & kChunkSizeMask : 0;
  }
  // Payload bytes of the innermost open chunk not yet consumed.
  uint32_t CurrentChunkRemaining() const {
    return StackIndex > 0 ? CurrentChunkLength() - PositionStack[StackIndex - 1] : 0;
  }

  bool OpenMicroChunk();
  bool CloseMicroChunk();
  uint8_t CurrentMicroChunkID() const { return MCHeader.ChunkID; }
  uint8_t CurrentMicroChunkLength() const { return MCHeader.ChunkSize; }

  // Reads exactly length payload bytes of the innermost open chunk (and micro chunk): length, or
  // 0 with nothing consumed when that many are not there.
  uint32_t Read(void* buffer, uint32_t length);

  // Damage seen so far, and where (file offset, -1 when unknown).
  bool IsDamaged() const { return FirstDamage != ChunkDamage::kNone; }
  ChunkDamage Damage() const { return FirstDamage; }
  int32_t DamageOffset() const { return FirstDamageOffset; }
  // A plain description of a kind of damage.
  static const char* DamageText(ChunkDamage kind);

  // Loaders call this for a chunk whose ID they do not handle; the first few are kept.
  void NotePassedChunk();
  // Damage that a reader of the chunks' contents finds (a chunk missing where one must be).
  void MarkDamaged(ChunkDamage kind);
  int PassedChunkCount() const { return PassedCount; }
  static constexpr int kPassedChunksKept = 16;
  const PassedChunk& GetPassedChunk(int i) const { return PassedChunks[i]; }
  int PassedChunksKept() const { return PassedCount < kPassedChunksKept ? PassedCount : kPassedChunksKept; }

 private:
  int32_t Offset();
  // Bytes the innermost open chunk (or, at the top level, the file) still holds; -1 unknown.
  int64_t Room();

  FileClass* File;
  LoadedParts LoadParts;
  int StackIndex = 0;
  uint32_t PositionStack[kMaxChunkDepth];
  ChunkHeader HeaderStack[kMaxChunkDepth];
  bool InMicroChunk = false;
  int32_t MicroChunkPosition = 0;
  MicroChunkHeader MCHeader;

  int64_t FileSize = -1;
  int64_t FilePosition = 0;  // file offset, kept by the reader itself
  int32_t HeaderOffsetStack[kMaxChunkDepth];
  ChunkDamage FirstDamage = ChunkDamage::kNone;
  int32_t FirstDamageOffset = -1;
  int PassedCount = 0;
  PassedChunk PassedChunks[kPassedChunksKept];
};
