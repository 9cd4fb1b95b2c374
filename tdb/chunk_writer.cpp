// Chunk tree writer.
#include "tdb/chunk_writer.h"

#include <cstring>

#include "common/coding.h"
#include "common/platform/errors.h"

namespace {

// Adds n payload bytes to a size word, keeping bit 31; false when the size would pass 2^31 - 1.
bool GrowSize(ChunkHeader& header, uint32_t n) {
  uint32_t size = header.ChunkSize & kChunkSizeMask;
  if (n > kChunkSizeMask - size) return false;
  header.ChunkSize = (header.ChunkSize & kChunkHasSubChunks) | (size + n);
  return true;
}

}  // namespace

ChunkWriterClass::ChunkWriterClass(FileClass* file) : File(file) {
  memset(PositionStack, 0, sizeof(PositionStack));
  memset(static_cast<void*>(HeaderStack), 0, sizeof(HeaderStack));
}

bool ChunkWriterClass::Fail() {
  if (FirstError == 0) FirstError = platform::LastError() ? platform::LastError() : platform::ErrorInvalid();
  return false;
}

bool ChunkWriterClass::WriteHeader(const ChunkHeader& header) {
  unsigned char bytes[kChunkHeaderBytes];
  EncodeFixed32(bytes, header.ChunkID);
  EncodeFixed32(bytes + 4, header.ChunkSize);
  return File->Write(bytes, kChunkHeaderBytes) == kChunkHeaderBytes;
}

bool ChunkWriterClass::BeginChunk(uint32_t id) {
  if (StackIndex >= kMaxChunkDepth || InMicroChunk) return Fail();
  if (StackIndex > 0) HeaderStack[StackIndex - 1].ChunkSize |= kChunkHasSubChunks;
  int32_t at = File->Seek(0, 1);
  if (at < 0) return Fail();
  PositionStack[StackIndex] = at;
  HeaderStack[StackIndex] = ChunkHeader{id, 0};
  ++StackIndex;
  return WriteHeader(HeaderStack[StackIndex - 1]) || Fail();
}

bool ChunkWriterClass::EndChunk() {
  if (StackIndex <= 0 || InMicroChunk) return Fail();
  int32_t end = File->Seek(0, 1);
  --StackIndex;
  const ChunkHeader& header = HeaderStack[StackIndex];
  if (end < 0 || File->Seek(PositionStack[StackIndex], 0) < 0 || !WriteHeader(header)) return Fail();
  if (StackIndex > 0 && !GrowSize(HeaderStack[StackIndex - 1], (header.ChunkSize & kChunkSizeMask) + 8))
    return Fail();
  return File->Seek(end, 0) == end || Fail();
}

bool ChunkWriterClass::BeginMicroChunk(uint8_t id) {
  if (StackIndex <= 0 || InMicroChunk) return Fail();
  MCHeader = MicroChunkHeader{id, 0};
  MicroChunkPosition = File->Seek(0, 1);
  if (MicroChunkPosition < 0) return Fail();
  unsigned char bytes[kMicroChunkHeaderBytes] = {id, 0};
  if (File->Write(bytes, kMicroChunkHeaderBytes) != kMicroChunkHeaderBytes) return Fail();
  if (!GrowSize(HeaderStack[StackIndex - 1], kMicroChunkHeaderBytes)) return Fail();
  InMicroChunk = true;
  return true;
}

bool ChunkWriterClass::EndMicroChunk() {
  if (!InMicroChunk) return Fail();
  int32_t end = File->Seek(0, 1);
  unsigned char bytes[kMicroChunkHeaderBytes] = {MCHeader.ChunkID, MCHeader.ChunkSize};
  if (end < 0 || File->Seek(MicroChunkPosition, 0) < 0 ||
      File->Write(bytes, kMicroChunkHeaderBytes) != kMicroChunkHeaderBytes)
    return Fail();
  if (File->Seek(end, 0) != end) return Fail();
  InMicroChunk = false;
  return true;
}

uint32_t ChunkWriterClass::Write(const void* buffer, uint32_t length) {
  if (length == 0 && StackIndex > 0) return 0;
  bool fits =
      StackIndex > 0 && length <= kChunkSizeMask - (HeaderStack[StackIndex - 1].ChunkSize & kChunkSizeMask);
  if (InMicroChunk && length > static_cast<uint32_t>(kMaxMicroChunkPayload - MCHeader.ChunkSize))
    fits = false;
  if (!fits || File->Write(buffer, static_cast<int>(length)) != static_cast<int>(length)) {
    Fail();
    return 0;
  }
  GrowSize(HeaderStack[StackIndex - 1], length);
  if (InMicroChunk) MCHeader.ChunkSize = static_cast<uint8_t>(MCHeader.ChunkSize + length);
  return length;
}

bool ChunkWriterClass::WriteMicroChunk(uint8_t id, const void* buffer, uint32_t length) {
  if (length > static_cast<uint32_t>(kMaxMicroChunkPayload)) return Fail();
  if (!BeginMicroChunk(id)) return false;
  if (length > 0 && Write(buffer, length) != length) return false;
  return EndMicroChunk();
}

bool ChunkWriterClass::WriteMicroChunkInt(uint8_t id, int32_t value) {
  unsigned char bytes[4];
  EncodeFixed32(bytes, static_cast<uint32_t>(value));
  return WriteMicroChunk(id, bytes, 4);
}
