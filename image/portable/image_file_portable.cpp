#include "image/portable/image_file_backend.h"

#include "image/sources/byte_sources.h"

#include <filesystem>
#include <system_error>

// The program's own path: load, read a property, dispose.
namespace imaging {

ImageFile::ImageFile(int& lastStatus) : lastStatus_(lastStatus) {}
ImageFile::~ImageFile() = default;

bool ImageFile::Dispose() {
    if (!backend_) return false;
    backend_.reset();
    lastStatus_ = image_status::Ok;
    return true;
}

bool ImageFile::LoadFromFile(const std::string& fileName, bool) {
    backend_.reset();
    std::unique_ptr<ByteSource> file = open_file_source(fileName);
    if (!file) {
        std::error_code error;
        bool present = std::filesystem::exists(std::filesystem::path(fileName), error);
        lastStatus_ = present ? image_status::Win32Error : image_status::FileNotFound;
        return false;
    }
    return Backend::adopt(backend_, read_image_metadata(*file), lastStatus_);
}

bool ImageFile::GetPropertyItem(std::int32_t propertyId, PropertyRecord& record) {
    const ImageMetadata* image = Backend::held(backend_, lastStatus_);
    if (!image) return false;
    const PropertyRecord* found = find_property(*image, propertyId);
    if (!found) {
        lastStatus_ = image_status::PropertyNotFound;
        return false;
    }
    record = *found;
    return true;
}

// The portable build's reader needs no start-up; a token of 1 says the image
// object is ready, and stopping only clears it, so a second stop does nothing.
std::uintptr_t StartGdiplus(std::uintptr_t& gdiplusToken, std::uint32_t) { return gdiplusToken = 1; }
void StopGdiplus(std::uintptr_t& gdiplusToken) { gdiplusToken = 0; }

}  // namespace imaging
