#include "image/gdiplus/gdiplus_buffers_win32.h"
#include "image/gdiplus/image_file_backend.h"

namespace imaging {

bool ImageFile::GetPalette(PaletteRecord& palette) {
    const gdiplus::Api& api = gdiplus::api();
    int size = 0;
    lastStatus_ = api.GdipGetImagePaletteSize(backend_->library_image(), &size);
    if (lastStatus_ != image_status::Ok) return false;
    std::optional<std::vector<std::byte>> buffer;
    if (size >= 0) buffer = gdiplus::zeroed_buffer(static_cast<std::uint64_t>(size));
    if (!buffer) {
        lastStatus_ = image_status::ValueOverflow;
        return false;
    }
    lastStatus_ = api.GdipGetImagePalette(backend_->library_image(),
                                          reinterpret_cast<gdiplus::ColorPalette*>(buffer->data()), size);
    if (lastStatus_ != image_status::Ok) return false;
    auto read = gdiplus::read_palette(*buffer);
    if (!read) {
        lastStatus_ = image_status::ValueOverflow;
        return false;
    }
    palette = std::move(*read);
    return true;
}

bool ImageFile::SetPalette(const PaletteRecord& palette) {
    auto block = gdiplus::PaletteBlock::build(palette);
    if (!block) {
        lastStatus_ = image_status::InvalidParameter;
        return false;
    }
    lastStatus_ = gdiplus::api().GdipSetImagePalette(backend_->library_image(), block->get());
    return lastStatus_ == image_status::Ok;
}

}  // namespace imaging
