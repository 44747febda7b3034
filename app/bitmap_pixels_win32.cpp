#include "app/bitmap_pixels_win32.h"

#include "app/pixel_scaling.h"

#include <cstring>
#include <vector>

namespace app {

namespace {

using platform::win32::UniqueBitmap;

// Header for 24-bit rows from the top down, as PixelImage holds them.
BITMAPINFO top_down_info(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::size_t stride_of(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3); }

}  // namespace

std::optional<PixelImage> read_bitmap_pixels(HBITMAP bitmap) {
    BITMAP shape{};
    if (!bitmap || GetObjectW(bitmap, sizeof shape, &shape) != sizeof shape) return std::nullopt;
    if (shape.bmWidth <= 0 || shape.bmHeight <= 0 || shape.bmWidth > kMaxScaledSide || shape.bmHeight > kMaxScaledSide) {
        return std::nullopt;
    }
    const int width = shape.bmWidth, height = shape.bmHeight;
    const std::size_t stride = stride_of(width);
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(height));
    BITMAPINFO info = top_down_info(width, height);
    platform::win32::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS) != height) {
        return std::nullopt;
    }
    PixelImage image;
    image.width = width;
    image.height = height;
    image.bgr.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        std::memcpy(&image.bgr[image.offset(0, y)], &rows[stride * static_cast<std::size_t>(y)],
                    static_cast<std::size_t>(width) * 3);
    }
    return image;
}

UniqueBitmap make_bitmap(const PixelImage& image) {
    if (!image.is_consistent()) return nullptr;
    BITMAPINFO info = top_down_info(image.width, image.height);
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return nullptr;
    const std::size_t stride = stride_of(image.width);
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(rows + stride * static_cast<std::size_t>(y), &image.bgr[image.offset(0, y)],
                    static_cast<std::size_t>(image.width) * 3);
    }
    return bitmap;
}

UniqueBitmap load_scaled_bitmap(int resource_id, int width, int height) {
    UniqueBitmap original(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource_id),
                                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    std::optional<PixelImage> pixels = read_bitmap_pixels(original.get());
    if (!pixels) return nullptr;
    std::optional<PixelImage> scaled = scale_area_average(*pixels, width, height);
    if (!scaled) return nullptr;
    return make_bitmap(*scaled);
}

}  // namespace app
