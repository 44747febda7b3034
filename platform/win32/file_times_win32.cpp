#include "platform/file_times.h"
#include "platform/win32/text.h"

#include <windows.h>

namespace platform {

std::optional<std::int64_t> last_write_time(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(win32::file_system_path(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    // 100-nanosecond ticks since 1601-01-01.
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    constexpr std::int64_t kSeconds1601To1970 = 11644473600LL;
    return static_cast<std::int64_t>(ticks / 10000000) - kSeconds1601To1970;
}

}  // namespace platform
