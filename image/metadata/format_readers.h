#pragma once

#include "image/image_metadata.h"

#include <optional>

namespace imaging {

// One reader per file format. Each is handed a source whose first bytes carry
// its format's signature (the caller has looked) and gives nothing when the
// file turns out not to be a usable image of that format.
namespace metadata {

std::optional<ImageMetadata> read_jpeg(const ByteSource& file);
std::optional<ImageMetadata> read_tiff_file(const ByteSource& file);
std::optional<ImageMetadata> read_png(const ByteSource& file);
std::optional<ImageMetadata> read_webp(const ByteSource& file);
std::optional<ImageMetadata> read_heif(const ByteSource& file);
std::optional<ImageMetadata> read_bmp(const ByteSource& file);
std::optional<ImageMetadata> read_gif(const ByteSource& file);
std::optional<ImageMetadata> read_icon(const ByteSource& file);

}  // namespace metadata

}  // namespace imaging
