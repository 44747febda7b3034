#pragma once

#include "image/metadata/byte_view.h"

#include <cstdint>
#include <vector>

namespace imaging {

namespace metadata {

// Bytes of one element of a TIFF field type; 0 for a type this reader does not
// know (such fields are skipped, as their length cannot be known).
unsigned tiff_element_size(std::uint16_t type);

// Turns a field's value bytes, as stored in a file of the given byte order,
// into the order the imaging library presents: every multi-byte number
// little-endian (a rational as two little-endian 32-bit halves).
void to_little_endian(std::vector<std::uint8_t>& value, std::uint16_t type, ByteOrder stored);

}  // namespace metadata

}  // namespace imaging
