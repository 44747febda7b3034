#include "platform/shared_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace platform {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

FileAccess append_to_file(const std::string& path, std::string_view bytes, std::string_view first_bytes, bool flush) {
    FileLock lock;
    if (FileAccess locked = FileLock::acquire(path, lock); locked != FileAccess::Done) return locked;
    Descriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (file.get() < 0) return FileAccess::Failed;
    struct stat st {};
    if (fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) return FileAccess::Failed;
    if (st.st_size == 0 && !write_all(file.get(), first_bytes)) return FileAccess::Failed;
    if (!write_all(file.get(), bytes)) return FileAccess::Failed;
    if (flush && fsync(file.get()) != 0) return FileAccess::Failed;
    return FileAccess::Done;
}

FileAccess read_file(const std::string& path, std::string& bytes) {
    bytes.clear();
    Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return FileAccess::Failed;
    char chunk[1 << 16];
    for (;;) {
        ssize_t n = read(file.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FileAccess::Failed;
        if (n == 0) return FileAccess::Done;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
}

bool write_flushed_file(const std::string& path, std::string_view bytes) {
    Descriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    return file.get() >= 0 && write_all(file.get(), bytes) && fsync(file.get()) == 0;
}

bool replace_file(const std::string& staging, const std::string& target) {
    return std::rename(staging.c_str(), target.c_str()) == 0;
}

bool remove_file(const std::string& path) { return unlink(path.c_str()) == 0 || errno == ENOENT; }

// A lock file that stays beside the journal, locked with flock: a lock on a
// file that could vanish would be a lock on nothing.
FileAccess FileLock::acquire(const std::string& path, FileLock& lock) {
    int fd = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return FileAccess::Failed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return errno == EWOULDBLOCK ? FileAccess::Busy : FileAccess::Failed;
    }
    lock = FileLock();
    lock.handle_ = fd;
    return FileAccess::Done;
}

bool FileLock::held_now(const std::string& path) {
    Descriptor probe(open((path + ".lock").c_str(), O_RDWR | O_CLOEXEC));
    if (probe.get() < 0) return false;
    if (flock(probe.get(), LOCK_EX | LOCK_NB) == 0) return false;  // closing the probe lets go again
    return errno == EWOULDBLOCK;
}

FileLock::~FileLock() {
    if (held()) close(static_cast<int>(handle_));
}

FileLock::FileLock(FileLock&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (held()) close(static_cast<int>(handle_));
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

std::string local_app_data_directory(const std::string& program_folder_name) {
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
        base = data;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.local/share";
    }
    if (base.empty()) return {};
    mkdir(base.c_str(), 0755);
    std::string directory = base + "/" + program_folder_name;
    mkdir(directory.c_str(), 0755);
    return directory;
}

}  // namespace platform
