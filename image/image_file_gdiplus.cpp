#include "image/image_file_backend_win32.h"

#include "image/byte_sources.h"
#include "image/guid_text_win32.h"
#include "image/image_format_guids.h"
#include "platform/win32/text.h"

namespace imaging {

using gdiplus::GpImage;
using gdiplus::kOk;

namespace {
constexpr std::int32_t kUnitPixel = 2;
}

namespace gdiplus {

std::optional<std::wstring> file_name_for_library(const std::string& utf8) {
    if (utf8.find('\0') != std::string::npos) return std::nullopt;
    return platform::win32::widen(utf8);
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
        lastStatus_ = kOk;
        return true;
    }
    lastStatus_ = gdiplus::api().GdipDisposeImage(backend_->image);
    // Only now: the image may read from the stream until it is gone.
    backend_->stream.Release();
    SetHandle(0);
    return lastStatus_ == kOk;
}

bool ImageFile::LoadFromFile(const std::string& fileName, bool useIcm) {
    Dispose();
    auto name = gdiplus::file_name_for_library(fileName);
    if (!name) {
        lastStatus_ = gdiplus::kInvalidParameter;
        return false;
    }
    // The reader goes first, while GDI+ does not yet hold the file open.
    if (std::unique_ptr<ByteSource> file = open_file_source(fileName)) backend_->metadata = read_image_metadata(*file);
    const gdiplus::Api& api = gdiplus::api();
    GpImage* image = nullptr;
    lastStatus_ = useIcm ? api.GdipLoadImageFromFileICM(name->c_str(), &image)
                         : api.GdipLoadImageFromFile(name->c_str(), &image);
    SetHandle(lastStatus_ == kOk ? gdiplus::handle_of(image) : 0);
    if (lastStatus_ != kOk && backend_->metadata) lastStatus_ = kOk;
    return lastStatus_ == kOk;
}

bool ImageFile::LoadFromBytes(std::span<const std::uint8_t> bytes, bool useIcm) {
    Dispose();
    backend_->metadata = read_image_metadata(MemorySource(bytes));
    IStream* stream = backend_->stream.CreateFromBytes(bytes);
    if (!stream) {
        backend_->metadata.reset();
        lastStatus_ = gdiplus::kOutOfMemory;
        return false;
    }
    const gdiplus::Api& api = gdiplus::api();
    GpImage* image = nullptr;
    lastStatus_ = useIcm ? api.GdipLoadImageFromStreamICM(stream, &image) : api.GdipLoadImageFromStream(stream, &image);
    if (lastStatus_ != kOk) {
        image = nullptr;
        backend_->stream.Release();
    }
    SetHandle(gdiplus::handle_of(image));
    if (lastStatus_ != kOk && backend_->metadata) lastStatus_ = kOk;
    return lastStatus_ == kOk;
}

bool ImageFile::Clone(ImageFile& target) {
    GpImage* copy = nullptr;
    int status = gdiplus::api().GdipCloneImage(backend_->image, &copy);
    if (status != kOk) copy = nullptr;
    target.Dispose();
    target.SetHandle(gdiplus::handle_of(copy));
    lastStatus_ = status;
    return status == kOk;
}

bool ImageFile::GetThumbnail(std::uint32_t width, std::uint32_t height, ImageFile& target) {
    GpImage* thumbnail = nullptr;
    int status = gdiplus::api().GdipGetImageThumbnail(backend_->image, width, height, &thumbnail, nullptr, nullptr);
    if (status != kOk) thumbnail = nullptr;
    target.Dispose();
    target.SetHandle(gdiplus::handle_of(thumbnail));
    lastStatus_ = status;
    return status == kOk;
}

void* ImageFile::Alloc(std::size_t size) { return gdiplus::api().GdipAlloc(size); }

void ImageFile::Free(void* memory) { gdiplus::api().GdipFree(memory); }

std::string ImageFile::GetRawFormat() {
    if (const ImageMetadata* read = backend_->reader_only()) {
        lastStatus_ = kOk;
        return raw_format_guid(read->format);
    }
    GUID format{};
    lastStatus_ = gdiplus::api().GdipGetImageRawFormat(backend_->image, &format);
    if (lastStatus_ != kOk) format = GUID{};
    return guid_to_text(format);
}

RectF ImageFile::GetBounds(std::int32_t& unit) {
    if (const ImageMetadata* read = backend_->reader_only()) {
        lastStatus_ = kOk;
        unit = kUnitPixel;
        return RectF{0, 0, static_cast<float>(read->width), static_cast<float>(read->height)};
    }
    gdiplus::RectF bounds{};
    int gdiplus_unit = 0;
    lastStatus_ = gdiplus::api().GdipGetImageBounds(backend_->image, &bounds, &gdiplus_unit);
    unit = gdiplus_unit;
    return RectF{bounds.X, bounds.Y, bounds.Width, bounds.Height};
}

SizeF ImageFile::GetDimension() {
    if (const ImageMetadata* read = backend_->reader_only()) {
        lastStatus_ = kOk;
        return SizeF{static_cast<float>(read->width), static_cast<float>(read->height)};
    }
    SizeF size;
    lastStatus_ = gdiplus::api().GdipGetImageDimension(backend_->image, &size.Width, &size.Height);
    return size;
}

std::uint32_t ImageFile::GetType() {
    int type = 0;
    lastStatus_ = gdiplus::api().GdipGetImageType(backend_->image, &type);
    return static_cast<std::uint32_t>(type);
}

std::uint32_t ImageFile::GetWidth() {
    if (const ImageMetadata* read = backend_->reader_only()) {
        lastStatus_ = kOk;
        return read->width;
    }
    UINT width = 0;
    lastStatus_ = gdiplus::api().GdipGetImageWidth(backend_->image, &width);
    return width;
}

std::uint32_t ImageFile::GetHeight() {
    if (const ImageMetadata* read = backend_->reader_only()) {
        lastStatus_ = kOk;
        return read->height;
    }
    UINT height = 0;
    lastStatus_ = gdiplus::api().GdipGetImageHeight(backend_->image, &height);
    return height;
}

float ImageFile::GetHorizontalResolution() {
    float dpi = 0;
    lastStatus_ = gdiplus::api().GdipGetImageHorizontalResolution(backend_->image, &dpi);
    return dpi;
}

float ImageFile::GetVerticalResolution() {
    float dpi = 0;
    lastStatus_ = gdiplus::api().GdipGetImageVerticalResolution(backend_->image, &dpi);
    return dpi;
}

std::uint32_t ImageFile::GetFlags() {
    UINT flags = 0;
    lastStatus_ = gdiplus::api().GdipGetImageFlags(backend_->image, &flags);
    return flags;
}

std::int32_t ImageFile::GetPixelFormat() {
    int format = 0;
    lastStatus_ = gdiplus::api().GdipGetImagePixelFormat(backend_->image, &format);
    return format;
}

}  // namespace imaging
