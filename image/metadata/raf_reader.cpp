#include "image/metadata/format_readers.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

namespace imaging {

namespace metadata {

// "FUJIFILMCCD-RAW ", then the camera's name and version; at byte 84 the
// place and length of the JPEG preview, whose EXIF is the photo's.
std::optional<std::string> raf_date(const ByteSource& file) {
    std::vector<std::uint8_t> head = read_up_to(file, 0, 92);
    ByteView header(head);
    if (!header.has(84, 8)) return std::nullopt;
    SourceWindow jpeg(file, header.u32(84, ByteOrder::Big), header.u32(88, ByteOrder::Big));
    std::vector<std::uint8_t> soi = read_up_to(jpeg, 0, 3);
    if (!ByteView(soi).matches(0, "\xFF\xD8\xFF")) return std::nullopt;
    std::optional<ImageMetadata> preview = read_jpeg(jpeg);
    return preview ? original_date(preview->properties) : std::nullopt;
}

}  // namespace metadata

}  // namespace imaging
