#include "image/metadata/tiff_values.h"

#include <algorithm>

namespace imaging {

namespace metadata {

namespace {

// Width of each number inside an element: a rational is two 32-bit numbers.
unsigned number_width(std::uint16_t type) {
    switch (type) {
        case 3: case 8: return 2;          // SHORT, SSHORT
        case 4: case 9: case 11: case 13:  // LONG, SLONG, FLOAT, IFD
        case 5: case 10: return 4;         // RATIONAL, SRATIONAL
        case 12: return 8;                 // DOUBLE
        default: return 1;
    }
}

}  // namespace

unsigned tiff_element_size(std::uint16_t type) {
    switch (type) {
        case 1: case 2: case 6: case 7: return 1;  // BYTE, ASCII, SBYTE, UNDEFINED
        case 3: case 8: return 2;
        case 4: case 9: case 11: case 13: return 4;
        case 5: case 10: case 12: return 8;
        default: return 0;
    }
}

void to_little_endian(std::vector<std::uint8_t>& value, std::uint16_t type, ByteOrder stored) {
    unsigned width = number_width(type);
    if (stored == ByteOrder::Little || width == 1) return;
    for (std::size_t at = 0; width <= value.size() - at; at += width) {
        std::reverse(value.begin() + static_cast<std::ptrdiff_t>(at),
                     value.begin() + static_cast<std::ptrdiff_t>(at + width));
    }
}

}  // namespace metadata

}  // namespace imaging
