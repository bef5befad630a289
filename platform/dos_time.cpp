#include "platform/dos_time.h"

#include <ctime>

namespace tarn {

DosStamp makeDosStamp(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1980) return DosStamp{0, (1 << 5) | 1};  // 1980-01-01 00:00:00
  if (year > 2107) {
    year = 2107;
    month = 12;
    day = 31;
    hour = 23;
    minute = 59;
    second = 58;
  }
  DosStamp s;
  s.time = static_cast<std::uint16_t>((hour << 11) | (minute << 5) | (second / 2));
  s.date = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  return s;
}

DosStamp dosStampFromEpoch(std::int64_t seconds) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  // Files load on several threads at once.
  if (!localtime_r(&t, &local)) return makeDosStamp(1980, 1, 1, 0, 0, 0);
  return makeDosStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
}

}  // namespace tarn
