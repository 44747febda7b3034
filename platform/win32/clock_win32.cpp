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

std::uint32_t process_id() { return GetCurrentProcessId(); }

}  // namespace platform
