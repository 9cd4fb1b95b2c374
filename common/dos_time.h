// DOS date and time, as FAT directories and many archive formats store them:
//   date = (year - 1980) << 9 | month << 5 | day
//   time = hour << 11 | minute << 5 | second / 2
// in local time. A combined value holds the date in the high 16 bits, the time in the low 16.
#pragma once

#include <cstdint>

// 0 when the time is outside 1980..2107.
uint32_t DosDateTimeFromUnix(int64_t seconds);
// False when the fields are out of range.
bool UnixFromDosDateTime(uint32_t value, int64_t* seconds);
