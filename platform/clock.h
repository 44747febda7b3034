#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The local time now as "YYYY-MM-DD HH:MM:SS".
std::string local_time_text();

// A date and time of day as a clock shows it.
struct CivilTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The calendar's date and time a count of seconds since 1970-01-01 00:00
// stands for, with no time zone applied (proleptic Gregorian), and back.
CivilTime civil_time_of(std::int64_t seconds);
std::int64_t seconds_of(const CivilTime& time);

// What the computer's clock showed, in its own time zone and by that zone's
// rules for that date (summer time included), at a moment given in seconds
// since 1970-01-01 00:00 UTC; nothing for a moment it cannot show.
std::optional<CivilTime> local_time_at(std::int64_t unix_seconds);

// This process's id, which no other running process has.
std::uint32_t process_id();

}  // namespace platform
