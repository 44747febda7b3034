#include "naming/exact_rename.h"

#include "platform/file_rename.h"
#include "platform/path.h"

namespace naming {
namespace {

std::string last_component(const std::string& path) {
    std::size_t separator = path.find_last_of(std::string("/") + platform::kPathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string directory_of(const std::string& path) {
    std::size_t separator = path.find_last_of(std::string("/") + platform::kPathSeparator);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

bool rename_exactly(const std::string& from, const std::string& to) {
    if (!platform::rename_file_no_replace(from, to)) return false;
    std::optional<std::string> kept = platform::name_on_disk(to);
    if (kept && *kept == last_component(to)) return true;
    if (kept) {
        std::string kept_path = directory_of(to) + *kept;
        if (kept_path != from) platform::rename_file_no_replace(kept_path, from);
    }
    return false;
}

}  // namespace naming
