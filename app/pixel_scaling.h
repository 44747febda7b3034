#pragma once

#include "platform/pixel_image.h"

#include <optional>

namespace app {

using platform::PixelImage;

// Largest side the scaler accepts, for the source and the result alike.
inline constexpr int kMaxScaledSide = 4096;

// Resizes a picture to width x height by area averaging: each result pixel is
// the mean of the source area it covers, weighted by how much of each source
// pixel falls inside it. Shrinking by a fraction (120 to 48) stays smooth.
// Nothing when the source is empty or inconsistent, or a side is out of range.
std::optional<PixelImage> scale_area_average(const PixelImage& source, int width, int height);

}  // namespace app
