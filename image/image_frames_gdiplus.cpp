#include "image/gdiplus_buffers_win32.h"
#include "image/guid_text_win32.h"
#include "image/image_file_backend_win32.h"

#include <new>

namespace imaging {

using gdiplus::kOk;

std::uint32_t ImageFile::GetFrameCount(const std::string& dimension) {
    GUID id = text_to_guid(dimension);
    UINT count = 0;
    lastStatus_ = gdiplus::api().GdipImageGetFrameCount(backend_->image, &id, &count);
    return lastStatus_ == kOk ? count : 0;
}

bool ImageFile::GetFrameDimensionsList(std::vector<std::string>& dimensions) {
    const gdiplus::Api& api = gdiplus::api();
    UINT count = 0;
    lastStatus_ = api.GdipImageGetFrameDimensionsCount(backend_->image, &count);
    if (lastStatus_ != kOk) return false;
    if (std::uint64_t{count} * sizeof(GUID) > gdiplus::kLargestBuffer) {
        lastStatus_ = gdiplus::kValueOverflow;
        return false;
    }
    std::vector<GUID> ids;
    try {
        ids.resize(count);
    } catch (const std::bad_alloc&) {
        lastStatus_ = gdiplus::kOutOfMemory;
        return false;
    }
    lastStatus_ = api.GdipImageGetFrameDimensionsList(backend_->image, ids.data(), count);
    if (lastStatus_ != kOk) return false;
    std::vector<std::string> texts;
    texts.reserve(ids.size());
    for (const GUID& id : ids) texts.push_back(guid_to_text(id));
    dimensions = std::move(texts);
    return true;
}

bool ImageFile::SelectActiveFrame(const std::string& dimension, std::uint32_t index) {
    GUID id = text_to_guid(dimension);
    lastStatus_ = gdiplus::api().GdipImageSelectActiveFrame(backend_->image, &id, index);
    return lastStatus_ == kOk;
}

bool ImageFile::RotateFlip(std::int32_t rotateFlipType) {
    lastStatus_ = gdiplus::api().GdipImageRotateFlip(backend_->image, rotateFlipType);
    return lastStatus_ == kOk;
}

bool ImageFile::GetPalette(PaletteRecord& palette) {
    const gdiplus::Api& api = gdiplus::api();
    int size = 0;
    lastStatus_ = api.GdipGetImagePaletteSize(backend_->image, &size);
    if (lastStatus_ != kOk) return false;
    std::optional<std::vector<std::byte>> buffer;
    if (size >= 0) buffer = gdiplus::zeroed_buffer(static_cast<std::uint64_t>(size));
    if (!buffer) {
        lastStatus_ = gdiplus::kValueOverflow;
        return false;
    }
    lastStatus_ = api.GdipGetImagePalette(backend_->image, reinterpret_cast<gdiplus::ColorPalette*>(buffer->data()),
                                          size);
    if (lastStatus_ != kOk) return false;
    auto read = gdiplus::read_palette(*buffer);
    if (!read) {
        lastStatus_ = gdiplus::kValueOverflow;
        return false;
    }
    palette = std::move(*read);
    return true;
}

bool ImageFile::SetPalette(const PaletteRecord& palette) {
    auto block = gdiplus::PaletteBlock::build(palette);
    if (!block) {
        lastStatus_ = gdiplus::kInvalidParameter;
        return false;
    }
    lastStatus_ = gdiplus::api().GdipSetImagePalette(backend_->image, block->get());
    return lastStatus_ == kOk;
}

}  // namespace imaging
