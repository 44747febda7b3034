#include "platform/file_rename.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool rename_file_no_replace(const std::string& from, const std::string& to) {
#if defined(__linux__)
    // The kernel checks and renames in one step. A file system that does not
    // know RENAME_NOREPLACE refuses with EINVAL; that stays a failure, since
    // any fallback would leave a moment in which the target could be replaced.
    return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
#else
    // link() fails when the target exists, so no file is ever replaced.
    if (link(from.c_str(), to.c_str()) != 0) return false;
    if (unlink(from.c_str()) != 0) {
        unlink(to.c_str());
        return false;
    }
    return true;
#endif
}

std::optional<std::string> name_on_disk(const std::string& path) {
    // The file systems the portable build serves compare names exactly: an
    // entry that path reaches bears path's own last component.
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return std::nullopt;
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace platform
