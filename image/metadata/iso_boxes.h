#pragma once

#include "image/metadata/byte_view.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace imaging {

namespace metadata {

// The header of one ISO base media box (the building block of HEIF files).
struct BoxHeader {
    char type[4] = {};
    std::uint64_t header_size = 0;  // 8, or 16 with a 64-bit size
    std::uint64_t size = 0;         // the whole box, header included

    bool is(std::string_view name) const { return name.size() == 4 && std::string_view(type, 4) == name; }
};

// The header at the start of `head`, for a box that may take up to `room`
// bytes (the rest of its container). Nothing when the header is cut short or
// the box claims more than the room; a size of 0 means "the rest".
std::optional<BoxHeader> parse_box_header(ByteView head, std::uint64_t room);

// Walks the boxes laid one after another in bytes [start, end) of a view.
class BoxWalk {
public:
    BoxWalk(ByteView bytes, std::uint64_t start, std::uint64_t end);
    // The next box and its offset in the view; nothing at the end or at a broken header.
    std::optional<BoxHeader> next(std::uint64_t& offset);

private:
    ByteView bytes_;
    std::uint64_t at_;
    std::uint64_t end_;
};

}  // namespace metadata

}  // namespace imaging
