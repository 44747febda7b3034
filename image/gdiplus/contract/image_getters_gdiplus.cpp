#include "image/gdiplus/image_file_backend.h"

#include "image/gdiplus/gdiplus_buffers_win32.h"
#include "image/image_metadata.h"

// The simple getters. Format and size come from the reader whenever it read
// the file, so they never make GDI+ decode it; the others ask GDI+ once.
namespace imaging {

namespace {
constexpr std::int32_t kUnitPixel = 2;
}

std::string ImageFile::GetRawFormat() {
    if (const ImageMetadata* read = backend_->reader()) {
        lastStatus_ = image_status::Ok;
        return raw_format_guid(read->format);
    }
    GUID format{};
    lastStatus_ = gdiplus::api().GdipGetImageRawFormat(backend_->library_image(), &format);
    if (lastStatus_ != image_status::Ok) format = GUID{};
    return guid_to_text(format);
}

RectF ImageFile::GetBounds(std::int32_t& unit) {
    if (const ImageMetadata* read = backend_->reader()) {
        lastStatus_ = image_status::Ok;
        unit = kUnitPixel;
        return RectF{0, 0, static_cast<float>(read->width), static_cast<float>(read->height)};
    }
    gdiplus::RectF bounds{};
    int gdiplus_unit = 0;
    lastStatus_ = gdiplus::api().GdipGetImageBounds(backend_->library_image(), &bounds, &gdiplus_unit);
    unit = gdiplus_unit;
    return RectF{bounds.X, bounds.Y, bounds.Width, bounds.Height};
}

SizeF ImageFile::GetDimension() {
    if (const ImageMetadata* read = backend_->reader()) {
        lastStatus_ = image_status::Ok;
        return SizeF{static_cast<float>(read->width), static_cast<float>(read->height)};
    }
    SizeF size;
    lastStatus_ = gdiplus::api().GdipGetImageDimension(backend_->library_image(), &size.Width, &size.Height);
    return size;
}

std::uint32_t ImageFile::GetType() {
    int type = 0;
    lastStatus_ = gdiplus::api().GdipGetImageType(backend_->library_image(), &type);
    return static_cast<std::uint32_t>(type);
}

std::uint32_t ImageFile::GetWidth() {
    if (const ImageMetadata* read = backend_->reader()) {
        lastStatus_ = image_status::Ok;
        return read->width;
    }
    UINT width = 0;
    lastStatus_ = gdiplus::api().GdipGetImageWidth(backend_->library_image(), &width);
    return width;
}

std::uint32_t ImageFile::GetHeight() {
    if (const ImageMetadata* read = backend_->reader()) {
        lastStatus_ = image_status::Ok;
        return read->height;
    }
    UINT height = 0;
    lastStatus_ = gdiplus::api().GdipGetImageHeight(backend_->library_image(), &height);
    return height;
}

float ImageFile::GetHorizontalResolution() {
    float dpi = 0;
    lastStatus_ = gdiplus::api().GdipGetImageHorizontalResolution(backend_->library_image(), &dpi);
    return dpi;
}

float ImageFile::GetVerticalResolution() {
    float dpi = 0;
    lastStatus_ = gdiplus::api().GdipGetImageVerticalResolution(backend_->library_image(), &dpi);
    return dpi;
}

std::uint32_t ImageFile::GetFlags() {
    UINT flags = 0;
    lastStatus_ = gdiplus::api().GdipGetImageFlags(backend_->library_image(), &flags);
    return flags;
}

std::int32_t ImageFile::GetPixelFormat() {
    int format = 0;
    lastStatus_ = gdiplus::api().GdipGetImagePixelFormat(backend_->library_image(), &format);
    return format;
}

}  // namespace imaging
