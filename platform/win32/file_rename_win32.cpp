#include "platform/file_rename.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <windows.h>

namespace platform {

bool rename_file_no_replace(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the call fails when the target exists;
    // without MOVEFILE_COPY_ALLOWED it never copies across volumes.
    return MoveFileExW(win32::file_system_path(from).c_str(), win32::file_system_path(to).c_str(), 0) != FALSE;
}

std::optional<std::string> name_on_disk(const std::string& path) {
    WIN32_FIND_DATAW found{};
    win32::UniqueFindHandle search(FindFirstFileExW(win32::file_system_path(path).c_str(), FindExInfoBasic, &found,
                                                    FindExSearchNameMatch, nullptr, 0));
    if (search.get() == INVALID_HANDLE_VALUE) return std::nullopt;
    return win32::narrow(found.cFileName);
}

}  // namespace platform
