#include "image/gdiplus/image_file_backend.h"

#include "image/sources/byte_sources.h"
#include "image/gdiplus/gdiplus_buffers_win32.h"
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
    return platform::win32::file_system_path(utf8);
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

GpImage* ImageFile::Backend::library_image() {
    if (!image && !library_tried && (from_bytes || !file_name.empty())) open_library_image();
    return image;
}

int ImageFile::Backend::open_library_image() {
    library_tried = true;
    const gdiplus::Api& api = gdiplus::api();
    GpImage* opened = nullptr;
    int status = image_status::Ok;
    if (from_bytes) {
        status = use_icm ? api.GdipLoadImageFromStreamICM(stream.GetComStream(), &opened)
                         : api.GdipLoadImageFromStream(stream.GetComStream(), &opened);
    } else {
        status = use_icm ? api.GdipLoadImageFromFileICM(file_name.c_str(), &opened)
                         : api.GdipLoadImageFromFile(file_name.c_str(), &opened);
    }
    if (status == image_status::Ok) image = opened;
    return status;
}

void ImageFile::Backend::forget() {
    image = nullptr;
    metadata.reset();
    file_name.clear();
    from_bytes = false;
    use_icm = false;
    library_tried = false;
}

ImageFile::ImageFile(int& lastStatus) : lastStatus_(lastStatus), backend_(std::make_unique<Backend>()) {}

ImageFile::~ImageFile() { Dispose(); }

bool ImageFile::Dispose() {
    if (!backend_->holds_image()) return false;
    lastStatus_ = image_status::Ok;
    if (backend_->image) lastStatus_ = gdiplus::api().GdipDisposeImage(backend_->image);
    // Only now: the image may read from the stream until it is gone.
    backend_->stream.Release();
    backend_->forget();
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::LoadFromFile(const std::string& fileName, bool useIcm) {
    Dispose();
    auto name = gdiplus::file_name_for_library(fileName);
    if (!name) {
        lastStatus_ = image_status::InvalidParameter;
        return false;
    }
    // The reader opens the file, reads its headers and lets it go.
    if (std::unique_ptr<ByteSource> file = open_file_source(fileName)) {
        std::optional<ImageMetadata> read = read_image_metadata(*file);
        if (read && has_image_header(*read)) backend_->metadata = std::move(read);
    }
    backend_->file_name = std::move(*name);
    backend_->use_icm = useIcm;
    if (backend_->metadata) {
        lastStatus_ = image_status::Ok;
        return true;
    }
    // A format the reader does not know: GDI+ opens it now, and tells.
    lastStatus_ = backend_->open_library_image();
    if (lastStatus_ != image_status::Ok) backend_->forget();
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::GetPropertyItem(std::int32_t propertyId, PropertyRecord& record) {
    const ImageMetadata* read = backend_->reader();
    // The reader holds every tag of the main image's IFD0, Exif and GPS
    // directories: it answers for those, found or not, without GDI+ (until
    // GDI+ has the image open).
    if (read && is_main_image_tag(propertyId)) {
        if (const PropertyRecord* found = reader_property(backend_->metadata, propertyId)) {
            record = *found;
            lastStatus_ = image_status::Ok;
            return true;
        }
        lastStatus_ = image_status::PropertyNotFound;
        return false;
    }
    GpImage* image = backend_->library_image();
    if (image) {
        if (auto found = gdiplus::library_property(image, propertyId, lastStatus_)) {
            record = std::move(*found);
            return true;
        }
    }
    if (const PropertyRecord* found = reader_property(backend_->metadata, propertyId)) {
        lastStatus_ = image_status::Ok;
        record = *found;
        return true;
    }
    if (!image) lastStatus_ = read ? image_status::PropertyNotFound : image_status::InvalidParameter;
    return false;
}

}  // namespace imaging
