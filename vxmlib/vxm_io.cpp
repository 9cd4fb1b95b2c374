// Whole reads and writes over a FileClass.
#include "vxmlib/vxm_io.h"

#include "common/coding.h"

namespace vxm_io {

namespace {
// Largest piece handed to one Read or Write call.
constexpr uint32_t kPiece = 1u << 30;
}  // namespace

bool ReadAll(FileClass* file, void* buffer, uint32_t size) {
  unsigned char* out = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    uint32_t piece = size < kPiece ? size : kPiece;
    int n = file->Read(out, static_cast<int>(piece));
    if (n <= 0) return false;
    out += n;
    size -= static_cast<uint32_t>(n);
  }
  return true;
}

bool WriteAll(FileClass* file, const void* buffer, uint64_t size) {
  const unsigned char* in = static_cast<const unsigned char*>(buffer);
  while (size > 0) {
    uint64_t piece = size < kPiece ? size : kPiece;
    int n = file->Write(in, static_cast<int>(piece));
    if (n != static_cast<int>(piece)) return false;
    in += n;
    size -= piece;
  }
  return true;
}

bool WriteWord(FileClass* file, uint32_t value) {
  unsigned char bytes[4];
  EncodeFixed32(bytes, value);
  return WriteAll(file, bytes, 4);
}

bool WriteChunkHeader(FileClass* file, uint32_t id, uint64_t size) {
  if (size > UINT32_MAX) return false;
  unsigned char bytes[8];
  EncodeFixed32(bytes, id);
  EncodeFixed32(bytes + 4, static_cast<uint32_t>(size));
  return WriteAll(file, bytes, 8);
}

}  // namespace vxm_io
