#include "image/image_metadata.h"

#include "image/metadata/byte_view.h"
#include "image/metadata/format_readers.h"
#include "image/metadata/source_reads.h"
#include "image/metadata/tiff_reader.h"

#include <string_view>

namespace imaging {

// Picks the format by the signature at the start of the file and leaves the
// rest to that format's reader.
std::optional<ImageMetadata> read_image_metadata(const ByteSource& source) {
    using namespace metadata;
    std::vector<std::uint8_t> bytes = read_up_to(source, 0, 12);
    ByteView head(bytes);
    if (head.matches(0, "\xFF\xD8\xFF")) return read_jpeg(source);
    if (head.matches(0, "\x89PNG\r\n\x1A\n")) return read_png(source);
    if (is_tiff_header(head)) return read_tiff_file(source);
    if (head.matches(0, "RIFF") && head.matches(8, "WEBP")) return read_webp(source);
    if (head.matches(4, "ftyp")) return read_heif(source);
    if (head.matches(0, "GIF8")) return read_gif(source);
    if (head.matches(0, "BM")) return read_bmp(source);
    if (head.matches(0, std::string_view("\0\0\1\0", 4))) return read_icon(source);
    return std::nullopt;
}

std::string raw_format_guid(ImageFormat format) {
    // The imaging library's format GUIDs differ only in their first group.
    const char* first = nullptr;
    switch (format) {
        case ImageFormat::Bmp: first = "B96B3CAB"; break;
        case ImageFormat::Jpeg: first = "B96B3CAE"; break;
        case ImageFormat::Png: first = "B96B3CAF"; break;
        case ImageFormat::Gif: first = "B96B3CB0"; break;
        case ImageFormat::Tiff: first = "B96B3CB1"; break;
        case ImageFormat::Icon: first = "B96B3CB5"; break;
        case ImageFormat::Heif: first = "B96B3CB6"; break;
        case ImageFormat::WebP: first = "B96B3CB7"; break;
        case ImageFormat::Unknown: break;
    }
    if (!first) return "{00000000-0000-0000-0000-000000000000}";
    return std::string("{") + first + "-0728-11D3-9D7B-0000F81EF32E}";
}

}  // namespace imaging
