#include "image/metadata/iso_boxes.h"

#include <algorithm>

namespace imaging {

namespace metadata {

std::optional<BoxHeader> parse_box_header(ByteView head, std::uint64_t room) {
    if (!head.has(0, 8)) return std::nullopt;
    BoxHeader box;
    for (int i = 0; i < 4; ++i) box.type[i] = static_cast<char>(head.u8(4 + i));
    std::uint64_t size = head.u32(0, ByteOrder::Big);
    box.header_size = 8;
    if (size == 1) {
        if (!head.has(8, 8)) return std::nullopt;
        size = head.u64(8, ByteOrder::Big);
        box.header_size = 16;
    } else if (size == 0) {
        size = room;
    }
    if (size < box.header_size || size > room) return std::nullopt;
    box.size = size;
    return box;
}

BoxWalk::BoxWalk(ByteView bytes, std::uint64_t start, std::uint64_t end)
    : bytes_(bytes), at_(start), end_(std::min(end, bytes.size())) {}

std::optional<BoxHeader> BoxWalk::next(std::uint64_t& offset) {
    if (at_ >= end_) return std::nullopt;
    std::optional<BoxHeader> box = parse_box_header(bytes_.sub(at_, 16), end_ - at_);
    if (!box) {
        at_ = end_;
        return std::nullopt;
    }
    offset = at_;
    at_ += box->size;
    return box;
}

}  // namespace metadata

}  // namespace imaging
