#include "image/gdiplus_buffers_win32.h"
#include "image/image_file_backend_win32.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace imaging {

using gdiplus::GpImage;

namespace {
constexpr std::int32_t kFrameDelayTag = 0x5100;
}  // namespace

bool ImageFile::GetFrameDelays(std::vector<std::int32_t>& delays) {
    auto found = gdiplus::library_property(backend_->image, kFrameDelayTag, lastStatus_);
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
    lastStatus_ = gdiplus::api().GdipSetPropertyItem(backend_->image, &item);
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::RemovePropertyItem(std::int32_t propertyId) {
    lastStatus_ = gdiplus::api().GdipRemovePropertyItem(backend_->image, static_cast<ULONG>(propertyId));
    return lastStatus_ == image_status::Ok;
}

std::int32_t ImageFile::GetPropertyIdList(std::vector<std::int32_t>& ids) {
    if (const ImageMetadata* read = backend_->reader_only()) {
        lastStatus_ = image_status::Ok;
        ids.clear();
        for (const PropertyRecord& p : read->properties) ids.push_back(p.id);
        return static_cast<std::int32_t>(ids.size());
    }
    const gdiplus::Api& api = gdiplus::api();
    UINT count = 0;
    lastStatus_ = api.GdipGetPropertyCount(backend_->image, &count);
    if (lastStatus_ != image_status::Ok) return 0;
    if (std::uint64_t{count} * sizeof(ULONG) > gdiplus::kLargestBuffer) {
        lastStatus_ = image_status::ValueOverflow;
        return 0;
    }
    std::vector<std::int32_t> read;
    try {
        read.resize(count);
    } catch (const std::bad_alloc&) {
        lastStatus_ = image_status::OutOfMemory;
        return 0;
    }
    static_assert(sizeof(ULONG) == sizeof(std::int32_t));
    if (count > 0) {
        lastStatus_ = api.GdipGetPropertyIdList(backend_->image, count, reinterpret_cast<ULONG*>(read.data()));
        if (lastStatus_ != image_status::Ok) return 0;
    }
    // Properties only the program's own reader found join the list.
    if (backend_->metadata) {
        for (const PropertyRecord& p : backend_->metadata->properties) {
            if (std::find(read.begin(), read.end(), p.id) == read.end()) read.push_back(p.id);
        }
    }
    ids = std::move(read);
    return static_cast<std::int32_t>(ids.size());
}

}  // namespace imaging
