#include "image/image_metadata.h"
#include "image/sources/byte_sources.h"
#include "image_builders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace imaging;
using namespace test_images;

namespace {

std::string xmp(std::string_view properties) {
    return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?><x:xmpmeta xmlns:x='adobe:ns:meta/'>"
           "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description rdf:about=''" +
           std::string(properties) + "</rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
}

Bytes jpeg(const std::vector<Bytes>& segments) { return jpeg_file(segments, 64, 48, 16); }

Bytes webp_with_xmp(std::string_view packet) {
    Bytes header = vp8x_chunk(64, 48, false);
    header[8] |= 0x04;  // the XMP flag
    return webp_file({header, vp8_chunk(64, 48), riff_chunk("XMP ", bytes_of(packet))});
}

Bytes tiff_with_xmp(std::string_view packet) {
    return TiffBuilder()
        .add(Ifd::Zero, shorts(0x0100, {64}))
        .add(Ifd::Zero, shorts(0x0101, {48}))
        .add(Ifd::Zero, undefined(700, bytes_of(packet)))
        .build()
        .bytes;
}

struct Case {
    const char* what;
    // exiftool's reading of the same file: the program drops zones and
    // fractions, and takes a date that is no real date as none.
    const char* exiftool;
    Bytes bytes;
    const char* date;
    const char* cut_short = nullptr;  // the date of the next source, where the first is cut off
};

std::vector<Case> cases() {
    const std::string exif_date = xmp(" exif:DateTimeOriginal='2024-07-01T14:23:45+08:00'>");
    return {
        {"XMP exif:DateTimeOriginal with an offset", "XMP-exif DateTimeOriginal 2024:07:01 14:23:45+08:00",
         jpeg({xmp_app1(exif_date)}), "2024:07:01 14:23:45"},
        {"XMP photoshop:DateCreated, a date alone", "XMP-photoshop DateCreated 2024:07:01",
         jpeg({xmp_app1(xmp("><photoshop:DateCreated>2024-07-01</photoshop:DateCreated>"))}), "2024:07:01 00:00:00"},
        {"XMP xmp:CreateDate, fractional seconds and Z", "XMP-xmp CreateDate 2023:12:31 23:59:58.123Z",
         jpeg({xmp_app1(xmp(" xmp:CreateDate=\"2023-12-31T23:59:58.123Z\">"))}), "2023:12:31 23:59:58"},
        {"XMP xmp:CreateDate without seconds", "XMP-xmp CreateDate 2023:12:31 23:59-05:00",
         jpeg({xmp_app1(xmp(" xmp:CreateDate='2023-12-31T23:59-05:00'>"))}), "2023:12:31 23:59:00"},
        {"XMP exif:DateTimeOriginal before xmp:CreateDate", "XMP-exif DateTimeOriginal 2002:02:02 02:02:02",
         jpeg({xmp_app1(xmp(" xmp:CreateDate='2001-01-01T01:01:01' exif:DateTimeOriginal='2002-02-02T02:02:02'>"))}),
         "2002:02:02 02:02:02", "2001:01:01 01:01:01"},
        {"XMP month 13 is no date", "XMP-xmp CreateDate 2024:13:01 10:00:00",
         jpeg({xmp_app1(xmp(" xmp:CreateDate='2024-13-01T10:00:00'>"))}), ""},
        {"XMP 0000-00-00 is no date", "XMP-xmp CreateDate 0000:00:00 00:00:00",
         jpeg({xmp_app1(xmp(" xmp:CreateDate='0000-00-00T00:00:00'>"))}), ""},
        {"two XMP packets: the first counts", "XMP-exif DateTimeOriginal 2024:07:01 14:23:45+08:00",
         jpeg({xmp_app1(exif_date), xmp_app1(xmp(" exif:DateTimeOriginal='1999-09-09T09:09:09'>"))}),
         "2024:07:01 14:23:45"},
        {"IPTC date and time with an offset", "IPTC DateCreated 2019:03:05, TimeCreated 08:15:30+08:00",
         jpeg({iptc_app13("20190305", "081530+0800")}), "2019:03:05 08:15:30"},
        {"IPTC date without a time", "IPTC DateCreated 2019:03:05", jpeg({iptc_app13("20190305", "")}),
         "2019:03:05 00:00:00"},
        {"IPTC day 0 is no date", "IPTC DateCreated 2019:03:00", jpeg({iptc_app13("20190300", "")}), ""},
        {"XMP before IPTC", "XMP-exif DateTimeOriginal 2024:07:01 14:23:45+08:00",
         jpeg({iptc_app13("20190305", ""), xmp_app1(exif_date)}), "2024:07:01 14:23:45", "2019:03:05 00:00:00"},
        {"a Canon CIFF block", "CIFF DateTimeOriginal 2005:12:31 23:59:59", jpeg({ciff_app0(1136073599)}),
         "2005:12:31 23:59:59"},
        {"EXIF and XMP disagree: EXIF wins", "ExifIFD DateTimeOriginal 2010:10:10 10:10:10",
         jpeg({exif_app1(exif_with_date("2010:10:10 10:10:10")), xmp_app1(exif_date)}), "2010:10:10 10:10:10"},
        {"PNG with an XMP chunk", "XMP-exif DateTimeOriginal 2024:07:01 14:23:45+08:00",
         png_file(64, 48, {png_chunk("iTXt", bytes_of(std::string("XML:com.adobe.xmp\0\0\0\0\0", 22) + exif_date))}),
         "2024:07:01 14:23:45"},
        {"WebP with an XMP chunk", "XMP-exif DateTimeOriginal 2024:07:01 14:23:45+08:00", webp_with_xmp(exif_date),
         "2024:07:01 14:23:45"},
        {"HEIF with an XMP item", "XMP-exif DateTimeOriginal 2024:07:01 14:23:45+08:00",
         [&] {
             HeifOptions heif;
             heif.xmp = exif_date;
             return heif_file(heif);
         }(),
         "2024:07:01 14:23:45"},
        {"TIFF with an XMP packet", "XMP-exif DateTimeOriginal 2024:07:01 14:23:45+08:00", tiff_with_xmp(exif_date),
         "2024:07:01 14:23:45"},
    };
}

}  // namespace

// The capture time: EXIF's DateTimeOriginal, else the one kept outside EXIF.
std::string capture_time(const ImageMetadata& image) {
    for (const PropertyRecord& p : image.properties) {
        if (p.id == 0x9003) return std::string(p.value.begin(), p.value.end() - 1);
    }
    return image.date_outside_exif;
}

TEST(DatesOutsideExif, EachSourceGivesTheDateExiftoolReads) {
    for (const Case& c : cases()) {
        std::optional<ImageMetadata> image = read_image_metadata(MemorySource(c.bytes));
        ASSERT_TRUE(image) << c.what;
        EXPECT_EQ(capture_time(*image), c.date) << c.what;
    }
}

// Cut short anywhere: never a read outside the bytes, never another date.
TEST(DatesOutsideExif, CutShortGivesTheDateOrNone) {
    for (const Case& c : cases()) {
        for (std::size_t n = 0; n < c.bytes.size(); n += 7) {
            Bytes cut(c.bytes.begin(), c.bytes.begin() + static_cast<std::ptrdiff_t>(n));
            std::optional<ImageMetadata> image = read_image_metadata(MemorySource(cut));
            if (image && !image->date_outside_exif.empty() && image->date_outside_exif != c.date) {
                ASSERT_EQ(image->date_outside_exif, c.cut_short ? c.cut_short : "") << c.what << n;
            }
        }
    }
}
