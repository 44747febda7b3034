#include "image/metadata/byte_view.h"
#include "image/metadata/format_readers.h"
#include "image/metadata/source_reads.h"
#include "image/metadata/tiff_reader.h"

#include <string_view>

namespace imaging {

namespace metadata {

namespace {

constexpr int kMaxMarkers = 4096;  // segments and fill bytes walked before giving up
constexpr std::string_view kExifId("Exif\0\0", 6);
// A segment's marker, length and the first bytes of its payload, enough to
// tell an EXIF APP1 and to read a frame header, in one read.
constexpr std::size_t kSegmentHead = 4 + 6;

bool is_start_of_frame(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length: TEM, RST0-RST7 and SOI.
bool stands_alone(std::uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8); }

}  // namespace

// Walks the segments up to the start of the scan. The first APP1 that starts
// with "Exif\0\0" gives the properties (XMP and other APP1 segments are passed
// over); the first frame header gives the size.
std::optional<ImageMetadata> read_jpeg(const ByteSource& file) {
    ImageMetadata image;
    image.format = ImageFormat::Jpeg;
    bool have_exif = false;
    bool have_size = false;
    std::uint64_t at = 2;
    for (int step = 0; step < kMaxMarkers && !(have_exif && have_size); ++step) {
        std::vector<std::uint8_t> head_bytes = read_up_to(file, at, kSegmentHead);
        ByteView head(head_bytes);
        if (!head.has(0, 2) || head.u8(0) != 0xFF) break;
        std::uint8_t marker = head.u8(1);
        if (marker == 0xFF) {  // fill byte before a marker
            at += 1;
            continue;
        }
        if (stands_alone(marker)) {
            at += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9 || marker == 0x00 || !head.has(2, 2)) break;
        std::uint16_t length = head.u16(2, ByteOrder::Big);
        if (length < 2) break;
        std::uint64_t payload = at + 4;
        std::uint64_t payload_length = length - 2u;

        if (marker == 0xE1 && !have_exif && payload_length >= kExifId.size() && head.matches(4, kExifId)) {
            // A segment cut short by the end of the file gives what is there.
            SourceWindow tiff(file, payload + kExifId.size(), payload_length - kExifId.size());
            if (std::optional<TiffContents> contents = read_tiff(tiff)) image.properties = std::move(contents->properties);
            have_exif = true;
        } else if (is_start_of_frame(marker) && !have_size && payload_length >= 5 && head.has(4, 5)) {
            image.height = head.u16(5, ByteOrder::Big);
            image.width = head.u16(7, ByteOrder::Big);
            have_size = true;
        }
        at = payload + payload_length;
    }
    return image;
}

}  // namespace metadata

}  // namespace imaging
