// Writes the fuzzer's seed corpus into the directory given as the argument:
// one file per kind of image the tests build, with and without EXIF, and
// one per kind of RAW file and video.
#include "../native/image_builders.h"
#include "../native/media_builders.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using namespace test_images;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string date = "2008:05:17 14:23:45";
    Bytes rich = TiffBuilder()
                     .add(Ifd::Zero, ascii(0x010F, "Canon"))
                     .add(Ifd::Zero, shorts(0x0112, {1}))
                     .add(Ifd::Zero, rational(0x011A, 72, 1))
                     .add(Ifd::Zero, shorts(0x0128, {2}))
                     .add(Ifd::Exif, ascii(kDateTimeOriginal, date))
                     .add(Ifd::Exif, undefined(0x927C, Bytes(40, 7)))
                     .add(Ifd::Gps, ascii(0x0001, "N"))
                     .add(Ifd::Gps, Field{0x0002, 5, 3, Bytes(24, 1), 4, std::nullopt})
                     .add(Ifd::One, ascii(kDateTime, "2011:01:01 00:00:00"))
                     .build()
                     .bytes;
    HeifOptions heif;
    heif.exif = exif_with_date(date, true);
    HeifOptions heif_idat = heif;
    heif_idat.exif_in_idat = true;

    std::vector<std::pair<std::string, Bytes>> seeds{
        {"jpeg-exif", jpeg_file({exif_app1(rich)}, 640, 480, 16)},
        {"jpeg-xmp-then-exif-be", jpeg_file({xmp_app1("<x/>"), exif_app1(exif_with_date(date, true))}, 64, 48, 16)},
        {"jpeg-plain", jpeg_file({}, 8, 8, 16)},
        {"jpeg-xmp-date", jpeg_file({xmp_app1("<rdf:Description xmp:CreateDate='2023-12-31T23:59:58.12+08:00'"
                                              " photoshop:DateCreated='2023-12-31'/>")},
                                    64, 48, 16)},
        {"jpeg-iptc", jpeg_file({iptc_app13("20190305", "081530+0800")}, 64, 48, 16)},
        {"jpeg-ciff", jpeg_file({ciff_app0(1136073599)}, 64, 48, 16)},
        {"tiff-le", rich},
        {"tiff-be", exif_with_date(date, true)},
        {"png-exif", png_file(8, 6, {png_chunk("eXIf", exif_with_date(date))})},
        {"webp-lossy", webp_file({vp8_chunk(30, 20)})},
        {"webp-lossless", webp_file({vp8l_chunk(30, 20)})},
        {"webp-extended-exif", webp_file({vp8x_chunk(30, 20, true), vp8_chunk(30, 20), riff_chunk("EXIF", rich)})},
        {"heif-mdat", heif_file(heif)},
        {"heif-idat", heif_file(heif_idat)},
        {"bmp", bmp_file(3, -3)},
        {"gif", gif_file(3, 3)},
        {"icon", icon_file(16, 16)},
        {"raw-tiff-orf", test_media::raw_tiff(date, "RO")},
        {"raw-tiff-rw2-be", test_media::raw_tiff(date, std::string_view("U\0", 2), true)},
        {"cr3", test_media::cr3_file(date)},
        {"crw", test_media::crw_file(1325375999)},
        {"raf", test_media::raf_file(date)},
        {"mrw", test_media::mrw_file(date)},
        {"x3f", test_media::x3f_file("1325375999")},
        {"mov-apple-keys", test_media::movie_file({"qt  ", 3400000000, 0, "2023-07-01T08:00:00-0500", false, false})},
        {"mp4-v1-udta-meta", test_media::movie_file({"", 3400000000, 1, "2023-07-01T08:00:00Z", true, true})},
        {"avi-idit", test_media::avi_file("THU OCT 26 16:46:00 2006\n")},
        {"mts", test_media::avchd_file({2009, 8, 1, 14, 0, 0}, false)},
        {"m2ts", test_media::avchd_file({2009, 8, 1, 14, 0, 0}, true)},
    };
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) return 1;
    }
    return 0;
}
