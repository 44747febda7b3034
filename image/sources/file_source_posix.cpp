#include "image/sources/byte_sources.h"
#include "image/sources/header_reads.h"
#include "image/sources/read_ahead_source.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging {

namespace {

class PosixFileSource final : public ByteSource {
public:
    PosixFileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    ~PosixFileSource() override { close(fd_); }
    PosixFileSource(const PosixFileSource&) = delete;
    PosixFileSource& operator=(const PosixFileSource&) = delete;

    std::uint64_t size() const override { return size_; }

    std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        std::size_t done = 0;
        while (done < out.size() && offset + done < size_) {
            ssize_t n = pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

private:
    int fd_;
    std::uint64_t size_;
};

}  // namespace

std::unique_ptr<ByteSource> open_file_source(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<ReadAheadSource>(
        std::make_unique<PosixFileSource>(fd, static_cast<std::uint64_t>(st.st_size)));
}

FileHeader read_file_header(const std::string& path, std::size_t max_bytes) {
    FileHeader header;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return header;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        header.size = static_cast<std::uint64_t>(st.st_size);
        header.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(max_bytes, header.size)));
        std::size_t done = 0;
        while (done < header.bytes.size()) {
            ssize_t n = pread(fd, header.bytes.data() + done, header.bytes.size() - done, static_cast<off_t>(done));
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        header.bytes.resize(done);
        header.opened = true;
    }
    close(fd);
    return header;
}

}  // namespace imaging
