#include "platform/directory_search.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <windows.h>

namespace platform {
namespace {

// While a path is probed, a drive that is not ready (an empty card reader, a
// lost network drive) fails the call instead of asking for a disk.
class QuietDriveErrors {
public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

bool is_dot_entry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

bool is_directory(const WIN32_FIND_DATAW& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Every entry of the directory: the caller tests the names itself, so that
// wildcards match the same names on every platform and no 8.3 short name does.
template <typename Keep>
bool read_directory(const std::string& directory, Keep keep, const NameSink& on_name) {
    if (directory.empty()) return false;
    std::string search = directory;
    if (search.back() != '\\' && search.back() != '/') search += '\\';
    search += '*';

    QuietDriveErrors quiet;
    WIN32_FIND_DATAW data;
    win32::UniqueFindHandle find(FindFirstFileExW(win32::file_system_path(search).c_str(), FindExInfoBasic, &data,
                                                  FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (find.get() == INVALID_HANDLE_VALUE) {
        // An empty root directory has no "." entry: nothing found is still a read.
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    do {
        if (is_dot_entry(data.cFileName)) continue;
        std::string name = win32::narrow(data.cFileName);
        if (keep(data, name)) on_name(name);
    } while (FindNextFileW(find.get(), &data));
    return true;
}

// Calls a Win32 function that fills a wide buffer and tells the length it
// needs when the buffer is too small.
template <typename Fill>
std::wstring fill_wide(Fill fill) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD n = fill(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(n);
    }
    return {};
}

}  // namespace

bool find_files(const std::string& directory, const NameTest& wanted, const NameSink& on_name) {
    auto keep = [&](const WIN32_FIND_DATAW& data, const std::string& name) {
        return !is_directory(data) && wanted(name);
    };
    return read_directory(directory, keep, on_name);
}

bool find_subdirectories(const std::string& directory, const NameSink& on_name) {
    auto keep = [](const WIN32_FIND_DATAW& data, const std::string&) { return is_directory(data); };
    return read_directory(directory, keep, on_name);
}

bool list_entries(const std::string& directory, const NameSink& on_name) {
    return read_directory(directory, [](const WIN32_FIND_DATAW&, const std::string&) { return true; }, on_name);
}

bool is_listable_directory(const std::string& directory) {
    if (directory.empty()) return false;
    std::string search = directory;
    if (search.back() != '\\' && search.back() != '/') search += '\\';
    QuietDriveErrors quiet;
    DWORD attributes = GetFileAttributesW(win32::file_system_path(search).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    search += '*';
    WIN32_FIND_DATAW data;
    win32::UniqueFindHandle find(FindFirstFileExW(win32::file_system_path(search).c_str(), FindExInfoBasic, &data,
                                                  FindExSearchNameMatch, nullptr, 0));
    return find.get() != INVALID_HANDLE_VALUE || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::vector<std::string> list_drives() {
    std::wstring strings = fill_wide([](DWORD size, wchar_t* buffer) { return GetLogicalDriveStringsW(size, buffer); });
    std::vector<std::string> drives;
    // "C:\", "D:\", ... each ended by a null.
    for (std::size_t i = 0; i < strings.size();) {
        std::size_t end = strings.find(L'\0', i);
        if (end == std::wstring::npos) end = strings.size();
        std::wstring_view root(strings.data() + i, end - i);
        if (root.size() >= 2 && root[1] == L':') drives.push_back(win32::narrow(root.substr(0, 1)));
        i = end + 1;
    }
    return drives;
}

std::string drive_current_directory(const std::string& drive) {
    if (drive.empty()) return {};
    return full_path(drive + ":");
}

std::string current_directory() {
    return win32::narrow(fill_wide([](DWORD size, wchar_t* buffer) { return GetCurrentDirectoryW(size, buffer); }));
}

std::string full_path(const std::string& path) {
    if (path.empty()) return {};
    std::wstring wide = win32::widen(path);
    return win32::narrow(fill_wide([&](DWORD size, wchar_t* buffer) {
        return GetFullPathNameW(wide.c_str(), size, buffer, nullptr);
    }));
}

}  // namespace platform
