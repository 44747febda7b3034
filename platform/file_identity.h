#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What tells one file from another whatever its name: the volume it is on and
// its index there (Windows' file index, the inode elsewhere), which a rename
// keeps; with its size and last write time for a person reading a record.
struct FileIdentity {
    std::uint32_t volume = 0;      // volume serial number
    std::uint64_t index = 0;       // 0 when the file system does not tell
    std::uint64_t size = 0;        // bytes
    std::uint64_t write_time = 0;  // last write, in 100-ns steps since 1601 (a FILETIME)

    bool operator==(const FileIdentity&) const = default;
};

// True when two identities name the same file, as far as can be told: the
// same index on the same volume, and the same size and last write time, since
// a file system may give a new file the index of one just deleted (Linux
// does, and Wine passes its inode numbers on as file indexes).
bool is_same_file(const FileIdentity& a, const FileIdentity& b);

struct EntryIdentity {
    bool is_directory = false;
    FileIdentity identity;
};

// Hands on every entry of a directory (never "." or "..") with what it is, in
// one pass over the directory. False when it could not be read.
using IdentitySink = std::function<void(std::string_view name, const EntryIdentity& entry)>;
bool list_entry_identities(const std::string& directory, const IdentitySink& on_entry);

// The same for the one entry a path reaches; nothing when there is none.
std::optional<EntryIdentity> entry_identity(const std::string& path);

// Asks the file system whether path reaches an entry, attributes only:
// nothing is opened.
bool look_up(const std::string& path);

// The same for every path, several at a time, the answers forgotten. A
// listing of their directory that follows is answered from what the file
// system's client has just learned: on a folder that answers slowly (a
// network share), Wine asks about each entry of a listing in turn.
void look_up_together(const std::vector<std::string>& paths);

}  // namespace platform
