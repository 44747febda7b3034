#include "image/gdiplus/image_file_backend.h"

#include "image/sources/byte_sources.h"

// Loading from memory, copies into another image object, and GDI+ memory.
namespace imaging {

using gdiplus::GpImage;

bool ImageFile::LoadFromBytes(std::span<const std::uint8_t> bytes, bool useIcm) {
    Dispose();
    // The object's own copy, which GDI+ reads from whenever it opens the image.
    IStream* stream = backend_->stream.CreateFromBytes(bytes);
    if (!stream) {
        lastStatus_ = image_status::OutOfMemory;
        return false;
    }
    std::optional<ImageMetadata> read = read_image_metadata(MemorySource(bytes));
    if (read && has_image_header(*read)) backend_->metadata = std::move(read);
    backend_->from_bytes = true;
    backend_->use_icm = useIcm;
    if (backend_->metadata) {
        lastStatus_ = image_status::Ok;
        return true;
    }
    lastStatus_ = backend_->open_library_image();
    if (lastStatus_ != image_status::Ok) {
        backend_->stream.Release();
        backend_->forget();
    }
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::Clone(ImageFile& target) {
    GpImage* copy = nullptr;
    int status = gdiplus::api().GdipCloneImage(backend_->library_image(), &copy);
    if (status != image_status::Ok) copy = nullptr;
    target.Dispose();
    target.SetHandle(gdiplus::handle_of(copy));
    lastStatus_ = status;
    return status == image_status::Ok;
}

bool ImageFile::GetThumbnail(std::uint32_t width, std::uint32_t height, ImageFile& target) {
    GpImage* thumbnail = nullptr;
    int status =
        gdiplus::api().GdipGetImageThumbnail(backend_->library_image(), width, height, &thumbnail, nullptr, nullptr);
    if (status != image_status::Ok) thumbnail = nullptr;
    target.Dispose();
    target.SetHandle(gdiplus::handle_of(thumbnail));
    lastStatus_ = status;
    return status == image_status::Ok;
}

void* ImageFile::Alloc(std::size_t size) { return gdiplus::api().GdipAlloc(size); }

void ImageFile::Free(void* memory) { gdiplus::api().GdipFree(memory); }

}  // namespace imaging
