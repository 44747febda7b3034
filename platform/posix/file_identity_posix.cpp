#include "platform/file_identity.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace platform {
namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

// Seconds between 1601-01-01 and 1970-01-01, the two epochs.
constexpr std::uint64_t kEpochGap = 11644473600ULL;

EntryIdentity identity_of(const struct stat& st) {
    EntryIdentity entry;
    entry.is_directory = S_ISDIR(st.st_mode);
    entry.identity.volume = static_cast<std::uint32_t>(st.st_dev);
    entry.identity.index = static_cast<std::uint64_t>(st.st_ino);
    entry.identity.size = static_cast<std::uint64_t>(st.st_size);
    entry.identity.write_time = (static_cast<std::uint64_t>(st.st_mtim.tv_sec) + kEpochGap) * 10000000ULL +
                                static_cast<std::uint64_t>(st.st_mtim.tv_nsec) / 100;
    return entry;
}

}  // namespace

bool list_entry_identities(const std::string& directory, const IdentitySink& on_entry) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
    if (!dir) return false;
    while (const dirent* entry = readdir(dir.get())) {
        std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        // The entry itself, not what a link points to: a rename moves the link.
        struct stat st {};
        if (fstatat(dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        on_entry(name, identity_of(st));
    }
    return true;
}

std::optional<EntryIdentity> entry_identity(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return std::nullopt;
    return identity_of(st);
}

bool look_up(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

}  // namespace platform
