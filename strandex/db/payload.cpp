// String payloads of the .tdb format.
#include "strandex/db/payload.h"

#include <bit>
#include <climits>
#include <utility>

#include "common/coding.h"

namespace {

// Reads the payload straight into a new buffer of its own size and one unit more, which then
// becomes the text's (its length is counted when first asked for). An empty text keeps the
// string's present buffer, or none.
template <typename CharT>
bool ReadPayload(ChunkReaderClass& reader, uint32_t length, BasicStringClass<CharT>& text) {
  uint32_t units = length / sizeof(CharT);
  if (units >= INT32_MAX) return false;
  BasicStringClass<CharT> fresh;
  if (!fresh.TryAcquireBuffer(static_cast<int>(units) + 1)) return false;
  CharT* chars = fresh.Chars();
  if (length > 0 && reader.Read(chars, length) != length) return true;
  chars[units] = 0;
  if constexpr (sizeof(CharT) == 2 && std::endian::native != std::endian::little) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(chars);
    for (uint32_t i = 0; i < units; ++i)
      chars[i] = static_cast<CharT>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  if (chars[0] == 0) return text.TryAssign(chars);
  text = std::move(fresh);
  return true;
}

}  // namespace

bool ReadNarrowPayload(ChunkReaderClass& reader, uint32_t length, NarrowStringClass& text) {
  return ReadPayload(reader, length, text);
}

bool ReadWidePayload(ChunkReaderClass& reader, uint32_t length, UnicodeStringClass& text) {
  return ReadPayload(reader, length, text);
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
