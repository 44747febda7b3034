#pragma once

#include "platform/pixel_image.h"
#include "platform/win32/handles.h"

#include <windows.h>

#include <optional>

namespace app {

using platform::PixelImage;

// Moves pictures between GDI bitmaps and plain pixel memory.

// The pixels of a bitmap as 24-bit colour; nothing when GDI cannot read it.
std::optional<PixelImage> read_bitmap_pixels(HBITMAP bitmap);

// A 24-bit DIB section holding the picture; null when it cannot be made.
platform::win32::UniqueBitmap make_bitmap(const PixelImage& image);

// A bitmap resource of this program, shrunk or enlarged smoothly to
// width x height; null when the resource is missing or unreadable.
platform::win32::UniqueBitmap load_scaled_bitmap(int resource_id, int width, int height);

}  // namespace app
