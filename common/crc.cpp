// The CRC table is built at compile time from the polynomial.
#include "common/crc.h"

#include <array>

namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();
static_assert(kTable[1] == 0x77073096u && kTable[255] == 0x2D02EF8Du);

}  // namespace

uint32_t CrcTextNoCase(uint32_t seed, const char* text) {
  uint32_t c = ~seed;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    uint32_t b = (*p >= 'a' && *p <= 'z') ? *p - ('a' - 'A') : *p;
    c = (c >> 8) ^ kTable[(c ^ b) & 0xFF];
  }
  return ~c;
}
