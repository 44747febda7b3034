#include "image/image_file_backend_win32.h"

#include "image/byte_sources.h"

// Loading from memory, copies into another image object, and GDI+ memory.
namespace imaging {

using gdiplus::GpImage;

bool ImageFile::LoadFromBytes(std::span<const std::uint8_t> bytes, bool useIcm) {
    Dispose();
    backend_->metadata = read_image_metadata(MemorySource(bytes));
    IStream* stream = backend_->stream.CreateFromBytes(bytes);
    if (!stream) {
        backend_->metadata.reset();
        lastStatus_ = image_status::OutOfMemory;
        return false;
    }
    const gdiplus::Api& api = gdiplus::api();
    GpImage* image = nullptr;
    lastStatus_ = useIcm ? api.GdipLoadImageFromStreamICM(stream, &image) : api.GdipLoadImageFromStream(stream, &image);
    if (lastStatus_ != image_status::Ok) {
        image = nullptr;
        backend_->stream.Release();
    }
    SetHandle(gdiplus::handle_of(image));
    if (lastStatus_ != image_status::Ok && backend_->metadata) lastStatus_ = image_status::Ok;
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::Clone(ImageFile& target) {
    GpImage* copy = nullptr;
    int status = gdiplus::api().GdipCloneImage(backend_->image, &copy);
    if (status != image_status::Ok) copy = nullptr;
    target.Dispose();
    target.SetHandle(gdiplus::handle_of(copy));
    lastStatus_ = status;
    return status == image_status::Ok;
}

bool ImageFile::GetThumbnail(std::uint32_t width, std::uint32_t height, ImageFile& target) {
    GpImage* thumbnail = nullptr;
    int status = gdiplus::api().GdipGetImageThumbnail(backend_->image, width, height, &thumbnail, nullptr, nullptr);
    if (status != image_status::Ok) thumbnail = nullptr;
    target.Dispose();
    target.SetHandle(gdiplus::handle_of(thumbnail));
    lastStatus_ = status;
    return status == image_status::Ok;
}

void* ImageFile::Alloc(std::size_t size) { return gdiplus::api().GdipAlloc(size); }

void ImageFile::Free(void* memory) { gdiplus::api().GdipFree(memory); }

}  // namespace imaging
