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
    // The entry the path opens, as the file system names it: under Wine a
    // name cut at the Linux limit still opens by its full spelling.
    win32::UniqueHandle file(CreateFileW(win32::file_system_path(path).c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.get() != INVALID_HANDLE_VALUE) {
        std::wstring final_path(MAX_PATH, L'\0');
        for (int attempt = 0; attempt < 2; ++attempt) {
            DWORD n = GetFinalPathNameByHandleW(file.get(), final_path.data(), static_cast<DWORD>(final_path.size()),
                                                FILE_NAME_NORMALIZED);
            if (n == 0) break;
            if (n < final_path.size()) {
                final_path.resize(n);
                std::size_t separator = final_path.find_last_of(L"\\/");
                return win32::narrow(final_path.substr(separator == std::wstring::npos ? 0 : separator + 1));
            }
            final_path.resize(n + 1);
        }
    }
    WIN32_FIND_DATAW found{};
    win32::UniqueFindHandle search(FindFirstFileExW(win32::file_system_path(path).c_str(), FindExInfoBasic, &found,
                                                    FindExSearchNameMatch, nullptr, 0));
    if (search.get() == INVALID_HANDLE_VALUE) return std::nullopt;
    return win32::narrow(found.cFileName);
}

}  // namespace platform
