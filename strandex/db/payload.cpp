// String payloads of the .tdb format.
#include "strandex/db/payload.h"

#include <bit>
#include <cstring>
#include <new>

#include "common/coding.h"

namespace {

// Bytes of a payload, on the stack when short, else on the heap; always followed by two zero
// bytes so that either kind of text is terminated.
class PayloadBuffer {
 public:
  explicit PayloadBuffer(uint32_t length) : length(length) {
    data = length + 2 <= sizeof(local) ? local : new (std::nothrow) unsigned char[length + 2];
    if (data) data[length] = data[length + 1] = 0;
  }
  ~PayloadBuffer() {
    if (data != local) delete[] data;
  }
  PayloadBuffer(const PayloadBuffer&) = delete;
  PayloadBuffer& operator=(const PayloadBuffer&) = delete;

  unsigned char* Data() { return data; }
  bool ReadFrom(ChunkReaderClass& reader) { return length == 0 || reader.Read(data, length) == length; }

 private:
  uint32_t length;
  unsigned char* data;
  alignas(char16_t) unsigned char local[516];
};

}  // namespace

bool ReadNarrowPayload(ChunkReaderClass& reader, uint32_t length, NarrowStringClass& text) {
  PayloadBuffer buffer(length);
  if (!buffer.Data()) return false;
  if (!buffer.ReadFrom(reader)) return true;
  return text.TryAssign(reinterpret_cast<const char*>(buffer.Data()));
}

bool ReadWidePayload(ChunkReaderClass& reader, uint32_t length, UnicodeStringClass& text) {
  PayloadBuffer buffer(length);
  if (!buffer.Data()) return false;
  if (!buffer.ReadFrom(reader)) return true;
  unsigned char* bytes = buffer.Data();
  uint32_t units = length / 2;
  bytes[2 * units] = bytes[2 * units + 1] = 0;
  char16_t* wide = reinterpret_cast<char16_t*>(bytes);
  if constexpr (std::endian::native != std::endian::little) {
    for (uint32_t i = 0; i < units; ++i)
      wide[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return text.TryAssign(wide);
}

void ReadIntPayload(ChunkReaderClass& reader, int32_t& value) {
  unsigned char b[4];
  if (reader.Read(b, 4) != 4) return;
  value = static_cast<int32_t>(DecodeFixed32(b));
}

bool WriteNarrowPayload(ChunkWriterClass& writer, const NarrowStringClass& text) {
  uint32_t n = static_cast<uint32_t>(text.Length()) + 1;
  return writer.Write(text.Chars(), n) == n;
}

bool WriteWidePayload(ChunkWriterClass& writer, const UnicodeStringClass& text) {
  uint32_t units = static_cast<uint32_t>(text.Length()) + 1;
  if constexpr (std::endian::native == std::endian::little) {
    return writer.Write(text.Chars(), units * 2) == units * 2;
  } else {
    for (uint32_t i = 0; i < units; ++i) {
      unsigned char b[2] = {static_cast<unsigned char>(text.Chars()[i]),
                            static_cast<unsigned char>(text.Chars()[i] >> 8)};
      if (writer.Write(b, 2) != 2) return false;
    }
    return true;
  }
}
