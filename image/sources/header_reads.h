#pragma once

#include "image/sources/byte_sources.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace imaging {

// The first bytes of one file, as one open and one read found them.
struct FileHeader {
    bool opened = false;  // false: no regular file could be opened there
    std::uint64_t size = 0;
    std::vector<std::uint8_t> bytes;  // the file's first bytes, at most kHeaderBytes
};

// Enough for where nearly every photo keeps its capture date: a JPEG's EXIF
// segment holds at most 64 KiB and comes first.
inline constexpr std::size_t kHeaderBytes = 64 * 1024;

// Opens the file at path, reads its first max_bytes and closes it again.
FileHeader read_file_header(const std::string& path, std::size_t max_bytes);

// The file as its header shows it; a read beyond the header opens the file
// then (a video that keeps its date at the end, say). Nothing when the header
// found no file.
std::unique_ptr<ByteSource> header_source(const std::string& path, FileHeader header);

// Reads the headers of a list of files ahead of whoever goes through them in
// order, several requests in flight at once, so a folder that answers slowly
// (a network share) keeps them all busy. Only bytes are read here: what they
// mean is worked out by the one who takes them. The readers stay at most
// kMaxHeld bytes ahead, and stop when the object goes.
class HeaderReads {
public:
    using ReadHeader = std::function<FileHeader(const std::string& path)>;
    static constexpr int kReaders = 8;
    static constexpr std::size_t kMaxHeld = 8 * 1024 * 1024;

    explicit HeaderReads(std::vector<std::string> paths, ReadHeader read = default_read());
    // Waits at most a second for reads under way; a read that has not
    // returned by then finishes on its own and is dropped.
    ~HeaderReads();
    HeaderReads(const HeaderReads&) = delete;
    HeaderReads& operator=(const HeaderReads&) = delete;

    // The header of paths[index] once read, waiting at most wait; nothing
    // while it is still being read. Indexes are taken in rising order; the
    // ones passed over are dropped.
    std::optional<FileHeader> take(std::size_t index, std::chrono::milliseconds wait);

    static ReadHeader default_read();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace imaging
