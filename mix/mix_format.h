// The mix archive: one file holding many named files, which a reader finds by the CRC of their
// names. All integers are unsigned 32-bit little-endian; offsets count from the start of the file.
//
//   0          "MIX1" (4D 49 58 31)
//   4          offset of the index table
//   8          offset of the name table
//   12         0 (reserved)
//   16         data blocks, one per member, in the order the members were added. A block is the
//              member's bytes followed by 0 to 7 zero bytes, so that the next block, or the
//              index table after the last one, starts at a multiple of 8.
//   index      member count N, then N records of 12 bytes: name CRC, offset of the member's data
//              block, member size in bytes (padding not counted). Ascending by CRC compared as
//              unsigned values; records with equal CRCs ascending by name bytes.
//   index+4+12N  the name table: N again, then N records of one byte n (name length + 1)
//              followed by the name and a zero byte. Name record i belongs to index record i.
//
// A member name is the member's path below the packed folder, its components joined by single
// backslashes, letter case as found on disk. Its CRC is CrcTextNoCase(0, name): the CRC-32 of
// the name with a to z taken as A to Z. The length byte limits names to 254 bytes, and 32-bit
// offsets limit the whole archive to 2^31 - 1 bytes.
#pragma once

#include <cstdint>
#include <cstring>

#include "common/string_class.h"

constexpr char kMixMagic[4] = {'M', 'I', 'X', '1'};
constexpr int kMixHeaderSize = 16;
constexpr int kMixAlignment = 8;
constexpr int kMixIndexRecordSize = 12;
constexpr int kMixMaxNameLength = 254;
constexpr int64_t kMixMaxArchiveSize = INT32_MAX;

// The writer's and reader's record of one member.
struct MixIndexEntry {
  uint32_t CRC = 0;
  int32_t Offset = 0;
  int32_t Size = 0;
  NarrowStringClass Name;
};

// The order of members in the index: by CRC as unsigned values, then by name bytes.
inline bool MixOrderBefore(uint32_t crc_a, const char* name_a, uint32_t crc_b, const char* name_b) {
  if (crc_a != crc_b) return crc_a < crc_b;
  return strcmp(name_a, name_b) < 0;
}

// Zero bytes that follow a block ending at position.
inline int MixPadding(int64_t position) {
  return static_cast<int>((kMixAlignment - position % kMixAlignment) % kMixAlignment);
}
