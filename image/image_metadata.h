#pragma once

#include "image/property_record.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace imaging {

// Random access to the bytes of an image, so the reader takes only the parts
// it needs (a photo's metadata sits in its first kilobytes).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies up to out.size() bytes starting at offset; returns how many were copied.
    virtual std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

enum class ImageFormat { Unknown, Bmp, Gif, Jpeg, Png, Tiff, Icon, WebP, Heif };

// What the program's own reader learns from an image file's headers.
struct ImageMetadata {
    ImageFormat format = ImageFormat::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Tags of the main image (TIFF IFD0, its Exif and GPS IFDs), in file order,
    // each id once; never those of a thumbnail.
    std::vector<PropertyRecord> properties;
};

// Format, size and properties of an image; nothing when the bytes are not an
// image of a format the reader knows. Never reads outside what the source holds.
std::optional<ImageMetadata> read_image_metadata(const ByteSource& source);

}  // namespace imaging
