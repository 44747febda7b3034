#pragma once

#include "image/image_metadata.h"

#include <memory>

namespace imaging {

// Serves the small reads of the metadata reader (segment and chunk headers,
// IFD tables, short values) from one block read ahead from the underlying
// source, so walking a file's headers costs a system call or two instead of
// one per header. Reads of a block or more go straight through.
class ReadAheadSource final : public ByteSource {
public:
    // Enough for the headers of nearly every photo: a JPEG's EXIF segment,
    // for one, sits at the start and holds at most 64 KiB, most of it the
    // thumbnail, which is never read.
    static constexpr std::size_t kBlockSize = 32 * 1024;

    explicit ReadAheadSource(std::unique_ptr<ByteSource> raw) : raw_(std::move(raw)) {}
    std::uint64_t size() const override { return raw_->size(); }
    std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
    std::unique_ptr<ByteSource> raw_;
    // The block last read, where it starts and how much it holds; the reader
    // is single-threaded.
    mutable std::unique_ptr<std::uint8_t[]> block_;
    mutable std::uint64_t block_offset_ = 0;
    mutable std::size_t block_length_ = 0;
};

}  // namespace imaging
