#include "platform/file_rename.h"

#include <fcntl.h>
#include <stdio.h>
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

}  // namespace platform
