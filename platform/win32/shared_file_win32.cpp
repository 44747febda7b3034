#include "platform/shared_file.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>

namespace platform {
namespace {

FileAccess failure_kind(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? FileAccess::Busy : FileAccess::Failed;
}

bool write_all(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// KNOWNFOLDERID FOLDERID_LocalAppData, spelled out so that no GUID library is needed.
constexpr GUID kLocalAppData = {0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};

}  // namespace

FileAccess append_to_file(const std::string& path, std::string_view bytes, std::string_view first_bytes, bool flush) {
    FileLock lock;
    if (FileAccess locked = FileLock::acquire(path, lock); locked != FileAccess::Done) return locked;
    win32::UniqueHandle file(CreateFileW(win32::file_system_path(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return failure_kind(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return FileAccess::Failed;
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file.get(), end, nullptr, FILE_END)) return FileAccess::Failed;
    if (size.QuadPart == 0 && !write_all(file.get(), first_bytes)) return FileAccess::Failed;
    if (!write_all(file.get(), bytes)) return FileAccess::Failed;
    if (flush && !FlushFileBuffers(file.get())) return FileAccess::Failed;
    return FileAccess::Done;
}

FileAccess read_file(const std::string& path, std::string& bytes) {
    bytes.clear();
    win32::UniqueHandle file(CreateFileW(win32::file_system_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return failure_kind(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return FileAccess::Failed;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr)) return FileAccess::Failed;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return FileAccess::Done;
}

bool write_flushed_file(const std::string& path, std::string_view bytes) {
    win32::UniqueHandle file(CreateFileW(win32::file_system_path(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.get() != INVALID_HANDLE_VALUE && write_all(file.get(), bytes) && FlushFileBuffers(file.get());
}

bool replace_file(const std::string& staging, const std::string& target) {
    return MoveFileExW(win32::file_system_path(staging).c_str(), win32::file_system_path(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool remove_file(const std::string& path) {
    return DeleteFileW(win32::file_system_path(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

FileAccess FileLock::acquire(const std::string& path, FileLock& lock) {
    const std::wstring lock_path = win32::file_system_path(path + ".lock");
    // Deleted when closed, also by the system when the program is killed.
    HANDLE handle = CreateFileW(lock_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        // A lock another copy is just letting go of is about to vanish.
        // A directory of that name is no lock and never goes away by itself.
        const DWORD attributes = GetFileAttributesW(lock_path.c_str());
        bool held_elsewhere = error == ERROR_SHARING_VIOLATION ||
                              (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                               !(attributes & FILE_ATTRIBUTE_DIRECTORY));
        return held_elsewhere ? FileAccess::Busy : FileAccess::Failed;
    }
    lock = FileLock();
    lock.handle_ = reinterpret_cast<long long>(handle);
    return FileAccess::Done;
}

bool FileLock::held_now(const std::string& path) {
    const std::wstring lock_path = win32::file_system_path(path + ".lock");
    win32::UniqueHandle probe(
        CreateFileW(lock_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe.get() != INVALID_HANDLE_VALUE) return false;  // a lock file nobody holds
    const DWORD error = GetLastError();
    // A holder opens it for itself alone; one letting go makes it vanish.
    const DWORD attributes = GetFileAttributesW(lock_path.c_str());
    return error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                                                !(attributes & FILE_ATTRIBUTE_DIRECTORY));
}

FileLock::~FileLock() {
    if (held()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

FileLock::FileLock(FileLock&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (held()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

std::string local_app_data_directory(const std::string& program_folder_name) {
    PWSTR known = nullptr;
    std::string base;
    if (SUCCEEDED(SHGetKnownFolderPath(kLocalAppData, KF_FLAG_CREATE, nullptr, &known)) && known) {
        base = win32::narrow(known);
    }
    CoTaskMemFree(known);
    if (base.empty()) return {};
    std::string directory = base + "\\" + program_folder_name;
    CreateDirectoryW(win32::file_system_path(directory).c_str(), nullptr);
    return directory;
}

}  // namespace platform
