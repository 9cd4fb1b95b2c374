// The bytes of a model file (.vxm). Every number is little-endian; there is no padding anywhere.
//
//   file      := file header, then top-level chunks up to the end of the file
//   header    := magic "VXMF" (4 bytes) | uint32 version (1)
//   chunk     := id (4 ASCII bytes) | uint32 size | size bytes of payload
//
// Top-level chunks:
//   "OBJC"    one object: uint32 kind, then size - 4 bytes of body. Kind 0 is a mesh, whose body
//             is a run of sub-chunks (below). The body of any other kind is kept as it stands.
//   other     kept as they stand and written back in the same place among the objects.
//
// Sub-chunks of a mesh body; the first one is always "MHDR":
//   "MHDR"    44 bytes: name (16 bytes, zero-terminated) | qualifier (16 bytes, zero-terminated) |
//             uint32 format | uint32 vertex count | uint32 triangle count
//   "VERT"    vertex count * 12 bytes: float32 x | float32 y | float32 z
//   "TRIS"    triangle count * 32 bytes: uint32 vertex index[3] | uint32 attribute |
//             float32 normal x, y, z | float32 distance
//   other     kept as they stand, after the same number of interpreted sub-chunks.
// "VERT" and "TRIS" appear at most once each and may be left out only when their count is 0.
// Every vertex index is below the vertex count.
#pragma once

#include <cstdint>

#include "common/coding.h"

namespace vxm_format {

// A chunk id read as a little-endian uint32 from its four bytes.
constexpr uint32_t ChunkId(const char (&text)[5]) { return DecodeFixed32(text); }

constexpr uint32_t kMagic = ChunkId("VXMF");
constexpr uint32_t kVersion = 1;
constexpr int kFileHeaderSize = 8;
constexpr int kChunkHeaderSize = 8;

constexpr uint32_t kObjectChunk = ChunkId("OBJC");
constexpr uint32_t kMeshHeaderChunk = ChunkId("MHDR");
constexpr uint32_t kVertexChunk = ChunkId("VERT");
constexpr uint32_t kTriangleChunk = ChunkId("TRIS");

constexpr int kNameSize = 16;
constexpr uint32_t kMeshHeaderSize = 2 * kNameSize + 3 * 4;
constexpr uint32_t kVertexSize = 12;
constexpr uint32_t kTriangleSize = 32;

constexpr uint32_t kMeshKind = 0;

}  // namespace vxm_format
