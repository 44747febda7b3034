#include "platform/clock.h"

#include <windows.h>

#include <cstdio>

namespace platform {

std::string local_time_text() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

std::optional<CivilTime> local_time_at(std::int64_t unix_seconds) {
    // FILETIME counts 100-ns steps since 1601.
    constexpr std::int64_t kEpochGap = 11644473600LL;
    if (unix_seconds < -kEpochGap || unix_seconds > 900000000000LL) return std::nullopt;
    const auto ticks = static_cast<std::uint64_t>(unix_seconds + kEpochGap) * 10000000ULL;
    FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&file, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return std::nullopt;
    }
    return CivilTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

std::uint32_t process_id() { return GetCurrentProcessId(); }

}  // namespace platform
