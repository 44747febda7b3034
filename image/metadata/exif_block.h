#pragma once

#include "image/image_metadata.h"

#include <vector>

namespace imaging {

namespace metadata {

// Properties of an EXIF block that starts at offset 0 of the source: a TIFF
// header, or one after "Exif\0\0" as some writers put it into PNG and WebP
// files too. None when there is no TIFF header.
std::vector<PropertyRecord> read_exif_block(const ByteSource& block);

}  // namespace metadata

}  // namespace imaging
