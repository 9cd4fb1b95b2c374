// ChunkWriterClass: writes a tree of chunks (and micro chunks inside raw chunks) to an open
// FileClass in one forward pass, seeking back only to patch each header with its final size.
// The writer never opens, closes or owns the file. A file in memory (MemoryFileClass) makes the
// patching cheap; the finished bytes are then written out in one piece.
//
// Nothing is written that could not be read back: a micro chunk payload beyond 255 bytes, more
// than 256 open chunks, ending a chunk that was never begun, and a chunk beyond 2^31 - 1 bytes
// are refused. Every refusal and every short write makes the operation concerned fail and is
// remembered (ErrorCode()).
#pragma once

#include <cstdint>

#include "common/file_class.h"
#include "tdb/chunk_header.h"

class ChunkWriterClass {
 public:
  explicit ChunkWriterClass(FileClass* file);
  ChunkWriterClass(const ChunkWriterClass&) = delete;
  ChunkWriterClass& operator=(const ChunkWriterClass&) = delete;

  bool BeginChunk(uint32_t id);
  bool EndChunk();
  bool BeginMicroChunk(uint8_t id);
  bool EndMicroChunk();
  // Payload bytes for the innermost open chunk (and the open micro chunk). Returns the number of
  // bytes written: length, or 0 when the file took fewer or the write was refused.
  uint32_t Write(const void* buffer, uint32_t length);

  // A whole micro chunk: header, payload, patched header.
  bool WriteMicroChunk(uint8_t id, const void* buffer, uint32_t length);
  bool WriteMicroChunkInt(uint8_t id, int32_t value);

  // The first failure (the system's code where the file refused, else invalid: a chunk too long
  // or unbalanced), 0 while there is none; after one the bytes written are not a valid tree.
  int ErrorCode() const { return FirstError; }

 private:
  bool Fail();
  bool WriteHeader(const ChunkHeader& header);

  FileClass* File;
  int StackIndex = 0;
  int32_t PositionStack[kMaxChunkDepth];
  ChunkHeader HeaderStack[kMaxChunkDepth];
  bool InMicroChunk = false;
  int32_t MicroChunkPosition = 0;
  MicroChunkHeader MCHeader;
  int FirstError = 0;
};
