#include "image/metadata/byte_view.h"
#include "image/metadata/tiff_reader.h"
#include "image/metadata/format_readers.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

#include <algorithm>

namespace imaging {

namespace metadata {

namespace {

constexpr std::uint64_t kRiffHeader = 12;  // "RIFF", size, "WEBP"
constexpr std::uint64_t kChunkHead = 8;    // fourcc, size
constexpr int kMaxChunks = 4096;
// The chunk head and the first payload bytes, enough for every size field.
constexpr std::size_t kChunkPeek = kChunkHead + 10;

struct Size {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Lossy bitstream: a 3-byte frame tag, the start code 9D 01 2A, then 14-bit
// width and height.
Size lossy_size(ByteView p) {
    if (!p.has(0, 10) || p.u8(3) != 0x9D || p.u8(4) != 0x01 || p.u8(5) != 0x2A) return {};
    return {p.u16(6, ByteOrder::Little) & 0x3FFFu, p.u16(8, ByteOrder::Little) & 0x3FFFu};
}

// Lossless bitstream: signature 0x2F, then width-1 and height-1 in 14 bits each.
Size lossless_size(ByteView p) {
    if (!p.has(0, 5) || p.u8(0) != 0x2F) return {};
    std::uint32_t bits = p.u32(1, ByteOrder::Little);
    return {(bits & 0x3FFFu) + 1, ((bits >> 14) & 0x3FFFu) + 1};
}

// Extended header: flags, 3 reserved bytes, canvas width-1 and height-1 in 24 bits each.
Size canvas_size(ByteView p) {
    if (!p.has(0, 10)) return {};
    return {p.u24(4, ByteOrder::Little) + 1, p.u24(7, ByteOrder::Little) + 1};
}

}  // namespace

// Walks the RIFF chunks. The extended header's canvas, or else the first
// bitstream's own header, gives the size; the EXIF chunk gives the properties,
// and where they hold no capture time, the XMP chunk may.
std::optional<ImageMetadata> read_webp(const ByteSource& file) {
    std::vector<std::uint8_t> riff_bytes = read_up_to(file, 0, kRiffHeader);
    ByteView riff(riff_bytes);
    if (!riff.matches(0, "RIFF") || !riff.matches(8, "WEBP")) return std::nullopt;
    std::uint64_t end = std::min<std::uint64_t>(file.size(), std::uint64_t{8} + riff.u32(4, ByteOrder::Little));

    ImageMetadata image;
    image.format = ImageFormat::WebP;
    bool have_canvas = false;
    bool have_exif = false;
    bool xmp_to_find = false;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> xmp;  // where the first XMP chunk's packet lies
    auto done = [&] { return have_canvas && have_exif && (!xmp_to_find || xmp || is_dated(image.properties)); };
    std::uint64_t at = kRiffHeader;
    for (int step = 0; step < kMaxChunks && !done(); ++step) {
        if (at > end || kChunkHead > end - at) break;
        std::vector<std::uint8_t> chunk_bytes = read_up_to(file, at, kChunkPeek);
        ByteView chunk(chunk_bytes);
        std::uint64_t length = chunk.u32(4, ByteOrder::Little);
        ByteView payload = chunk.sub(kChunkHead, length);
        if (chunk.matches(0, "VP8X")) {
            Size s = canvas_size(payload);
            image.width = s.width;
            image.height = s.height;
            have_canvas = s.width != 0;
            // Without the EXIF flag there is no EXIF chunk to look for.
            if ((payload.u8(0) & 0x08) == 0) have_exif = true;
            xmp_to_find = (payload.u8(0) & 0x04) != 0;
        } else if ((chunk.matches(0, "VP8 ") || chunk.matches(0, "VP8L")) && image.width == 0) {
            Size s = chunk.matches(0, "VP8 ") ? lossy_size(payload) : lossless_size(payload);
            image.width = s.width;
            image.height = s.height;
            // A simple file holds nothing but its bitstream.
            if (at == kRiffHeader) have_canvas = have_exif = true;
        } else if (chunk.matches(0, "EXIF") && !have_exif) {
            SourceWindow exif(file, at + kChunkHead, std::min(length, end - at - kChunkHead));
            image.properties = read_exif_block(exif);
            have_exif = true;
        } else if (chunk.matches(0, "XMP ") && !xmp) {
            xmp = {at + kChunkHead, std::min(length, end - at - kChunkHead)};
        }
        at += kChunkHead + length + (length & 1);
    }
    if (xmp && !is_dated(image.properties))
        image.date_outside_exif = xmp_date_at(file, xmp->first, xmp->second).value_or("");
    return image;
}

}  // namespace metadata

}  // namespace imaging
