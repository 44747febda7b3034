#include "image/image_file.h"

// Placeholder backend: every operation fails cleanly until a real backend
// replaces this file.
struct ImageFile::Backend {};

namespace {
constexpr int kNotImplemented = 6;
}

ImageFile::ImageFile(int& lastStatus) : lastStatus_(lastStatus) {}
ImageFile::~ImageFile() = default;

std::uintptr_t ImageFile::GetHandle() const { return 0; }
void ImageFile::SetHandle(std::uintptr_t) {}
bool ImageFile::Dispose() { return false; }
bool ImageFile::LoadFromFile(const std::string&, bool) { return (lastStatus_ = kNotImplemented) == 0; }
bool ImageFile::LoadFromBytes(std::span<const std::uint8_t>, bool) { return (lastStatus_ = kNotImplemented) == 0; }
std::string ImageFile::GetRawFormat() { return "{00000000-0000-0000-0000-000000000000}"; }
RectF ImageFile::GetBounds(std::int32_t& unit) { unit = 0; return {}; }
SizeF ImageFile::GetDimension() { return {}; }
std::uint32_t ImageFile::GetType() { return 0; }
std::uint32_t ImageFile::GetWidth() { return 0; }
std::uint32_t ImageFile::GetHeight() { return 0; }
float ImageFile::GetHorizontalResolution() { return 0; }
float ImageFile::GetVerticalResolution() { return 0; }
std::uint32_t ImageFile::GetFlags() { return 0; }
std::int32_t ImageFile::GetPixelFormat() { return 0; }
bool ImageFile::GetFrameDelays(std::vector<std::int32_t>&) { return false; }
bool ImageFile::GetPropertyItem(std::int32_t, PropertyRecord&) { return false; }
bool ImageFile::SetPropertyItem(const PropertyRecord&) { return false; }
bool ImageFile::RemovePropertyItem(std::int32_t) { return false; }
std::int32_t ImageFile::GetPropertyIdList(std::vector<std::int32_t>&) { return 0; }
void* ImageFile::Alloc(std::size_t) { return nullptr; }
void ImageFile::Free(void*) {}
bool ImageFile::Clone(ImageFile&) { return false; }
bool ImageFile::GetThumbnail(std::uint32_t, std::uint32_t, ImageFile&) { return false; }
bool ImageFile::SaveToFile(const std::string&, const std::string&, const EncoderParameterList*) { return false; }
std::vector<std::uint8_t> ImageFile::SaveToBytes(const std::string&, const EncoderParameterList*) { return {}; }
bool ImageFile::SaveAdd(const EncoderParameterList&) { return false; }
bool ImageFile::SaveAddImage(ImageFile&, const EncoderParameterList&) { return false; }
bool ImageFile::GetEncoderParameterList(const std::string&, EncoderParameterList&) { return false; }
std::uint32_t ImageFile::GetFrameCount(const std::string&) { return 0; }
bool ImageFile::GetFrameDimensionsList(std::vector<std::string>&) { return false; }
bool ImageFile::SelectActiveFrame(const std::string&, std::uint32_t) { return false; }
bool ImageFile::RotateFlip(std::int32_t) { return false; }
bool ImageFile::GetPalette(PaletteRecord&) { return false; }
bool ImageFile::SetPalette(const PaletteRecord&) { return false; }

std::int32_t GetEncoders(std::vector<CodecInfo>&, int&) { return 0; }
std::string FindEncoderClsid(const std::string&, int&) { return {}; }

std::uintptr_t StartGdiplus(std::uintptr_t& gdiplusToken, std::uint32_t) { return gdiplusToken = 0; }
void StopGdiplus(std::uintptr_t& gdiplusToken) { gdiplusToken = 0; }
