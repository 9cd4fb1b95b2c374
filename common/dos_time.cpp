// Conversion between seconds since 1970 and DOS date and time, through local time.
#include "common/dos_time.h"

#include <ctime>

namespace {

bool LocalTime(time_t t, struct tm* local) {
#if defined(_WIN32)
  return localtime_s(local, &t) == 0;
#else
  return localtime_r(&t, local) != nullptr;
#endif
}

}  // namespace

uint32_t DosDateTimeFromUnix(int64_t seconds) {
  time_t t = static_cast<time_t>(seconds);
  struct tm local;
  if (!LocalTime(t, &local)) return 0;
  int year = local.tm_year + 1900;
  if (year < 1980 || year > 2107) return 0;
  uint32_t date = static_cast<uint32_t>((year - 1980) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
  uint32_t time = static_cast<uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
  return date << 16 | time;
}

bool UnixFromDosDateTime(uint32_t value, int64_t* seconds) {
  uint32_t date = value >> 16, time = value & 0xFFFF;
  int day = date & 31, month = (date >> 5) & 15, year = static_cast<int>(date >> 9) + 1980;
  int second = (time & 31) * 2, minute = (time >> 5) & 63, hour = time >> 11;
  if (day < 1 || month < 1 || month > 12 || hour > 23 || minute > 59 || second > 59) return false;
  struct tm local = {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  time_t t = mktime(&local);
  if (t == static_cast<time_t>(-1)) return false;
  *seconds = t;
  return true;
}
