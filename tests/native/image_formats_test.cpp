#include "image/sources/byte_sources.h"
#include "metadata_test_support.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace imaging;

using namespace test_images;

namespace {

const std::string kDate = "2008:05:17 14:23:45";

// A source that counts the bytes handed out, to show what a reader takes.
class CountingSource final : public ByteSource {
public:
    explicit CountingSource(const Bytes& bytes) : inner_(bytes) {}
    std::uint64_t size() const override { return inner_.size(); }
    std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        std::size_t n = inner_.read_at(offset, out);
        bytes_read += n;
        return n;
    }
    mutable std::uint64_t bytes_read = 0;

private:
    MemorySource inner_;
};

void expect_image(const Bytes& bytes, ImageFormat format, std::uint32_t width, std::uint32_t height,
                  const std::string& date) {
    std::optional<ImageMetadata> image = read_bytes(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->format, format);
    EXPECT_EQ(image->width, width);
    EXPECT_EQ(image->height, height);
    EXPECT_EQ(value_text(*image, kDateTimeOriginal), date.empty() ? "" : with_zero(date));
}

}  // namespace

TEST(JpegMetadata, DateFromTheExifSegmentAndSizeFromTheFrame) {
    expect_image(jpeg_file({exif_app1(exif_with_date(kDate))}, 640, 480), ImageFormat::Jpeg, 640, 480, kDate);
    expect_image(jpeg_file({exif_app1(exif_with_date(kDate, true))}, 640, 480), ImageFormat::Jpeg, 640, 480, kDate);
}

TEST(JpegMetadata, WithoutExifOrWithoutCaptureDate) {
    Bytes jfif_payload = bytes_of(std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
    expect_image(jpeg_file({jpeg_segment(0xE0, jfif_payload)}, 320, 200), ImageFormat::Jpeg, 320, 200, "");
    Bytes no_date =
        TiffBuilder().add(Ifd::Zero, ascii(0x010F, "Canon")).add(Ifd::Exif, ascii(0x9004, kDate)).build().bytes;
    std::optional<ImageMetadata> image = read_bytes(jpeg_file({exif_app1(no_date)}, 320, 200));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(find_property(*image, kDateTimeOriginal), nullptr);
    EXPECT_EQ(value_text(*image, 0x9004), with_zero(kDate));
}

TEST(JpegMetadata, OtherApp1SegmentsBeforeTheExifOneArePassedOver) {
    Bytes xmp = xmp_app1("<x:xmpmeta><exif:DateTimeOriginal>1999</exif:DateTimeOriginal></x:xmpmeta>");
    Bytes empty_app1 = jpeg_segment(0xE1, {});
    Bytes not_quite = jpeg_segment(0xE1, bytes_of("Exif"));
    expect_image(jpeg_file({xmp, empty_app1, not_quite, exif_app1(exif_with_date(kDate))}, 64, 48), ImageFormat::Jpeg,
                 64, 48, kDate);
    // The first EXIF segment is the image's; a later one is not read.
    expect_image(
        jpeg_file({exif_app1(exif_with_date(kDate)), exif_app1(exif_with_date("1999:01:01 00:00:00"))}, 64, 48),
        ImageFormat::Jpeg, 64, 48, kDate);
}

TEST(JpegMetadata, FillBytesBeforeMarkersAreSkipped) {
    Bytes file = jpeg_file({exif_app1(exif_with_date(kDate))}, 64, 48);
    file.insert(file.begin() + 2, {0xFF, 0xFF, 0xFF});
    expect_image(file, ImageFormat::Jpeg, 64, 48, kDate);
}

TEST(JpegMetadata, BrokenSegmentsEndTheWalkCleanly) {
    // A segment length below 2 stops the walk: no frame size after it.
    Bytes bad_length = jpeg_file({jpeg_segment(0xE2, {}), exif_app1(exif_with_date(kDate))}, 64, 48);
    bad_length[4] = 0;
    bad_length[5] = 1;
    expect_image(bad_length, ImageFormat::Jpeg, 0, 0, "");
    // Garbage where a marker should be.
    Bytes garbage{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x61, 0x62, 0x12, 0x34};
    expect_image(garbage, ImageFormat::Jpeg, 0, 0, "");
}

TEST(JpegMetadata, ExifSegmentCutShortByTheFileEnd) {
    Bytes tiff = exif_with_date(kDate);
    Bytes file = jpeg_file({exif_app1(tiff)}, 64, 48);
    // Cut just after the date value (the block's last bytes), inside the segment.
    std::size_t date_end = 2 + 4 + 6 + tiff.size();
    file.resize(date_end);
    expect_image(file, ImageFormat::Jpeg, 0, 0, kDate);
    file.resize(date_end - 5);
    expect_image(file, ImageFormat::Jpeg, 0, 0, "");
}

TEST(JpegMetadata, ReadsOnlyTheSegmentsBeforeTheScan) {
    Bytes file = jpeg_file({exif_app1(exif_with_date(kDate))}, 4000, 3000, 2u << 20);
    CountingSource source(file);
    std::optional<ImageMetadata> image = read_image_metadata(source);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(value_text(*image, kDateTimeOriginal), with_zero(kDate));
    EXPECT_LT(source.bytes_read, 4096u);
}

TEST(PngMetadata, SizeFromTheHeaderAndDateFromTheExifChunk) {
    expect_image(png_file(800, 600, {png_chunk("eXIf", exif_with_date(kDate, true))}), ImageFormat::Png, 800, 600,
                 kDate);
    expect_image(png_file(800, 600), ImageFormat::Png, 800, 600, "");
    // Some writers keep the JPEG identifier in front of the block.
    Bytes prefixed = bytes_of(std::string("Exif\0\0", 6));
    Bytes tiff = exif_with_date(kDate);
    prefixed.insert(prefixed.end(), tiff.begin(), tiff.end());
    expect_image(png_file(8, 6, {png_chunk("tEXt", bytes_of(std::string("a\0b", 3))), png_chunk("eXIf", prefixed)}),
                 ImageFormat::Png, 8, 6, kDate);
}

TEST(PngMetadata, ExifChunkAfterTheImageDataIsFound) {
    Bytes file = png_file(8, 6);
    Bytes exif = png_chunk("eXIf", exif_with_date(kDate));
    file.insert(file.end() - 12, exif.begin(), exif.end());
    expect_image(file, ImageFormat::Png, 8, 6, kDate);
}

TEST(PngMetadata, ASignatureWithoutHeaderChunkIsNoImage) {
    Bytes file = png_file(8, 6);
    file[12] = 'X';
    EXPECT_FALSE(read_bytes(file).has_value());
    EXPECT_FALSE(read_bytes(bytes_of("\x89PNG\r\n\x1A\n")).has_value());
}

TEST(WebPMetadata, SizeFromEachKindOfBitstream) {
    expect_image(webp_file({vp8_chunk(1024, 768)}), ImageFormat::WebP, 1024, 768, "");
    expect_image(webp_file({vp8l_chunk(16383, 1)}), ImageFormat::WebP, 16383, 1, "");
    expect_image(webp_file({vp8x_chunk(5000, 4000, false), vp8_chunk(5000 & 0x3FFF, 4000)}), ImageFormat::WebP, 5000,
                 4000, "");
}

TEST(WebPMetadata, DateFromTheExifChunkOfAnExtendedFile) {
    Bytes tiff = exif_with_date(kDate);
    tiff.push_back(0);  // an odd chunk length, padded in the file
    expect_image(webp_file({vp8x_chunk(300, 200, true), vp8_chunk(300, 200), riff_chunk("ICCP", Bytes(7, 1)),
                            riff_chunk("EXIF", tiff)}),
                 ImageFormat::WebP, 300, 200, kDate);
}

TEST(WebPMetadata, ChunksPastTheRiffSizeAreIgnored) {
    Bytes file = webp_file({vp8x_chunk(300, 200, true), vp8_chunk(300, 200)});
    Bytes exif = riff_chunk("EXIF", exif_with_date(kDate));
    file.insert(file.end(), exif.begin(), exif.end());
    expect_image(file, ImageFormat::WebP, 300, 200, "");
}

TEST(HeifMetadata, DateFromTheExifItemAndSizeOfThePrimaryImage) {
    HeifOptions options;
    options.exif = exif_with_date(kDate, true);
    expect_image(heif_file(options), ImageFormat::Heif, 4032, 3024, kDate);
    options.exif_in_idat = true;
    options.major_brand = "mif1";
    expect_image(heif_file(options), ImageFormat::Heif, 4032, 3024, kDate);
    options.exif_skip = 0;
    expect_image(heif_file(options), ImageFormat::Heif, 4032, 3024, kDate);
}

TEST(HeifMetadata, WithoutExifItemOrWithABadSkip) {
    expect_image(heif_file(HeifOptions{}), ImageFormat::Heif, 4032, 3024, "");
    HeifOptions options;
    options.exif = exif_with_date(kDate);
    Bytes file = heif_file(options);
    // Make the item's count of bytes before its TIFF header point past the item.
    const Bytes skip{0, 0, 0, 6, 'E', 'x', 'i', 'f', 0, 0};
    auto at = std::search(file.begin(), file.end(), skip.begin(), skip.end());
    ASSERT_NE(at, file.end());
    at[2] = 0x10;
    expect_image(file, ImageFormat::Heif, 4032, 3024, "");
}

TEST(HeifMetadata, OtherIsoFilesAreNoImages) {
    HeifOptions options;
    options.major_brand = "isom";
    Bytes file = heif_file(options);
    // Replace the compatible brands too: an MP4 video.
    std::copy_n("isomavc1", 8, file.begin() + 16);
    EXPECT_FALSE(read_bytes(file).has_value());
}

TEST(SimpleFormats, SizeFromTheHeaders) {
    expect_image(bmp_file(33, 17), ImageFormat::Bmp, 33, 17, "");
    expect_image(bmp_file(33, -17), ImageFormat::Bmp, 33, 17, "");
    expect_image(gif_file(500, 300), ImageFormat::Gif, 500, 300, "");
    expect_image(icon_file(48, 32), ImageFormat::Icon, 48, 32, "");
    expect_image(icon_file(0, 0), ImageFormat::Icon, 256, 256, "");
}

TEST(SimpleFormats, LookAlikesAreNoImages) {
    Bytes bad_bmp = bmp_file(4, 4);
    bad_bmp[14] = 99;  // no such bitmap header size
    Bytes icon_data_outside = icon_file(16, 16);
    icon_data_outside.resize(40);
    for (const Bytes& bytes : {bad_bmp, bytes_of("BMW cars are fast, says this text file"), icon_data_outside,
                               bytes_of(std::string("\0\0\1\0\0\0", 6)), bytes_of("GIF8"), Bytes{}, bytes_of("hello"),
                               bytes_of(std::string("\0\0\0\x18"
                                                    "ftypheic",
                                                    12))}) {
        EXPECT_FALSE(read_bytes(bytes).has_value());
    }
}

TEST(ImageFiles, ReadFromDiskAndRefusedForDirectories) {
    TempDirectory dir;
    Bytes jpeg = jpeg_file({exif_app1(exif_with_date(kDate))}, 64, 48);
    dir.write("photo.jpg", std::string(jpeg.begin(), jpeg.end()));
    dir.write("empty.jpg", "");
    dir.write("notes.jpg", "just some text, not a photo");
    std::filesystem::create_directory(dir.path("folder.jpg"));

    std::unique_ptr<ByteSource> photo = open_file_source(dir.path("photo.jpg"));
    ASSERT_NE(photo, nullptr);
    std::optional<ImageMetadata> image = read_image_metadata(*photo);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(value_text(*image, kDateTimeOriginal), with_zero(kDate));

    for (const char* name : {"empty.jpg", "notes.jpg"}) {
        std::unique_ptr<ByteSource> file = open_file_source(dir.path(name));
        ASSERT_NE(file, nullptr);
        EXPECT_FALSE(read_image_metadata(*file).has_value()) << name;
    }
    EXPECT_EQ(open_file_source(dir.path("folder.jpg")), nullptr);
}

// Every prefix of every kind of file: a truncated file is read without a
// fault, and whatever properties come back are whole.
TEST(TruncatedFiles, EveryPrefixReadsCleanly) {
    HeifOptions heif;
    heif.exif = exif_with_date(kDate);
    Bytes extended_webp =
        webp_file({vp8x_chunk(30, 20, true), vp8_chunk(30, 20), riff_chunk("EXIF", exif_with_date(kDate))});
    for (const Bytes& file :
         {jpeg_file({xmp_app1("<x/>"), exif_app1(exif_with_date(kDate, true))}, 64, 48),
          png_file(8, 6, {png_chunk("eXIf", exif_with_date(kDate))}), extended_webp, heif_file(heif),
          exif_with_date(kDate), bmp_file(3, 3), gif_file(3, 3), icon_file(3, 3)}) {
        for (std::size_t n = 0; n <= file.size(); ++n) {
            Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
            std::optional<ImageMetadata> image = read_bytes(prefix);
            if (!image) continue;
            for (const PropertyRecord& p : image->properties) {
                ASSERT_EQ(static_cast<std::size_t>(p.length), p.value.size()) << "prefix " << n;
            }
        }
    }
}

TEST(ByteSources, EmptyReadsCopyNothing) {
    const Bytes bytes{1, 2, 3};
    MemorySource source(bytes);
    EXPECT_EQ(source.read_at(1, {}), 0u);
    EXPECT_EQ(MemorySource({}).read_at(0, {}), 0u);
    std::uint8_t out[4] = {};
    EXPECT_EQ(source.read_at(~std::uint64_t{0}, out), 0u);
    EXPECT_EQ(source.read_at(2, out), 1u);
    EXPECT_EQ(out[0], 3);
}
