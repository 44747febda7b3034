#include "image/image_file_backend_win32.h"

#include "image/byte_sources.h"
#include "image/gdiplus_buffers_win32.h"
#include "platform/win32/text.h"

#include <algorithm>

namespace imaging {

using gdiplus::GpImage;

namespace {

const PropertyRecord* reader_property(const std::optional<ImageMetadata>& metadata, std::int32_t id) {
    if (!metadata) return nullptr;
    auto it = std::find_if(metadata->properties.begin(), metadata->properties.end(),
                           [id](const PropertyRecord& p) { return p.id == id; });
    return it == metadata->properties.end() ? nullptr : &*it;
}

}  // namespace

namespace gdiplus {

std::optional<std::wstring> file_name_for_library(const std::string& utf8) {
    if (utf8.find('\0') != std::string::npos) return std::nullopt;
    return platform::win32::widen(utf8);
}

// One property as GDI+ reports it; the status of the last step goes to status.
std::optional<PropertyRecord> library_property(GpImage* image, std::int32_t id, int& status) {
    const gdiplus::Api& api = gdiplus::api();
    UINT size = 0;
    status = api.GdipGetPropertyItemSize(image, static_cast<ULONG>(id), &size);
    if (status != image_status::Ok) return std::nullopt;
    auto block = gdiplus::zeroed_buffer(size);
    if (!block) {
        status = image_status::OutOfMemory;
        return std::nullopt;
    }
    status = api.GdipGetPropertyItem(image, static_cast<ULONG>(id), size,
                                     reinterpret_cast<gdiplus::PropertyItem*>(block->data()));
    if (status != image_status::Ok) return std::nullopt;
    auto record = gdiplus::read_property_item(*block);
    if (!record) status = image_status::ValueOverflow;
    return record;
}

}  // namespace gdiplus

ImageFile::ImageFile(int& lastStatus) : lastStatus_(lastStatus), backend_(std::make_unique<Backend>()) {}

ImageFile::~ImageFile() { Dispose(); }

std::uintptr_t ImageFile::GetHandle() const { return gdiplus::handle_of(backend_->image); }

void ImageFile::SetHandle(std::uintptr_t handle) { backend_->image = gdiplus::image_of(handle); }

bool ImageFile::Dispose() {
    if (!backend_->holds_image()) return false;
    backend_->metadata.reset();
    if (!backend_->image) {
        lastStatus_ = image_status::Ok;
        return true;
    }
    lastStatus_ = gdiplus::api().GdipDisposeImage(backend_->image);
    // Only now: the image may read from the stream until it is gone.
    backend_->stream.Release();
    SetHandle(0);
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::LoadFromFile(const std::string& fileName, bool useIcm) {
    Dispose();
    auto name = gdiplus::file_name_for_library(fileName);
    if (!name) {
        lastStatus_ = image_status::InvalidParameter;
        return false;
    }
    // The reader goes first, while GDI+ does not yet hold the file open.
    if (std::unique_ptr<ByteSource> file = open_file_source(fileName)) backend_->metadata = read_image_metadata(*file);
    const gdiplus::Api& api = gdiplus::api();
    GpImage* image = nullptr;
    lastStatus_ = useIcm ? api.GdipLoadImageFromFileICM(name->c_str(), &image)
                         : api.GdipLoadImageFromFile(name->c_str(), &image);
    SetHandle(lastStatus_ == image_status::Ok ? gdiplus::handle_of(image) : 0);
    if (lastStatus_ != image_status::Ok && backend_->metadata) lastStatus_ = image_status::Ok;
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::GetPropertyItem(std::int32_t propertyId, PropertyRecord& record) {
    if (backend_->image) {
        if (auto found = library_property(backend_->image, propertyId, lastStatus_)) {
            record = std::move(*found);
            return true;
        }
    }
    if (const PropertyRecord* read = reader_property(backend_->metadata, propertyId)) {
        lastStatus_ = image_status::Ok;
        record = *read;
        return true;
    }
    if (!backend_->image) lastStatus_ = backend_->metadata ? image_status::PropertyNotFound : image_status::InvalidParameter;
    return false;
}

}  // namespace imaging
