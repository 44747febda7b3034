#pragma once

#include "image/sources/byte_sources.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace imaging {

// One image property as the imaging library reports it: tag id, byte length,
// type code (1 byte, 2 ASCII, 3 short, 4 long, 5 rational, 7 undefined,
// 9 signed long, 10 signed rational) and the raw value bytes, multi-byte
// numbers in little-endian order. For the capture date (id 36867) the value is
// "YYYY:MM:DD HH:MM:SS" with its closing zero byte: length 20, type 2.
struct PropertyRecord {
    std::int32_t id = 0;
    std::int32_t length = 0;
    std::int32_t type = 0;
    std::vector<std::uint8_t> value;
};

enum class ImageFormat { Unknown, Bmp, Gif, Jpeg, Png, Tiff, Icon, WebP, Heif };

// The format GUID the imaging library reports for an image of each format, in
// braced upper-case text; the all-zero GUID for an unknown format.
std::string raw_format_guid(ImageFormat format);

// What the program's own reader learns from an image file's headers.
struct ImageMetadata {
    ImageFormat format = ImageFormat::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Tags of the main image (TIFF IFD0, its Exif and GPS IFDs), in file order,
    // each id once; never those of a thumbnail.
    std::vector<PropertyRecord> properties;
    // Where the properties hold no DateTimeOriginal: the capture time the file
    // keeps elsewhere (XMP, IPTC, a Canon CIFF block), as DateTimeOriginal
    // writes it; empty when it keeps none.
    std::string date_outside_exif;
};

// Format, size and properties of an image; nothing when the bytes are not an
// image of a format the reader knows. Never reads outside what the source holds.
// A file cut short gives what its first bytes hold (its size may be missing).
std::optional<ImageMetadata> read_image_metadata(const ByteSource& source);

// Photos and videos that GDI+ does not open, by what the program's own
// reader finds in their headers: camera RAW files and videos. Their capture
// time reads like a photo's DateTimeOriginal, "YYYY:MM:DD HH:MM:SS".
enum class MediaKind { None, CameraRaw, Video };
struct MediaDate {
    MediaKind kind = MediaKind::None;  // None: not a file of these kinds (an image, or nothing the reader knows)
    std::string date;                  // empty when the file holds no capture time
};

// The kind of a file and its capture time. A TIFF is a camera RAW file only
// under one of the RAW file endings (extension with its dot, any case): the
// others carry their own signatures. Reads headers only, never image data.
MediaDate read_media_date(const ByteSource& source, std::string_view extension);

// True when the reader found a whole image header, with a width and a height
// (for JPEG, a frame header): only then is a file an image. A file that only
// starts like one (the three bytes FF D8 FF of a JPEG, say) is none.
inline bool has_image_header(const ImageMetadata& image) { return image.width > 0 && image.height > 0; }

// True for the tags the reader collects when a file holds them: those of
// TIFF's IFD0 and of the Exif and GPS directories, by the TIFF and Exif
// standards. Other properties (a thumbnail's, a PNG chunk's, GDI+'s own) are
// none of the reader's business.
constexpr bool is_main_image_tag(std::int32_t id) {
    return (id >= 0x0000 && id <= 0x001F) ||  // GPS
           (id >= 0x00FE && id <= 0x0213) ||  // TIFF IFD0
           id == 0x8298 ||                    // Copyright
           (id >= 0x829A && id <= 0x829D) ||  // ExposureTime, FNumber
           id == 0x8769 || id == 0x8825 ||    // Exif and GPS directory pointers
           (id >= 0x8822 && id <= 0x8832) ||  // ExposureProgram to ISOSpeed
           (id >= 0x9000 && id <= 0x9292) ||  // ExifVersion to SubSecTimeDigitized
           (id >= 0xA000 && id <= 0xA435);    // FlashpixVersion to LensSerialNumber
}

}  // namespace imaging
