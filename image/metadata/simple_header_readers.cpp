#include "image/metadata/byte_view.h"
#include "image/metadata/format_readers.h"
#include "image/metadata/source_reads.h"

#include <cstdlib>

namespace imaging {

// Formats that carry no EXIF: only their kind and size are read, from the
// fixed headers at the start of the file.
namespace metadata {

namespace {

ImageMetadata sized(ImageFormat format, std::uint32_t width, std::uint32_t height) {
    ImageMetadata image;
    image.format = format;
    image.width = width;
    image.height = height;
    return image;
}

}  // namespace

// File header (14 bytes) and the start of the bitmap header: its size tells
// the old core header (16-bit sizes) from the later ones (32-bit, height
// negative for top-down bitmaps).
std::optional<ImageMetadata> read_bmp(const ByteSource& file) {
    std::vector<std::uint8_t> bytes = read_up_to(file, 0, 26);
    ByteView head(bytes);
    if (!head.has(0, 26) || !head.matches(0, "BM")) return std::nullopt;
    std::uint32_t header_size = head.u32(14, ByteOrder::Little);
    if (header_size == 12) {
        return sized(ImageFormat::Bmp, head.u16(18, ByteOrder::Little), head.u16(20, ByteOrder::Little));
    }
    if (header_size != 40 && header_size != 52 && header_size != 56 && header_size != 64 && header_size != 108 &&
        header_size != 124) {
        return std::nullopt;
    }
    auto width = static_cast<std::int32_t>(head.u32(18, ByteOrder::Little));
    auto height = static_cast<std::int32_t>(head.u32(22, ByteOrder::Little));
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    return sized(ImageFormat::Bmp, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(std::abs(height)));
}

// Signature and the logical screen size.
std::optional<ImageMetadata> read_gif(const ByteSource& file) {
    std::vector<std::uint8_t> bytes = read_up_to(file, 0, 10);
    ByteView head(bytes);
    if (!head.has(0, 10) || !(head.matches(0, "GIF87a") || head.matches(0, "GIF89a"))) return std::nullopt;
    return sized(ImageFormat::Gif, head.u16(6, ByteOrder::Little), head.u16(8, ByteOrder::Little));
}

// Icon directory: reserved 0, type 1, the number of images, then one 16-byte
// entry per image. The first entry gives the size (a 0 byte means 256) and
// must point at image data inside the file, which tells an icon from other
// files that happen to start with the same four bytes.
std::optional<ImageMetadata> read_icon(const ByteSource& file) {
    std::vector<std::uint8_t> bytes = read_up_to(file, 0, 6 + 16);
    ByteView head(bytes);
    if (!head.has(0, 22) || head.u16(0, ByteOrder::Little) != 0 || head.u16(2, ByteOrder::Little) != 1) {
        return std::nullopt;
    }
    std::uint64_t count = head.u16(4, ByteOrder::Little);
    std::uint64_t data_size = head.u32(14, ByteOrder::Little);
    std::uint64_t data_offset = head.u32(18, ByteOrder::Little);
    std::uint64_t size = file.size();
    if (count == 0 || data_size == 0 || data_offset < 6 + 16 * count || data_offset > size ||
        data_size > size - data_offset) {
        return std::nullopt;
    }
    std::uint32_t width = head.u8(6) == 0 ? 256 : head.u8(6);
    std::uint32_t height = head.u8(7) == 0 ? 256 : head.u8(7);
    return sized(ImageFormat::Icon, width, height);
}

}  // namespace metadata

}  // namespace imaging
