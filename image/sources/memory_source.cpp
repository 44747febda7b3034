#include "image/sources/byte_sources.h"

#include <algorithm>
#include <cstring>

namespace imaging {

std::size_t MemorySource::read_at(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset >= bytes_.size()) return 0;
    std::size_t n = std::min<std::uint64_t>(out.size(), bytes_.size() - offset);
    if (n == 0) return 0;  // an empty span may have no address at all
    std::memcpy(out.data(), bytes_.data() + offset, n);
    return n;
}

}  // namespace imaging
