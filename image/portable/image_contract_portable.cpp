#include "image/portable/image_file_backend.h"

#include "image/image_metadata.h"
#include "image/sources/byte_sources.h"

#include <cstdlib>

// The rest of the image object, which the program does not call: getters,
// memory loads, and the operations that need codecs this build lacks.
namespace imaging {

namespace {

// There are no image codecs in the portable build. Every operation that needs
// pixels or an encoder (saving, encoders and their parameters, frames,
// palette, thumbnails, rotation, pixel format) fails with this status.
constexpr int kNoCodecs = image_status::NotImplemented;

constexpr std::int32_t kFrameDelayTag = 0x5100;
constexpr std::int32_t kXResolutionTag = 0x011A;
constexpr std::int32_t kYResolutionTag = 0x011B;
constexpr std::int32_t kResolutionUnitTag = 0x0128;
constexpr std::uint32_t kImageTypeBitmap = 1;
constexpr std::int32_t kUnitPixel = 2;
constexpr std::uint32_t kImageFlagsHasRealDpi = 0x1000;
constexpr std::uint32_t kImageFlagsHasRealPixelSize = 0x2000;
constexpr float kScreenDpi = 96;

std::uint32_t little_endian_u32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Dots per inch from the image's resolution tags (a rational, in inches or,
// with ResolutionUnit 3, in centimetres); 0 when the tags give none.
float tagged_dpi(const ImageMetadata& image, std::int32_t tag) {
    const PropertyRecord* value = find_property(image, tag);
    if (!value || value->type != 5 || value->value.size() < 8) return 0;
    std::uint32_t numerator = little_endian_u32(value->value, 0);
    std::uint32_t denominator = little_endian_u32(value->value, 4);
    if (denominator == 0) return 0;
    float per_unit = static_cast<float>(numerator) / static_cast<float>(denominator);
    const PropertyRecord* unit = find_property(image, kResolutionUnitTag);
    int unit_code = unit && unit->type == 3 && unit->value.size() >= 2 ? unit->value[0] | unit->value[1] << 8 : 2;
    if (unit_code == 3) return per_unit * 2.54f;
    return unit_code == 2 ? per_unit : 0;
}

float dpi_or_screen(const ImageMetadata& image, std::int32_t tag) {
    float dpi = tagged_dpi(image, tag);
    return dpi > 0 ? dpi : kScreenDpi;
}

}  // namespace

// Everything is read from the bytes during the call, so nothing refers to the
// caller's array afterwards.
std::uintptr_t ImageFile::GetHandle() const { return reinterpret_cast<std::uintptr_t>(backend_.get()); }

// Only a handle of 0 means something without the library: the held image is
// dropped. Any other handle cannot be adopted and is ignored.
void ImageFile::SetHandle(std::uintptr_t handle) {
    if (handle == 0) backend_.reset();
}

bool ImageFile::LoadFromBytes(std::span<const std::uint8_t> bytes, bool) {
    backend_.reset();
    return Backend::adopt(backend_, read_image_metadata(MemorySource(bytes)), lastStatus_);
}

std::string ImageFile::GetRawFormat() {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    return raw_format_guid(image ? image->format : ImageFormat::Unknown);
}

RectF ImageFile::GetBounds(std::int32_t& unit) {
    unit = 0;
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    if (!image) return {};
    unit = kUnitPixel;
    return {0, 0, static_cast<float>(image->width), static_cast<float>(image->height)};
}

SizeF ImageFile::GetDimension() {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    if (!image) return {};
    return {static_cast<float>(image->width), static_cast<float>(image->height)};
}

std::uint32_t ImageFile::GetType() { return Backend::held(backend_, lastStatus_) ? kImageTypeBitmap : 0; }

std::uint32_t ImageFile::GetWidth() {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    return image ? image->width : 0;
}

std::uint32_t ImageFile::GetHeight() {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    return image ? image->height : 0;
}

float ImageFile::GetHorizontalResolution() {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    return image ? dpi_or_screen(*image, kXResolutionTag) : 0;
}

float ImageFile::GetVerticalResolution() {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    return image ? dpi_or_screen(*image, kYResolutionTag) : 0;
}

std::uint32_t ImageFile::GetFlags() {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    if (!image) return 0;
    return kImageFlagsHasRealPixelSize | (tagged_dpi(*image, kXResolutionTag) > 0 ? kImageFlagsHasRealDpi : 0);
}

std::int32_t ImageFile::GetPixelFormat() {
    lastStatus_ = kNoCodecs;
    return 0;
}

bool ImageFile::GetFrameDelays(std::vector<std::int32_t>& delays) {
    PropertyRecord record;
    if (!GetPropertyItem(kFrameDelayTag, record)) return false;
    std::size_t n = record.value.size() / 4;
    delays.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) delays[i] = static_cast<std::int32_t>(little_endian_u32(record.value, 4 * i));
    return true;
}

// A length beyond the record's value bytes is refused rather than read past.
bool ImageFile::SetPropertyItem(const PropertyRecord& record) {
    ImageMetadata* image = Backend::held(backend_, lastStatus_);
    if (!image) return false;
    if (record.length < 0 || static_cast<std::size_t>(record.length) > record.value.size()) {
        lastStatus_ = image_status::InvalidParameter;
        return false;
    }
    PropertyRecord stored{
        record.id, record.length, record.type, {record.value.begin(), record.value.begin() + record.length}};
    auto it = std::find_if(image->properties.begin(), image->properties.end(),
                           [&](const PropertyRecord& p) { return p.id == record.id; });
    if (it != image->properties.end()) {
        *it = std::move(stored);
    } else {
        image->properties.push_back(std::move(stored));
    }
    return true;
}

bool ImageFile::RemovePropertyItem(std::int32_t propertyId) {
    ImageMetadata* image = Backend::held(backend_, lastStatus_);
    if (!image) return false;
    auto it = std::find_if(image->properties.begin(), image->properties.end(),
                           [&](const PropertyRecord& p) { return p.id == propertyId; });
    if (it == image->properties.end()) {
        lastStatus_ = image_status::PropertyNotFound;
        return false;
    }
    image->properties.erase(it);
    return true;
}

std::int32_t ImageFile::GetPropertyIdList(std::vector<std::int32_t>& ids) {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    if (!image) return 0;
    ids.clear();
    for (const PropertyRecord& p : image->properties) ids.push_back(p.id);
    return static_cast<std::int32_t>(ids.size());
}

void* ImageFile::Alloc(std::size_t size) { return std::malloc(size); }

void ImageFile::Free(void* memory) { std::free(memory); }

bool ImageFile::Clone(ImageFile& target) {
    std::unique_ptr<Backend> copy = backend_ ? std::make_unique<Backend>(*backend_) : nullptr;
    Backend::held(backend_, lastStatus_);
    target.backend_ = std::move(copy);
    return lastStatus_ == image_status::Ok;
}

bool ImageFile::GetThumbnail(std::uint32_t, std::uint32_t, ImageFile&) { return (lastStatus_ = kNoCodecs) == 0; }

bool ImageFile::SaveToFile(const std::string&, const std::string&, const EncoderParameterList*) {
    return (lastStatus_ = kNoCodecs) == 0;
}

std::vector<std::uint8_t> ImageFile::SaveToBytes(const std::string&, const EncoderParameterList*) {
    lastStatus_ = kNoCodecs;
    return {};
}

bool ImageFile::SaveAdd(const EncoderParameterList&) { return (lastStatus_ = kNoCodecs) == 0; }

bool ImageFile::SaveAddImage(ImageFile&, const EncoderParameterList&) { return (lastStatus_ = kNoCodecs) == 0; }

bool ImageFile::GetEncoderParameterList(const std::string&, EncoderParameterList&) {
    return (lastStatus_ = kNoCodecs) == 0;
}

std::uint32_t ImageFile::GetFrameCount(const std::string&) {
    lastStatus_ = kNoCodecs;
    return 0;
}

bool ImageFile::GetFrameDimensionsList(std::vector<std::string>&) { return (lastStatus_ = kNoCodecs) == 0; }

bool ImageFile::SelectActiveFrame(const std::string&, std::uint32_t) { return (lastStatus_ = kNoCodecs) == 0; }

bool ImageFile::RotateFlip(std::int32_t) { return (lastStatus_ = kNoCodecs) == 0; }

bool ImageFile::GetPalette(PaletteRecord&) { return (lastStatus_ = kNoCodecs) == 0; }

bool ImageFile::SetPalette(const PaletteRecord&) { return (lastStatus_ = kNoCodecs) == 0; }

std::int32_t GetEncoders(std::vector<CodecInfo>&, int& lastStatus) {
    lastStatus = kNoCodecs;
    return 0;
}

std::string FindEncoderClsid(const std::string&, int& lastStatus) {
    lastStatus = kNoCodecs;
    return {};
}

}  // namespace imaging
