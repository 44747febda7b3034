#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// An uncompressed picture in memory: rows from the top, three bytes per pixel
// in blue, green, red order (as Windows bitmaps hold them), no row padding.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;

    bool operator==(const PixelImage&) const = default;

    // Offset of pixel (x, y) in bgr; the caller keeps x and y inside the picture.
    std::size_t offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    }

    // True when the pixel buffer holds exactly width x height pixels.
    bool is_consistent() const {
        // Both sides are below 2^31, so the product cannot overflow 64 bits.
        return width > 0 && height > 0 &&
               bgr.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    }
};

}  // namespace platform
