#include "image/metadata/format_readers.h"
#include "image/metadata/tiff_reader.h"

namespace imaging {

namespace metadata {

// A TIFF file is one TIFF block: its IFD0 describes the main image.
std::optional<ImageMetadata> read_tiff_file(const ByteSource& file) {
    std::optional<TiffContents> contents = read_tiff(file);
    if (!contents) return std::nullopt;
    ImageMetadata image;
    image.format = ImageFormat::Tiff;
    image.width = contents->width;
    image.height = contents->height;
    image.properties = std::move(contents->properties);
    return image;
}

}  // namespace metadata

}  // namespace imaging
