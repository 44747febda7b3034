#include "image/metadata/source_reads.h"

#include <algorithm>

namespace imaging {

namespace metadata {

std::vector<std::uint8_t> read_up_to(const ByteSource& source, std::uint64_t offset, std::size_t n) {
    std::uint64_t size = source.size();
    if (offset >= size) return {};
    std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(n, size - offset));
    if (wanted == 0) return {};
    std::vector<std::uint8_t> bytes(wanted);
    bytes.resize(source.read_at(offset, bytes));
    return bytes;
}

SourceWindow::SourceWindow(const ByteSource& base, std::uint64_t offset, std::uint64_t length)
    : base_(base), offset_(offset), length_(0) {
    std::uint64_t size = base.size();
    if (offset <= size) length_ = std::min(length, size - offset);
}

std::size_t SourceWindow::read_at(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset >= length_) return 0;
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), length_ - offset));
    return base_.read_at(offset_ + offset, out.first(n));
}

}  // namespace metadata

}  // namespace imaging
