#pragma once

#include <optional>
#include <string>
#include <string_view>

// Files that several copies of the program may use at once (the rename
// journal): each copy holds such a file alone for the moment it writes or
// reads it, and never keeps it open longer.
namespace platform {

enum class FileAccess {
    Done,
    Busy,    // another copy holds the file (or its lock) now: try again shortly
    Failed,  // it cannot be written or read here (a read-only folder, a directory of that name)
};

// Appends bytes at the end of path, holding the file alone meanwhile;
// creates it, with first_bytes before them, when it does not exist. With
// flush, the bytes are on the disk itself before it returns.
FileAccess append_to_file(const std::string& path, std::string_view bytes, std::string_view first_bytes, bool flush);

// The whole file; nothing when it is missing or cannot be read, Busy while
// another copy holds it.
FileAccess read_file(const std::string& path, std::string& bytes);

// Writes a new file whole and flushed, replacing any of that name (a staging file).
bool write_flushed_file(const std::string& path, std::string_view bytes);

// Moves staging onto target in one step, replacing it.
bool replace_file(const std::string& staging, const std::string& target);

// Removes a file; true when it is gone (or was never there).
bool remove_file(const std::string& path);

// A lock beside a shared file (its path plus ".lock"), held while the object
// lives and gone with it, also when the program is killed: the journal is
// rewritten under it, so that no copy appends meanwhile.
class FileLock {
public:
    // Busy when another copy holds it; Failed when it cannot be made there.
    static FileAccess acquire(const std::string& path, FileLock& lock);
    // Whether a living process (this one included) holds the lock of path
    // now; nothing is created to find out.
    static bool held_now(const std::string& path);

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return handle_ != kNone; }

private:
    static constexpr long long kNone = -1;
    long long handle_ = kNone;  // the platform's handle or descriptor
};

// Where a program keeps its files for one user when it cannot keep them
// beside itself: the local application-data known folder on Windows,
// $XDG_DATA_HOME (or ~/.local/share) elsewhere; created when missing. Empty
// when there is none.
std::string local_app_data_directory(const std::string& program_folder_name);

}  // namespace platform
