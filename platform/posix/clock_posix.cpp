#include "platform/clock.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace platform {

std::string local_time_text() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

std::optional<CivilTime> local_time_at(std::int64_t unix_seconds) {
    const auto moment = static_cast<std::time_t>(unix_seconds);
    if (static_cast<std::int64_t>(moment) != unix_seconds) return std::nullopt;
    std::tm t{};
    if (!localtime_r(&moment, &t)) return std::nullopt;
    return CivilTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

std::uint32_t process_id() { return static_cast<std::uint32_t>(getpid()); }

}  // namespace platform
