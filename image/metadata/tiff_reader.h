#pragma once

#include "image/image_metadata.h"
#include "image/metadata/byte_view.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace imaging {

namespace metadata {

// Limits against hostile files: no real photo comes near them.
inline constexpr std::uint32_t kMaxEntriesPerIfd = 1024;
inline constexpr std::uint64_t kMaxValueBytes = 16u << 20;  // all values of one TIFF block together
inline constexpr int kMaxIfdDepth = 2;                      // IFD0 -> Exif IFD -> GPS IFD

struct TiffContents {
    // Fields of IFD0 and the Exif and GPS IFDs it leads to, in file order,
    // each tag once (the first one found). IFD1, the thumbnail's, is never read.
    std::vector<PropertyRecord> properties;
    // ImageWidth and ImageLength of IFD0; 0 when absent.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// "II*\0" or "MM\0*" at the start of the view.
bool is_tiff_header(ByteView bytes);

// Reads a TIFF block (a TIFF file, or the EXIF block of another format) that
// starts at offset 0 of the source, whose offsets count from there. Nothing
// when there is no TIFF header; fields that lie outside the source are left
// out. With any_signature, the number after the byte order may be another
// than 42, as RAW files of some cameras have it (Olympus, Panasonic).
std::optional<TiffContents> read_tiff(const ByteSource& tiff, bool any_signature = false);

// Bytes of one element of a TIFF field type; 0 for a type this reader does not
// know (such fields are skipped, as their length cannot be known).
unsigned tiff_element_size(std::uint16_t type);

// Turns a field's value bytes, as stored in a file of the given byte order,
// into the order the imaging library presents: every multi-byte number
// little-endian (a rational as two little-endian 32-bit halves).
void to_little_endian(std::vector<std::uint8_t>& value, std::uint16_t type, ByteOrder stored);

// Properties of an EXIF block that starts at offset 0 of the source: a TIFF
// header, or one after "Exif\0\0" as some writers put it into PNG and WebP
// files too. None when there is no TIFF header.
std::vector<PropertyRecord> read_exif_block(const ByteSource& block);

}  // namespace metadata

}  // namespace imaging
