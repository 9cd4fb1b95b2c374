// String payloads of the .tdb format.
#include "tdb/payload.h"

#include <bit>
#include <climits>
#include <cstring>
#include <utility>

#include "common/coding.h"

// UTF-16 payloads are read and written as the strings lie in memory.
static_assert(std::endian::native == std::endian::little);

namespace {

// Reads the payload straight into a new buffer, which then becomes the text's (its length is
// counted when first asked for). Every unit but the last goes straight in; the last unit (with
// the odd byte of a UTF-16 payload) is read apart, so that when it is the terminator, as every
// writer writes it, the buffer needs no room beyond the payload. An empty text keeps the
// string's present buffer, or none.
template <typename CharT>
bool ReadPayload(ChunkReaderClass& reader, uint32_t length, BasicStringClass<CharT>& text) {
  constexpr uint32_t kUnit = sizeof(CharT);
  uint32_t units = length / kUnit;
  if (units >= INT32_MAX) return false;
  uint32_t head = units > 0 ? (units - 1) * kUnit : 0;
  uint32_t tail_length = length - head;
  unsigned char tail[2 * kUnit] = {};
  BasicStringClass<CharT> fresh;
  if (!fresh.TryAcquireBuffer(units > 0 ? static_cast<int>(units) : 1)) return false;
  CharT* chars = fresh.Chars();
  if (head > 0 && reader.Read(chars, head) != head) return true;
  if (tail_length > 0 && reader.Read(tail, tail_length) != tail_length) return true;
  CharT last = units == 0   ? 0
               : kUnit == 1 ? static_cast<CharT>(tail[0])
                            : static_cast<CharT>(DecodeFixed16(tail));
  if (last == 0) {
    chars[units > 0 ? units - 1 : 0] = 0;
  } else {
    // No terminator at the end: one unit more.
    BasicStringClass<CharT> longer;
    if (!longer.TryAcquireBuffer(static_cast<int>(units) + 1)) return false;
    memcpy(longer.Chars(), chars, head);
    longer.Chars()[units - 1] = last;
    longer.Chars()[units] = 0;
    fresh = std::move(longer);
    chars = fresh.Chars();
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
  uint32_t n = (static_cast<uint32_t>(text.Length()) + 1) * 2;
  return writer.Write(text.Chars(), n) == n;
}
