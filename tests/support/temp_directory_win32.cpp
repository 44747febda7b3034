#include "temp_directory.h"

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

using platform::win32::file_system_path;
using platform::win32::narrow;

namespace {

// Each entry of a directory but "." and "..", with its attributes.
template <class Visit>
void for_each_entry(const std::string& directory, Visit visit) {
    WIN32_FIND_DATAW found{};
    platform::win32::UniqueFindHandle search(FindFirstFileW(file_system_path(directory + "\\*").c_str(), &found));
    if (search.get() == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = narrow(found.cFileName);
        if (name != "." && name != "..") visit(name, found.dwFileAttributes);
    } while (FindNextFileW(search.get(), &found));
}

// Removes a directory and everything below it, however long the paths get;
// a link to another directory is removed without what it leads to.
void remove_tree(const std::string& directory) {
    for_each_entry(directory, [&](const std::string& name, DWORD attributes) {
        std::string entry = directory + "\\" + name;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            remove_tree(entry);
        } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveDirectoryW(file_system_path(entry).c_str());
        } else {
            SetFileAttributesW(file_system_path(entry).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file_system_path(entry).c_str());
        }
    });
    RemoveDirectoryW(file_system_path(directory).c_str());
}

}  // namespace

std::string read_file(const std::string& path) {
    platform::win32::UniqueHandle file(CreateFileW(file_system_path(path).c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                   nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    DWORD n = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
    return bytes;
}

TempDirectory::TempDirectory() {
    // The process id keeps parallel test programs apart, the count this
    // process's directories; a name left behind by an earlier process is skipped.
    static std::atomic<unsigned> made{0};
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        path_ = narrow(base) + "批量改名测试-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
        if (CreateDirectoryW(file_system_path(path_).c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw std::runtime_error("cannot make a temporary directory under " + narrow(base));
}

TempDirectory::~TempDirectory() { remove_tree(path_); }

std::string TempDirectory::name() const { return path_.substr(path_.rfind('\\') + 1); }

void TempDirectory::make_directory(const std::string& relative) const {
    if (!CreateDirectoryW(file_system_path(path(relative)).c_str(), nullptr)) {
        ADD_FAILURE() << "cannot make the directory " << path(relative);
    }
}

bool write_file(const std::string& path, std::string_view content) {
    platform::win32::UniqueHandle file(
        CreateFileW(file_system_path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file.get() != INVALID_HANDLE_VALUE &&
           WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size();
}

void TempDirectory::write(const std::string& relative, std::string_view content) const {
    if (!write_file(path(relative), content)) ADD_FAILURE() << "cannot write the file " << path(relative);
}

bool TempDirectory::exists(const std::string& relative) const {
    return GetFileAttributesW(file_system_path(path(relative)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::map<std::string, std::string> TempDirectory::contents(const std::string& relative) const {
    std::string directory = relative.empty() ? path_ : path(relative);
    std::map<std::string, std::string> out;
    for_each_entry(directory, [&](const std::string& name, DWORD attributes) {
        out[name] = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? "<目录>" : read_file(directory + "\\" + name);
    });
    return out;
}
