// The two headers of the chunk layer as they stand on disk, all numbers little-endian.
//
// ChunkHeader, 8 bytes:
//   offset 0  uint32  chunk ID
//   offset 4  uint32  size word: bits 0-30 count the payload bytes after the header; bit 31 is
//                     set when the payload is a sequence of chunks rather than raw data
//
// MicroChunkHeader, 2 bytes, found one after another inside the raw payload of a chunk:
//   offset 0  uint8   micro chunk ID
//   offset 1  uint8   number of payload bytes that follow (at most 255)
#pragma once

#include <cstdint>

struct ChunkHeader {
  uint32_t ChunkID = 0;
  uint32_t ChunkSize = 0;
};

struct MicroChunkHeader {
  uint8_t ChunkID = 0;
  uint8_t ChunkSize = 0;
};

constexpr uint32_t kChunkHasSubChunks = 0x80000000u;
constexpr uint32_t kChunkSizeMask = 0x7FFFFFFFu;
constexpr int kChunkHeaderBytes = 8;
constexpr int kMicroChunkHeaderBytes = 2;
constexpr int kMaxMicroChunkPayload = 255;
// Chunks that can be open at once, on either side.
constexpr int kMaxChunkDepth = 256;
