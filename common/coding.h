// Little-endian 16- and 32-bit words, the byte order of every file format here. Templates over the byte
// type so that text (char) and file bytes (unsigned char) both read, at compile time too.
#pragma once

#include <cstdint>

template <typename Byte>
constexpr uint16_t DecodeFixed16(const Byte* in) {
  return static_cast<uint16_t>(static_cast<unsigned char>(in[0]) | static_cast<unsigned char>(in[1]) << 8);
}

// Written out byte by byte, not as loops: the compiler then makes each a single 32-bit move.
template <typename Byte>
constexpr void EncodeFixed32(Byte* out, uint32_t value) {
  out[0] = static_cast<Byte>(value);
  out[1] = static_cast<Byte>(value >> 8);
  out[2] = static_cast<Byte>(value >> 16);
  out[3] = static_cast<Byte>(value >> 24);
}

template <typename Byte>
constexpr uint32_t DecodeFixed32(const Byte* in) {
  auto byte = [in](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(in[i])); };
  return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}
