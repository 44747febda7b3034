#include "image/metadata/format_readers.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/tiff_reader.h"

namespace imaging {

namespace metadata {

namespace {

constexpr std::int32_t kXmpPacket = 700;  // IFD0's XMLPacket

}  // namespace

// A TIFF file is one TIFF block: its IFD0 describes the main image, and its
// XMP packet may date a photo whose EXIF does not.
std::optional<ImageMetadata> read_tiff_file(const ByteSource& file) {
    std::optional<TiffContents> contents = read_tiff(file);
    if (!contents) return std::nullopt;
    ImageMetadata image;
    image.format = ImageFormat::Tiff;
    image.width = contents->width;
    image.height = contents->height;
    image.properties = std::move(contents->properties);
    if (!is_dated(image.properties)) {
        for (const PropertyRecord& p : image.properties) {
            if (p.id != kXmpPacket) continue;
            std::string_view packet(reinterpret_cast<const char*>(p.value.data()), p.value.size());
            image.date_outside_exif = xmp_date(packet).value_or("");
            break;
        }
    }
    return image;
}

}  // namespace metadata

}  // namespace imaging
