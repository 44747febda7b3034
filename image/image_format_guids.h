#pragma once

#include "image/image_metadata.h"

#include <string>

namespace imaging {

// The format GUID the imaging library reports for an image of each format, in
// braced upper-case text; the all-zero GUID for an unknown format.
std::string raw_format_guid(ImageFormat format);

}  // namespace imaging
