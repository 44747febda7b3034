#include "platform/file_identity.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <windows.h>

#include <vector>

namespace platform {
namespace {

std::uint64_t joined(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

std::uint64_t filetime_of(const LARGE_INTEGER& time) { return static_cast<std::uint64_t>(time.QuadPart); }

win32::UniqueHandle open_for_attributes(const std::string& path, DWORD access) {
    // Backup semantics open directories too; share everything, so nothing of
    // the user's is kept from its work.
    return win32::UniqueHandle(CreateFileW(
        win32::file_system_path(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

}  // namespace

// One pass of the directory's own listing, which carries each entry's file
// index with its size and times: no entry is opened.
bool list_entry_identities(const std::string& directory, const IdentitySink& on_entry) {
    win32::UniqueHandle dir = open_for_attributes(directory, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES);
    if (dir.get() == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION volume{};
    if (!GetFileInformationByHandle(dir.get(), &volume)) return false;
    std::vector<unsigned char> buffer(64 * 1024);
    for (FILE_INFO_BY_HANDLE_CLASS step = FileIdBothDirectoryRestartInfo;; step = FileIdBothDirectoryInfo) {
        if (!GetFileInformationByHandleEx(dir.get(), step, buffer.data(), static_cast<DWORD>(buffer.size()))) {
            return GetLastError() == ERROR_NO_MORE_FILES;
        }
        std::size_t offset = 0;
        for (;;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + offset);
            std::wstring_view wide(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (wide != L"." && wide != L"..") {
                EntryIdentity entry;
                entry.is_directory = (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                entry.identity.volume = volume.dwVolumeSerialNumber;
                entry.identity.index = static_cast<std::uint64_t>(info->FileId.QuadPart);
                entry.identity.size = static_cast<std::uint64_t>(info->EndOfFile.QuadPart);
                entry.identity.write_time = filetime_of(info->LastWriteTime);
                on_entry(win32::narrow(wide), entry);
            }
            if (info->NextEntryOffset == 0) break;
            offset += info->NextEntryOffset;
        }
    }
}

std::optional<EntryIdentity> entry_identity(const std::string& path) {
    win32::UniqueHandle file = open_for_attributes(path, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION info{};
    if (file.get() == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    EntryIdentity entry;
    entry.is_directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.identity.volume = info.dwVolumeSerialNumber;
    entry.identity.index = joined(info.nFileIndexHigh, info.nFileIndexLow);
    entry.identity.size = joined(info.nFileSizeHigh, info.nFileSizeLow);
    entry.identity.write_time = joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return entry;
}

bool look_up(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(win32::file_system_path(path).c_str(), GetFileExInfoStandard, &data) != FALSE;
}

}  // namespace platform
