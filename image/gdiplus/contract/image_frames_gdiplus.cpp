#include "image/gdiplus/gdiplus_buffers_win32.h"
#include "image/gdiplus/image_file_backend.h"

#include <new>

namespace imaging {

std::uint32_t ImageFile::GetFrameCount(const std::string& dimension) {
    GUID id = text_to_guid(dimension);
    UINT count = 0;
    lastStatus_ = gdiplus::api().GdipImageGetFrameCount(backend_->library_image(), &id, &count);
    return lastStatus_ == image_status::Ok ? count : 0;
}

bool ImageFile::GetFrameDimensionsList(std::vector<std::string>& dimensions) {
    const gdiplus::Api& api = gdiplus::api();
    UINT count = 0;
    lastStatus_ = api.GdipImageGetFrameDimensionsCount(backend_->library_image(), &count);
    if (lastStatus_ != image_status::Ok) return false;
    if (std::uint64_t{count} * sizeof(GUID) > gdiplus::kLargestBuffer) {
        lastStatus_ = image_status::ValueOverflow;
        return false;
    }
    std::vector<GUID> ids;
    try {
        ids.resize(count);
    } catch (const std::bad_alloc&) {
        lastStatus_ = image_status::OutOfMemory;
        return false;
    }
    lastStatus_ = api.GdipImageGetFrameDimensionsList(backend_->library_image(), ids.data(), count);
    if (lastStatus_ != image_status::Ok) return false;
    std::vector<std::string> texts;
    texts.reserve(ids.size());
    for (const GUID& id : ids) texts.push_back(guid_to_text(id));
    dimensions = std::move(texts);
    return true;
}

bool ImageFile::SelectActiveFrame(const std::string& dimension, std::uint32_t index) {
    GUID id = text_to_guid(dimension);
    lastStatus_ = gdiplus::api().GdipImageSelectActiveFrame(backend_->library_image(), &id, index);
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::RotateFlip(std::int32_t rotateFlipType) {
    lastStatus_ = gdiplus::api().GdipImageRotateFlip(backend_->library_image(), rotateFlipType);
    return lastStatus_ == image_status::Ok;
}

}  // namespace imaging
