// Test helpers: the bytes of little-endian words, for writing file bytes by hand.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "common/coding.h"

inline std::string Word32(uint32_t value) {
  std::string bytes(4, '\0');
  EncodeFixed32(bytes.data(), value);
  return bytes;
}

inline std::string Float32(float value) {
  uint32_t word;
  memcpy(&word, &value, 4);
  return Word32(word);
}
