#include "platform/directory_search.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string_view>

namespace platform {
namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

bool is_dot_entry(const char* name) { return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')); }

// Whether an entry is a directory; links are followed, so a link to a
// directory counts as one and a dangling link as a file.
bool is_directory_entry(DIR* dir, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
    struct stat st {};
    return fstatat(dirfd(dir), entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

template <typename Keep>
bool read_directory(const std::string& directory, Keep keep, const NameSink& on_name) {
    UniqueDir dir(opendir(directory.c_str()));
    if (!dir) return false;
    while (const dirent* entry = readdir(dir.get())) {
        if (is_dot_entry(entry->d_name)) continue;
        if (keep(dir.get(), *entry)) on_name(entry->d_name);
    }
    return true;
}

}  // namespace

bool find_files(const std::string& directory, const NameTest& wanted, const NameSink& on_name) {
    auto keep = [&](DIR* dir, const dirent& entry) {
        // The name test first: it is cheap and rules most entries out.
        return wanted(entry.d_name) && !is_directory_entry(dir, entry);
    };
    return read_directory(directory, keep, on_name);
}

bool find_subdirectories(const std::string& directory, const NameSink& on_name) {
    auto keep = [](DIR* dir, const dirent& entry) { return is_directory_entry(dir, entry); };
    return read_directory(directory, keep, on_name);
}

bool list_entries(const std::string& directory, const NameSink& on_name) {
    return read_directory(directory, [](DIR*, const dirent&) { return true; }, on_name);
}

bool is_listable_directory(const std::string& directory) {
    if (directory.empty()) return false;
    return UniqueDir(opendir(directory.c_str())) != nullptr;
}

std::vector<std::string> list_drives() { return {"/"}; }

std::string drive_current_directory(const std::string&) { return current_directory(); }

std::string current_directory() {
    std::string buffer(4096, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) return buffer.c_str();
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::string full_path(const std::string& path) {
    if (path.empty()) return {};
    std::string absolute = path;
    if (path[0] != '/') {
        std::string base = current_directory();
        if (base.empty()) return {};
        absolute = base + "/" + path;
    }
    std::vector<std::string_view> parts;
    std::string_view rest = absolute;
    while (!rest.empty()) {
        std::size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (std::string_view part : parts) {
        result += '/';
        result += part;
    }
    return result.empty() ? "/" : result;
}

}  // namespace platform
