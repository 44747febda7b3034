#include "image/gdiplus_buffers_win32.h"
#include "image/image_file_backend_win32.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace imaging {

using gdiplus::GpImage;
using gdiplus::kOk;

namespace {

constexpr std::int32_t kFrameDelayTag = 0x5100;

// One property as GDI+ reports it; the status of the last step goes to status.
std::optional<PropertyRecord> library_property(GpImage* image, std::int32_t id, int& status) {
    const gdiplus::Api& api = gdiplus::api();
    UINT size = 0;
    status = api.GdipGetPropertyItemSize(image, static_cast<ULONG>(id), &size);
    if (status != kOk) return std::nullopt;
    auto block = gdiplus::zeroed_buffer(size);
    if (!block) {
        status = gdiplus::kOutOfMemory;
        return std::nullopt;
    }
    status = api.GdipGetPropertyItem(image, static_cast<ULONG>(id), size,
                                     reinterpret_cast<gdiplus::PropertyItem*>(block->data()));
    if (status != kOk) return std::nullopt;
    auto record = gdiplus::read_property_item(*block);
    if (!record) status = gdiplus::kValueOverflow;
    return record;
}

const PropertyRecord* reader_property(const std::optional<ImageMetadata>& metadata, std::int32_t id) {
    if (!metadata) return nullptr;
    auto it = std::find_if(metadata->properties.begin(), metadata->properties.end(),
                           [id](const PropertyRecord& p) { return p.id == id; });
    return it == metadata->properties.end() ? nullptr : &*it;
}

}  // namespace

bool ImageFile::GetPropertyItem(std::int32_t propertyId, PropertyRecord& record) {
    if (backend_->image) {
        if (auto found = library_property(backend_->image, propertyId, lastStatus_)) {
            record = std::move(*found);
            return true;
        }
    }
    if (const PropertyRecord* read = reader_property(backend_->metadata, propertyId)) {
        lastStatus_ = kOk;
        record = *read;
        return true;
    }
    if (!backend_->image) lastStatus_ = backend_->metadata ? gdiplus::kPropertyNotFound : gdiplus::kInvalidParameter;
    return false;
}

bool ImageFile::GetFrameDelays(std::vector<std::int32_t>& delays) {
    auto found = library_property(backend_->image, kFrameDelayTag, lastStatus_);
    if (!found) return false;
    std::vector<std::int32_t> read(found->value.size() / 4);
    if (!read.empty()) std::memcpy(read.data(), found->value.data(), read.size() * 4);
    delays = std::move(read);
    return true;
}

bool ImageFile::SetPropertyItem(const PropertyRecord& record) {
    if (record.length < 0 || static_cast<std::size_t>(record.length) > record.value.size()) {
        lastStatus_ = gdiplus::kInvalidParameter;
        return false;
    }
    gdiplus::PropertyItem item{};
    item.id = static_cast<ULONG>(record.id);
    item.length = static_cast<ULONG>(record.length);
    item.type = static_cast<WORD>(record.type);
    // GDI+ copies the value; the pointer is not const in its structure.
    item.value = record.value.empty() ? nullptr : const_cast<std::uint8_t*>(record.value.data());
    lastStatus_ = gdiplus::api().GdipSetPropertyItem(backend_->image, &item);
    return lastStatus_ == kOk;
}

bool ImageFile::RemovePropertyItem(std::int32_t propertyId) {
    lastStatus_ = gdiplus::api().GdipRemovePropertyItem(backend_->image, static_cast<ULONG>(propertyId));
    return lastStatus_ == kOk;
}

std::int32_t ImageFile::GetPropertyIdList(std::vector<std::int32_t>& ids) {
    if (const ImageMetadata* read = backend_->reader_only()) {
        lastStatus_ = kOk;
        ids.clear();
        for (const PropertyRecord& p : read->properties) ids.push_back(p.id);
        return static_cast<std::int32_t>(ids.size());
    }
    const gdiplus::Api& api = gdiplus::api();
    UINT count = 0;
    lastStatus_ = api.GdipGetPropertyCount(backend_->image, &count);
    if (lastStatus_ != kOk) return 0;
    if (std::uint64_t{count} * sizeof(ULONG) > gdiplus::kLargestBuffer) {
        lastStatus_ = gdiplus::kValueOverflow;
        return 0;
    }
    std::vector<std::int32_t> read;
    try {
        read.resize(count);
    } catch (const std::bad_alloc&) {
        lastStatus_ = gdiplus::kOutOfMemory;
        return 0;
    }
    static_assert(sizeof(ULONG) == sizeof(std::int32_t));
    if (count > 0) {
        lastStatus_ = api.GdipGetPropertyIdList(backend_->image, count, reinterpret_cast<ULONG*>(read.data()));
        if (lastStatus_ != kOk) return 0;
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
