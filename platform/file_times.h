#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// When a file was last written, in seconds since 1970-01-01 00:00 UTC;
// nothing when it cannot be asked.
std::optional<std::int64_t> last_write_time(const std::string& path);

}  // namespace platform
