#include "platform/file_times.h"

#include <sys/stat.h>

namespace platform {

std::optional<std::int64_t> last_write_time(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::int64_t>(info.st_mtime);
}

}  // namespace platform
