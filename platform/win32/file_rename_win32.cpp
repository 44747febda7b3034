#include "platform/file_rename.h"
#include "platform/win32/text.h"

#include <windows.h>

namespace platform {

bool rename_file_no_replace(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the call fails when the target exists;
    // without MOVEFILE_COPY_ALLOWED it never copies across volumes.
    return MoveFileExW(win32::file_system_path(from).c_str(), win32::file_system_path(to).c_str(), 0) != FALSE;
}

}  // namespace platform
