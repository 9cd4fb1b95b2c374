// CRC-32 (reflected polynomial 0xEDB88320, as in zlib and PKZIP) of a name, with a to z taken
// as capitals, so that names differing only in ASCII letter case share a CRC.
#pragma once

#include <cstdint>

// seed 0 starts a new CRC; a previous result continues it over the concatenated texts.
uint32_t CrcTextNoCase(uint32_t seed, const char* text);
