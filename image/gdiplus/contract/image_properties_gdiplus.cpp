#include "image/gdiplus/gdiplus_buffers_win32.h"
#include "image/gdiplus/image_file_backend.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace imaging {

using gdiplus::GpImage;

namespace {
constexpr std::int32_t kFrameDelayTag = 0x5100;
}  // namespace

bool ImageFile::GetFrameDelays(std::vector<std::int32_t>& delays) {
    auto found = gdiplus::library_property(backend_->library_image(), kFrameDelayTag, lastStatus_);
    if (!found) return false;
    std::vector<std::int32_t> read(found->value.size() / 4);
    if (!read.empty()) std::memcpy(read.data(), found->value.data(), read.size() * 4);
    delays = std::move(read);
    return true;
}

bool ImageFile::SetPropertyItem(const PropertyRecord& record) {
    if (record.length < 0 || static_cast<std::size_t>(record.length) > record.value.size()) {
        lastStatus_ = image_status::InvalidParameter;
        return false;
    }
    gdiplus::PropertyItem item{};
    item.id = static_cast<ULONG>(record.id);
    item.length = static_cast<ULONG>(record.length);
    item.type = static_cast<WORD>(record.type);
    // GDI+ copies the value; the pointer is not const in its structure.
    item.value = record.value.empty() ? nullptr : const_cast<std::uint8_t*>(record.value.data());
    lastStatus_ = gdiplus::api().GdipSetPropertyItem(backend_->library_image(), &item);
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::RemovePropertyItem(std::int32_t propertyId) {
    lastStatus_ = gdiplus::api().GdipRemovePropertyItem(backend_->library_image(), static_cast<ULONG>(propertyId));
    return lastStatus_ == image_status::Ok;
}

std::int32_t ImageFile::GetPropertyIdList(std::vector<std::int32_t>& ids) {
    // The whole list is GDI+'s and the reader's together; without GDI+ the reader's.
    GpImage* image = backend_->library_image();
    const ImageMetadata* read = backend_->reader();
    if (!image && read) {
        lastStatus_ = image_status::Ok;
        ids.clear();
        for (const PropertyRecord& p : read->properties) ids.push_back(p.id);
        return static_cast<std::int32_t>(ids.size());
    }
    const gdiplus::Api& api = gdiplus::api();
    UINT count = 0;
    lastStatus_ = api.GdipGetPropertyCount(image, &count);
    if (lastStatus_ != image_status::Ok) return 0;
    if (std::uint64_t{count} * sizeof(ULONG) > gdiplus::kLargestBuffer) {
        lastStatus_ = image_status::ValueOverflow;
        return 0;
    }
    std::vector<std::int32_t> found;
    try {
        found.resize(count);
    } catch (const std::bad_alloc&) {
        lastStatus_ = image_status::OutOfMemory;
        return 0;
    }
    static_assert(sizeof(ULONG) == sizeof(std::int32_t));
    if (count > 0) {
        lastStatus_ = api.GdipGetPropertyIdList(image, count, reinterpret_cast<ULONG*>(found.data()));
        if (lastStatus_ != image_status::Ok) return 0;
    }
    // Properties only the program's own reader found join the list.
    if (backend_->metadata) {
        for (const PropertyRecord& p : backend_->metadata->properties) {
            if (std::find(found.begin(), found.end(), p.id) == found.end()) found.push_back(p.id);
        }
    }
    ids = std::move(found);
    return static_cast<std::int32_t>(ids.size());
}

}  // namespace imaging
