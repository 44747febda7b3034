#include "image/metadata/byte_view.h"
#include "image/metadata/tiff_reader.h"
#include "image/metadata/format_readers.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

namespace imaging {

namespace metadata {

namespace {

constexpr std::uint64_t kSignatureSize = 8;
constexpr std::uint64_t kChunkHead = 8;     // length, type
constexpr std::uint64_t kChunkTrailer = 4;  // CRC
constexpr int kMaxChunks = 4096;
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;
// An iTXt chunk of XMP: its keyword, then flags saying the text is not
// compressed, and empty language and translated keyword.
constexpr std::string_view kXmpKeyword("XML:com.adobe.xmp\0\0\0\0\0", 22);

}  // namespace

// IHDR, which must come first, gives the size; the first eXIf chunk, wherever
// it lies before IEND, gives the properties, and where they hold no capture
// time, the first uncompressed XMP chunk may.
std::optional<ImageMetadata> read_png(const ByteSource& file) {
    std::vector<std::uint8_t> header_bytes = read_up_to(file, kSignatureSize, kChunkHead + 8);
    ByteView header(header_bytes);
    if (!header.has(0, kChunkHead + 8) || !header.matches(4, "IHDR") || header.u32(0, ByteOrder::Big) < 8) {
        return std::nullopt;
    }
    ImageMetadata image;
    image.format = ImageFormat::Png;
    image.width = header.u32(8, ByteOrder::Big);
    image.height = header.u32(12, ByteOrder::Big);

    bool have_exif = false;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> xmp;  // where the first XMP packet lies
    std::uint64_t at = kSignatureSize;
    for (int step = 0; step < kMaxChunks && !(have_exif && (xmp || is_dated(image.properties))); ++step) {
        std::vector<std::uint8_t> head_bytes = read_up_to(file, at, kChunkHead + kXmpKeyword.size());
        ByteView head(head_bytes);
        if (!head.has(0, kChunkHead)) break;
        std::uint32_t length = head.u32(0, ByteOrder::Big);
        if (length > kMaxChunkLength || head.matches(4, "IEND")) break;
        if (head.matches(4, "eXIf") && !have_exif) {
            SourceWindow exif(file, at + kChunkHead, length);
            image.properties = read_exif_block(exif);
            have_exif = true;
        } else if (head.matches(4, "iTXt") && !xmp && length >= kXmpKeyword.size() &&
                   head.matches(kChunkHead, kXmpKeyword)) {
            xmp = {at + kChunkHead + kXmpKeyword.size(), length - kXmpKeyword.size()};
        }
        at += kChunkHead + length + kChunkTrailer;
    }
    if (xmp && !is_dated(image.properties))
        image.date_outside_exif = xmp_date_at(file, xmp->first, xmp->second).value_or("");
    return image;
}

}  // namespace metadata

}  // namespace imaging
