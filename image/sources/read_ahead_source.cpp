#include "image/sources/read_ahead_source.h"

#include <algorithm>
#include <cstring>

namespace imaging {

std::size_t ReadAheadSource::read_at(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (out.empty()) return 0;
    if (out.size() >= kBlockSize) return raw_->read_at(offset, out);
    bool inside = offset >= block_offset_ && offset - block_offset_ <= block_length_ &&
                  out.size() <= block_length_ - (offset - block_offset_);
    if (!inside) {
        if (!block_) block_ = std::make_unique_for_overwrite<std::uint8_t[]>(kBlockSize);
        block_length_ = raw_->read_at(offset, {block_.get(), kBlockSize});
        block_offset_ = offset;
    }
    std::size_t at = static_cast<std::size_t>(offset - block_offset_);
    std::size_t n = std::min(out.size(), block_length_ - at);
    if (n != 0) std::memcpy(out.data(), block_.get() + at, n);
    return n;
}

}  // namespace imaging
