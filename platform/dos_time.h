#pragma once

#include <cstdint>

namespace tarn {

/// A local date and time packed the DOS way: the time word holds seconds/2
/// (bits 0-4), minutes (5-10) and hours (11-15); the date word the day
/// (bits 0-4), month (5-8) and years since 1980 (9-15).
struct DosStamp {
  std::uint16_t time = 0;
  std::uint16_t date = 0;

  int second() const { return (time & 0x1F) * 2; }
  int minute() const { return (time >> 5) & 0x3F; }
  int hour() const { return time >> 11; }
  int day() const { return date & 0x1F; }
  int month() const { return (date >> 5) & 0x0F; }
  int year() const { return 1980 + (date >> 9); }

  friend bool operator==(const DosStamp&, const DosStamp&) = default;
};

/// Packs a local date and time; dates outside 1980..2107 are clamped to the
/// nearest representable one.
DosStamp makeDosStamp(int year, int month, int day, int hour, int minute, int second);

/// The stamp of a moment (seconds since the epoch) in the local time zone.
DosStamp dosStampFromEpoch(std::int64_t seconds);

}  // namespace tarn
