#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Test images made byte by byte.
namespace image_test {

using Bytes = std::vector<std::uint8_t>;

// Braced ids of image formats, frame dimensions and encoder parameters.
inline const std::string kBmpFormat = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline const std::string kJpegFormat = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
inline const std::string kGifFormat = "{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}";
inline const std::string kPngFormat = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
inline const std::string kTiffFormat = "{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}";
inline const std::string kPageDimension = "{7462DC86-6180-4C7E-8E3F-EE7333A7A483}";
inline const std::string kSaveFlag = "{292266FC-AC40-47BF-8CFC-A85B89A655DE}";
inline const std::string kQuality = "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";
inline const std::string kZeroGuid = "{00000000-0000-0000-0000-000000000000}";

// Whether the tests run under Wine, whose GDI+ leaves a few functions as stubs.
bool running_under_wine();

// A 24-bit bottom-up BMP, each pixel coloured from its position.
Bytes bmp_24bit(int width, int height);

// An 8-bit BMP over a palette of ARGB colours (alpha ignored), pixel
// (x, y) using entry (x + y) % palette size.
Bytes bmp_8bit(int width, int height, const std::vector<std::uint32_t>& palette);

// A real JPEG (encoded by the imaging library, which must be running) with an
// EXIF APP1 segment holding the given TIFF block right after its start; no
// EXIF segment when the block is empty.
Bytes jpeg_photo(int width, int height, const Bytes& exif_tiff);

// One tag of a TIFF's IFD0: ASCII values get their closing zero added.
struct TiffTag {
    std::uint16_t id;
    std::string ascii;
};

// An 8-bit grey uncompressed little-endian TIFF with the given ASCII tags in IFD0
// besides the ones the image itself needs.
Bytes tiff_with_tags(int width, int height, const std::vector<TiffTag>& tags);

}  // namespace image_test
