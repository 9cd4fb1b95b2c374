// ChunkReaderClass: walks a tree of chunks on an open FileClass, or on bytes in memory (a file
// read whole), keeping count of the bytes consumed at every level so that it knows where each
// chunk ends and can pass over whatever a loader does not read. The reader never opens, closes
// or owns the file; it holds the bytes in memory as long as it lives. Both walk alike: the
// same bytes give the same chunks, damage and payloads.
//
// A damaged file never makes the reader read outside the chunk it is in: a chunk or micro chunk
// that claims more bytes than its parent (or the file) has left is cut to what is left, a file
// that ends inside a header or a chunk ends the walk, and nesting deeper than 256 chunks is
// refused. Each of these marks the walk as damaged (IsDamaged), with the first damage kept.
// Loaders also tell the reader about chunks they pass over without knowing them.
#pragma once

#include <cstdint>

#include "common/file_class.h"
#include "common/shared_bytes.h"
#include "tdb/chunk_header.h"

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
// kTextsOnDemand reads the file as kWithoutTexts does, and a string read from bytes in memory
// keeps its place in them and reads its texts from there when first asked for (from a file it
// reads them at once, as kWhole does).
enum class LoadedParts { kWhole, kWithoutTexts, kTextsOnDemand };

struct PassedChunk {
  uint32_t ChunkID = 0;
  int32_t Offset = -1;  // file offset of its header
};

class ChunkReaderClass {
 public:
  explicit ChunkReaderClass(FileClass* file, LoadedParts parts = LoadedParts::kWhole);
  // Walks size bytes of bytes from offset on as a whole file (offset 0); the block is held
  // while the reader lives.
  ChunkReaderClass(SharedBytesClass* bytes, int64_t offset, int64_t size,
                   LoadedParts parts = LoadedParts::kWhole);
  ~ChunkReaderClass();
  ChunkReaderClass(const ChunkReaderClass&) = delete;
  ChunkReaderClass& operator=(const ChunkReaderClass&) = delete;

  // What this load reads.
  LoadedParts Parts() const { return LoadParts; }
  // The bytes walked in memory (null on a file), and where in them the reader stands.
  SharedBytesClass* Bytes() const { return Memory; }
  int64_t BytesPosition() const { return MemoryStart + FilePosition; }

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
  // Reads up to n bytes at FilePosition without moving it: the count read.
  int Fetch(void* buffer, int n);
  // After FilePosition moved past bytes not read, whether the source could follow.
  bool Follow(uint32_t passed);
  // After a short Fetch, puts the source back at FilePosition.
  void Rewind(int fetched);
  // Bytes the innermost open chunk (or, at the top level, the file) still holds; -1 unknown.
  int64_t Room();

  FileClass* File = nullptr;
  SharedBytesClass* Memory = nullptr;
  const unsigned char* MemoryData = nullptr;
  int64_t MemoryStart = 0;
  // Bytes from MemoryStart on known to hold their contents.
  int64_t KnownFilled = 0;
  LoadedParts LoadParts;
  int StackIndex = 0;
  // Entries from StackIndex on are unused (left unset: a reader is made for every string whose
  // texts are read from memory).
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
