#include "image/metadata/byte_view.h"
#include "image/metadata/format_readers.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"
#include "image/metadata/tiff_reader.h"

#include <string_view>

namespace imaging {

namespace metadata {

namespace {

constexpr int kMaxMarkers = 4096;  // segments and fill bytes walked before giving up
constexpr std::string_view kExifId("Exif\0\0", 6);
constexpr std::string_view kXmpId("http://ns.adobe.com/xap/1.0/\0", 29);
constexpr std::string_view kPhotoshopId("Photoshop 3.0\0", 14);
constexpr std::string_view kCiffId("HEAPJPGM");
// A segment's marker, length and the first bytes of its payload, enough to
// tell an EXIF APP1 and to read a frame header, in one read.
constexpr std::size_t kSegmentHead = 4 + 29;

bool is_start_of_frame(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length: TEM, RST0-RST7 and SOI.
bool stands_alone(std::uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8); }

struct Segment {
    std::uint64_t at = 0;
    std::uint64_t length = 0;
    bool found = false;
};

// The segments that may date a photo whose EXIF does not: the first XMP
// packet, Photoshop's resources (IPTC) and a Canon CIFF block.
struct DateSegments {
    Segment xmp, photoshop, ciff;

    void note(std::uint8_t marker, ByteView head, std::uint64_t payload, std::uint64_t length) {
        // The head holds the next segment's bytes too when this one is short.
        if (marker == 0xE1 && !xmp.found && length >= kXmpId.size() && head.matches(4, kXmpId)) {
            xmp = {payload + kXmpId.size(), length - kXmpId.size(), true};
        } else if (marker == 0xED && !photoshop.found && length >= kPhotoshopId.size() &&
                   head.matches(4, kPhotoshopId)) {
            photoshop = {payload + kPhotoshopId.size(), length - kPhotoshopId.size(), true};
        } else if (marker == 0xE0 && !ciff.found && length >= 6 + kCiffId.size() && head.matches(10, kCiffId)) {
            ciff = {payload, length, true};
        }
    }

    std::string date(const ByteSource& file) const {
        std::optional<std::string> date;
        if (xmp.found) date = xmp_date_at(file, xmp.at, xmp.length);
        if (!date && photoshop.found) {
            std::vector<std::uint8_t> resources =
                read_up_to(file, photoshop.at, static_cast<std::size_t>(photoshop.length));
            date = iptc_date(ByteView(resources));
        }
        if (!date && ciff.found) date = crw_date(SourceWindow(file, ciff.at, ciff.length));
        return date.value_or("");
    }
};

}  // namespace

// Walks the segments up to the start of the scan. The first APP1 that starts
// with "Exif\0\0" gives the properties; the first frame header gives the
// size. Only where EXIF holds no capture time does the walk go on to the
// scan, for the segments that may hold one.
std::optional<ImageMetadata> read_jpeg(const ByteSource& file) {
    ImageMetadata image;
    image.format = ImageFormat::Jpeg;
    bool have_exif = false;
    bool have_size = false;
    bool dated = false;
    DateSegments date_segments;
    std::uint64_t at = 2;
    for (int step = 0; step < kMaxMarkers && !(have_exif && have_size && dated); ++step) {
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
            if (std::optional<TiffContents> contents = read_tiff(tiff))
                image.properties = std::move(contents->properties);
            have_exif = true;
            dated = is_dated(image.properties);
        } else if (is_start_of_frame(marker) && !have_size && payload_length >= 5 && head.has(4, 5)) {
            image.height = head.u16(5, ByteOrder::Big);
            image.width = head.u16(7, ByteOrder::Big);
            have_size = true;
        } else {
            date_segments.note(marker, head, payload, payload_length);
        }
        at = payload + payload_length;
    }
    if (!dated) image.date_outside_exif = date_segments.date(file);
    return image;
}

}  // namespace metadata

}  // namespace imaging
