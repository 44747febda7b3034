#include "image/image_file.h"

ImageFile::~ImageFile() { Dispose(); }

bool ImageFile::Dispose() { return false; }

std::uintptr_t StartGdiplus(std::uintptr_t& gdiplusToken, std::uint32_t) {
    gdiplusToken = 0;
    return gdiplusToken;
}

void StopGdiplus(std::uintptr_t& gdiplusToken) { gdiplusToken = 0; }
