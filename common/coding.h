// Little-endian 32-bit words, the byte order of every file format here. Templates over the byte
// type so that text (char) and file bytes (unsigned char) both read, at compile time too.
#pragma once

#include <cstdint>

template <typename Byte>
constexpr void EncodeFixed32(Byte* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<Byte>(value >> (8 * i));
}

template <typename Byte>
constexpr uint32_t DecodeFixed32(const Byte* in) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
  return value;
}
