// Chunk tree reader.
#include "tdb/chunk_reader.h"

#include <cstring>

#include "common/coding.h"

ChunkReaderClass::ChunkReaderClass(FileClass* file, LoadedParts parts) : File(file), LoadParts(parts) {
  int32_t at = File->Seek(0, 1);
  int32_t size = File->Size();
  FilePosition = at < 0 ? 0 : at;
  FileSize = at < 0 || size < 0 ? -1 : size;
}

ChunkReaderClass::ChunkReaderClass(SharedBytesClass* bytes, int64_t offset, int64_t size, LoadedParts parts)
    : Memory(bytes), MemoryData(bytes->Data() + offset), MemoryStart(offset), LoadParts(parts) {
  Memory->Hold();
  FileSize = size;
}

ChunkReaderClass::~ChunkReaderClass() { SharedBytesClass::Release(Memory); }

// In memory, reading stops at the end of the bytes (or of those filled, when the block is still
// being filled) and passing over them always succeeds, as a seek beyond the end of a file does.
inline int ChunkReaderClass::Fetch(void* buffer, int n) {
  if (!MemoryData) return File->Read(buffer, n);
  const int64_t end = FilePosition + n < FileSize ? FilePosition + n : FileSize;
  if (end > KnownFilled) KnownFilled = Memory->WaitFilled(MemoryStart + end) - MemoryStart;
  int64_t left = (KnownFilled < FileSize ? KnownFilled : FileSize) - FilePosition;
  if (left < n) n = left > 0 ? static_cast<int>(left) : 0;
  if (n > 0) memcpy(buffer, MemoryData + FilePosition, static_cast<size_t>(n));
  return n;
}

bool ChunkReaderClass::Follow(uint32_t passed) {
  return MemoryData || File->Seek(static_cast<int>(passed), 1) == FilePosition;
}

void ChunkReaderClass::Rewind(int fetched) {
  if (!MemoryData && fetched > 0) File->Seek(static_cast<int>(FilePosition), 0);
}

const char* ChunkReaderClass::DamageText(ChunkDamage kind) {
  switch (kind) {
    case ChunkDamage::kNone:
      return "no damage";
    case ChunkDamage::kTruncatedHeader:
      return "a chunk header is cut off";
    case ChunkDamage::kChunkTooLong:
      return "a chunk claims more bytes than its parent or the file holds";
    case ChunkDamage::kMicroTooLong:
      return "a field claims more bytes than its chunk holds";
    case ChunkDamage::kTooDeep:
      return "chunks are nested more than 256 deep";
    case ChunkDamage::kReadFailed:
      return "the file could not be read";
    case ChunkDamage::kRecordIncomplete:
      return "a record lacks its token or data chunk";
  }
  return "unknown damage";
}

void ChunkReaderClass::MarkDamaged(ChunkDamage kind) {
  if (FirstDamage != ChunkDamage::kNone) return;
  FirstDamage = kind;
  FirstDamageOffset = FilePosition > INT32_MAX ? -1 : static_cast<int32_t>(FilePosition);
}

int64_t ChunkReaderClass::Room() {
  if (StackIndex > 0) return CurrentChunkRemaining();
  return FileSize < 0 ? -1 : FileSize - FilePosition;
}

bool ChunkReaderClass::OpenChunk() {
  if (InMicroChunk) CloseMicroChunk();
  int64_t room = Room();
  if (room == 0) return false;
  if (room > 0 && room < kChunkHeaderBytes) {
    MarkDamaged(ChunkDamage::kTruncatedHeader);
    return false;
  }
  if (StackIndex >= kMaxChunkDepth) {
    MarkDamaged(ChunkDamage::kTooDeep);
    return false;
  }
  unsigned char bytes[kChunkHeaderBytes];
  int n = Fetch(bytes, kChunkHeaderBytes);
  if (n != kChunkHeaderBytes) {
    // Without a known size, the end of the file at the top level is the normal end.
    Rewind(n);
    if (n != 0 || room > 0 || StackIndex > 0) MarkDamaged(ChunkDamage::kTruncatedHeader);
    return false;
  }
  ChunkHeader header{DecodeFixed32(bytes), DecodeFixed32(bytes + 4)};
  HeaderOffsetStack[StackIndex] = static_cast<int32_t>(FilePosition);
  if (room > 0 && (header.ChunkSize & kChunkSizeMask) > room - kChunkHeaderBytes) {
    MarkDamaged(ChunkDamage::kChunkTooLong);
    header.ChunkSize =
        (header.ChunkSize & kChunkHasSubChunks) | static_cast<uint32_t>(room - kChunkHeaderBytes);
  }
  FilePosition += kChunkHeaderBytes;
  HeaderStack[StackIndex] = header;
  PositionStack[StackIndex] = 0;
  ++StackIndex;
  return true;
}

bool ChunkReaderClass::CloseChunk() {
  if (StackIndex <= 0) return false;
  if (InMicroChunk) CloseMicroChunk();
  int top = StackIndex - 1;
  uint32_t size = HeaderStack[top].ChunkSize & kChunkSizeMask;
  uint32_t consumed = PositionStack[top];
  if (consumed < size) {
    FilePosition += size - consumed;
    if (!Follow(size - consumed)) MarkDamaged(ChunkDamage::kReadFailed);
  }
  StackIndex = top;
  if (top > 0) PositionStack[top - 1] += size + kChunkHeaderBytes;
  return true;
}

uint32_t ChunkReaderClass::Read(void* buffer, uint32_t length) {
  if (StackIndex <= 0 || length > CurrentChunkRemaining()) return 0;
  if (InMicroChunk && length > static_cast<uint32_t>(MCHeader.ChunkSize - MicroChunkPosition)) return 0;
  if (length == 0) return 0;
  int n = Fetch(buffer, static_cast<int>(length));
  if (n != static_cast<int>(length)) {
    MarkDamaged(ChunkDamage::kReadFailed);
    Rewind(n);
    return 0;
  }
  FilePosition += length;
  PositionStack[StackIndex - 1] += length;
  if (InMicroChunk) MicroChunkPosition += static_cast<int32_t>(length);
  return length;
}

bool ChunkReaderClass::OpenMicroChunk() {
  if (InMicroChunk) CloseMicroChunk();
  uint32_t room = CurrentChunkRemaining();
  if (StackIndex <= 0 || room == 0) return false;
  unsigned char bytes[kMicroChunkHeaderBytes];
  if (room < kMicroChunkHeaderBytes) {
    MarkDamaged(ChunkDamage::kTruncatedHeader);
    return false;
  }
  if (Read(bytes, kMicroChunkHeaderBytes) != kMicroChunkHeaderBytes) return false;
  MCHeader = MicroChunkHeader{bytes[0], bytes[1]};
  room -= kMicroChunkHeaderBytes;
  if (MCHeader.ChunkSize > room) {
    FilePosition -= kMicroChunkHeaderBytes;
    MarkDamaged(ChunkDamage::kMicroTooLong);
    FilePosition += kMicroChunkHeaderBytes;
    MCHeader.ChunkSize = static_cast<uint8_t>(room);
  }
  MicroChunkPosition = 0;
  InMicroChunk = true;
  return true;
}

bool ChunkReaderClass::CloseMicroChunk() {
  if (!InMicroChunk) return false;
  InMicroChunk = false;
  if (StackIndex <= 0) return true;
  if (MicroChunkPosition < MCHeader.ChunkSize) {
    uint32_t rest = static_cast<uint32_t>(MCHeader.ChunkSize - MicroChunkPosition);
    FilePosition += rest;
    if (!Follow(rest)) MarkDamaged(ChunkDamage::kReadFailed);
    PositionStack[StackIndex - 1] += rest;
  }
  return true;
}

void ChunkReaderClass::NotePassedChunk() {
  if (StackIndex <= 0) return;
  if (PassedCount < kPassedChunksKept) {
    PassedChunks[PassedCount] = PassedChunk{CurrentChunkID(), HeaderOffsetStack[StackIndex - 1]};
  }
  ++PassedCount;
}
