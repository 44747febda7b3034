#include "image/image_file.h"
#include "metadata_test_support.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace imaging;

using namespace test_images;

namespace {

const std::string kDate = "2008:05:17 14:23:45";
const std::string kJpegFormat = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
const std::string kNoFormat = "{00000000-0000-0000-0000-000000000000}";

void write_bytes(const TempDirectory& dir, const std::string& name, const Bytes& bytes) {
    dir.write(name, std::string(bytes.begin(), bytes.end()));
}

Bytes photo(const std::string& date) { return jpeg_file({exif_app1(exif_with_date(date))}, 640, 480); }

PropertyRecord sentinel_record() { return PropertyRecord{7, 3, 2, {'a', 'b', 0}}; }

void expect_record(const PropertyRecord& r, const PropertyRecord& expected) {
    EXPECT_EQ(r.id, expected.id);
    EXPECT_EQ(r.length, expected.length);
    EXPECT_EQ(r.type, expected.type);
    EXPECT_EQ(r.value, expected.value);
}

struct PortableImageFile : ::testing::Test {
    TempDirectory dir;
    int status = -1;
    ImageFile image{status};
};

}  // namespace

TEST_F(PortableImageFile, LoadsAPhotoAndReadsItsCaptureDate) {
    write_bytes(dir, "IMG_0001.JPG", photo(kDate));
    ASSERT_TRUE(image.LoadFromFile(dir.path("IMG_0001.JPG")));
    EXPECT_EQ(status, image_status::Ok);
    EXPECT_NE(image.GetHandle(), 0u);

    PropertyRecord record;
    EXPECT_TRUE(image.GetPropertyItem(kDateTimeOriginal, record));
    EXPECT_EQ(status, image_status::Ok);
    Bytes expected(kDate.begin(), kDate.end());
    expected.push_back(0);
    expect_record(record, PropertyRecord{kDateTimeOriginal, 20, 2, expected});

    EXPECT_EQ(image.GetRawFormat(), kJpegFormat);
    EXPECT_EQ(image.GetWidth(), 640u);
    EXPECT_EQ(image.GetHeight(), 480u);
    std::int32_t unit = -1;
    RectF bounds = image.GetBounds(unit);
    EXPECT_EQ(unit, 2);
    EXPECT_EQ(bounds.Width, 640.0f);
    EXPECT_EQ(bounds.Height, 480.0f);
    EXPECT_EQ(image.GetType(), 1u);
    EXPECT_EQ(image.GetHorizontalResolution(), 96.0f);
}

TEST_F(PortableImageFile, AbsentPropertyLeavesTheRecordUntouched) {
    write_bytes(dir, "plain.jpg", jpeg_file({}, 10, 10));
    ASSERT_TRUE(image.LoadFromFile(dir.path("plain.jpg")));
    PropertyRecord record = sentinel_record();
    EXPECT_FALSE(image.GetPropertyItem(kDateTimeOriginal, record));
    EXPECT_EQ(status, image_status::PropertyNotFound);
    expect_record(record, sentinel_record());

    std::vector<std::int32_t> delays{5};
    EXPECT_FALSE(image.GetFrameDelays(delays));
    EXPECT_EQ(delays, std::vector<std::int32_t>{5});
}

TEST_F(PortableImageFile, DisposeReleasesOnceAndThenLeavesTheStatusAlone) {
    write_bytes(dir, "a.jpg", photo(kDate));
    ASSERT_TRUE(image.LoadFromFile(dir.path("a.jpg")));
    EXPECT_TRUE(image.Dispose());
    EXPECT_EQ(image.GetHandle(), 0u);
    status = 1234;
    EXPECT_FALSE(image.Dispose());
    EXPECT_EQ(status, 1234);
    // The file is free to be renamed afterwards.
    std::filesystem::rename(dir.path("a.jpg"), dir.path("20080517 142345.jpg"));
    EXPECT_TRUE(dir.exists("20080517 142345.jpg"));
}

TEST_F(PortableImageFile, EmptyObjectAnswersWithZeroValues) {
    EXPECT_EQ(image.GetRawFormat(), kNoFormat);
    EXPECT_EQ(status, image_status::InvalidParameter);
    PropertyRecord record = sentinel_record();
    EXPECT_FALSE(image.GetPropertyItem(kDateTimeOriginal, record));
    expect_record(record, sentinel_record());
    std::vector<std::int32_t> ids{1, 2};
    EXPECT_EQ(image.GetPropertyIdList(ids), 0);
    EXPECT_EQ(ids, (std::vector<std::int32_t>{1, 2}));
    std::int32_t unit = 9;
    RectF bounds = image.GetBounds(unit);
    EXPECT_EQ(unit, 0);
    EXPECT_EQ(bounds.Width, 0.0f);
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetHandle(), 0u);
}

TEST_F(PortableImageFile, LoadFromBytesKeepsNothingOfTheCallersArray) {
    {
        Bytes bytes = photo(kDate);
        ASSERT_TRUE(image.LoadFromBytes(bytes));
        std::fill(bytes.begin(), bytes.end(), 0xEE);
    }
    PropertyRecord record;
    ASSERT_TRUE(image.GetPropertyItem(kDateTimeOriginal, record));
    EXPECT_EQ(std::string(record.value.begin(), record.value.end()), with_zero(kDate));
    EXPECT_TRUE(image.Dispose());
}

TEST_F(PortableImageFile, LoadOverAHeldImageReplacesIt) {
    write_bytes(dir, "first.jpg", photo("2001:01:01 01:01:01"));
    write_bytes(dir, "second.png", png_file(30, 20, {png_chunk("eXIf", exif_with_date("2002:02:02 02:02:02"))}));
    dir.write("notes.jpg", "not a photo");
    ASSERT_TRUE(image.LoadFromFile(dir.path("first.jpg")));
    ASSERT_TRUE(image.LoadFromFile(dir.path("second.png")));
    PropertyRecord record;
    ASSERT_TRUE(image.GetPropertyItem(kDateTimeOriginal, record));
    EXPECT_EQ(std::string(record.value.begin(), record.value.end()), with_zero("2002:02:02 02:02:02"));
    EXPECT_EQ(image.GetWidth(), 30u);

    // A failed load leaves no image behind, not the earlier one.
    EXPECT_FALSE(image.LoadFromFile(dir.path("notes.jpg")));
    EXPECT_EQ(status, image_status::UnknownImageFormat);
    EXPECT_EQ(image.GetHandle(), 0u);
    EXPECT_FALSE(image.Dispose());
}

TEST_F(PortableImageFile, FailedLoadsSayWhy) {
    std::filesystem::create_directory(dir.path("album.jpg"));
    dir.write("empty.jpg", "");
    EXPECT_FALSE(image.LoadFromFile(dir.path("missing.jpg")));
    EXPECT_EQ(status, image_status::FileNotFound);
    EXPECT_FALSE(image.LoadFromFile(dir.path("album.jpg")));
    EXPECT_EQ(status, image_status::Win32Error);
    EXPECT_FALSE(image.LoadFromFile(dir.path("empty.jpg")));
    EXPECT_EQ(status, image_status::UnknownImageFormat);
    EXPECT_FALSE(image.LoadFromBytes({}));
    EXPECT_EQ(status, image_status::UnknownImageFormat);
}

TEST_F(PortableImageFile, PropertyListAndFrameDelays) {
    Bytes gif_like_tiff = TiffBuilder()
                              .add(Ifd::Zero, longs(0x0100, {3}))
                              .add(Ifd::Zero, longs(0x0101, {2}))
                              .add(Ifd::Zero, longs(0x5100, {10, 20, 0xFFFFFFFFu}))
                              .build()
                              .bytes;
    ASSERT_TRUE(image.LoadFromBytes(gif_like_tiff));
    std::vector<std::int32_t> ids;
    EXPECT_EQ(image.GetPropertyIdList(ids), 3);
    EXPECT_EQ(ids, (std::vector<std::int32_t>{0x0100, 0x0101, 0x5100}));
    std::vector<std::int32_t> delays;
    EXPECT_TRUE(image.GetFrameDelays(delays));
    EXPECT_EQ(delays, (std::vector<std::int32_t>{10, 20, -1}));
    EXPECT_EQ(image.GetRawFormat(), "{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}");
}

TEST_F(PortableImageFile, SetAndRemoveProperties) {
    ASSERT_TRUE(image.LoadFromBytes(photo(kDate)));
    // A length beyond the value bytes is refused instead of read past.
    EXPECT_FALSE(image.SetPropertyItem(PropertyRecord{0x010E, 50, 2, {'x', 0}}));
    EXPECT_EQ(status, image_status::InvalidParameter);
    EXPECT_FALSE(image.SetPropertyItem(PropertyRecord{0x010E, -1, 2, {}}));

    EXPECT_TRUE(image.SetPropertyItem(PropertyRecord{0x010E, 2, 2, {'x', 0, 'y'}}));
    PropertyRecord record;
    ASSERT_TRUE(image.GetPropertyItem(0x010E, record));
    expect_record(record, PropertyRecord{0x010E, 2, 2, {'x', 0}});

    EXPECT_TRUE(image.RemovePropertyItem(kDateTimeOriginal));
    EXPECT_FALSE(image.RemovePropertyItem(kDateTimeOriginal));
    EXPECT_EQ(status, image_status::PropertyNotFound);
}

TEST_F(PortableImageFile, ResolutionFromTheImagesTags) {
    Bytes tiff = TiffBuilder()
                     .add(Ifd::Zero, shorts(0x0100, {64}))
                     .add(Ifd::Zero, shorts(0x0101, {48}))
                     .add(Ifd::Zero, rational(0x011A, 300, 1))
                     .add(Ifd::Zero, rational(0x011B, 1181, 10))
                     .add(Ifd::Zero, shorts(0x0128, {3}))
                     .build()
                     .bytes;
    ASSERT_TRUE(image.LoadFromBytes(tiff));
    EXPECT_FLOAT_EQ(image.GetHorizontalResolution(), 762.0f);
    EXPECT_NEAR(image.GetVerticalResolution(), 299.97f, 0.01f);
    EXPECT_EQ(image.GetFlags() & 0x1000u, 0x1000u);
}

TEST_F(PortableImageFile, CloneCopiesAndReplacesTheTargetsImage) {
    int other_status = 0;
    ImageFile target(other_status);
    ASSERT_TRUE(target.LoadFromBytes(gif_file(5, 5)));
    ASSERT_TRUE(image.LoadFromBytes(photo(kDate)));
    EXPECT_TRUE(image.Clone(target));
    EXPECT_EQ(target.GetRawFormat(), kJpegFormat);
    EXPECT_TRUE(image.Clone(image));
    EXPECT_EQ(image.GetWidth(), 640u);

    EXPECT_TRUE(image.Dispose());
    EXPECT_FALSE(image.Clone(target));
    EXPECT_EQ(status, image_status::InvalidParameter);
    EXPECT_EQ(target.GetHandle(), 0u);
}

TEST_F(PortableImageFile, CodecOperationsFailCleanly) {
    ASSERT_TRUE(image.LoadFromBytes(photo(kDate)));
    EXPECT_FALSE(image.SaveToFile(dir.path("copy.jpg")));
    EXPECT_EQ(status, image_status::NotImplemented);
    EXPECT_FALSE(dir.exists("copy.jpg"));
    EXPECT_TRUE(image.SaveToBytes().empty());
    EXPECT_EQ(image.GetFrameCount("{7462DC86-6180-4C7E-8E3F-EE7333A7A483}"), 0u);
    std::vector<std::string> dimensions{"kept"};
    EXPECT_FALSE(image.GetFrameDimensionsList(dimensions));
    EXPECT_EQ(dimensions, std::vector<std::string>{"kept"});
    PaletteRecord palette;
    palette.count = 3;
    EXPECT_FALSE(image.GetPalette(palette));
    EXPECT_EQ(palette.count, 3u);

    std::vector<CodecInfo> codecs(1);
    codecs[0].codecName = "kept";
    EXPECT_EQ(GetEncoders(codecs, status), 0);
    ASSERT_EQ(codecs.size(), 1u);
    EXPECT_EQ(codecs[0].codecName, "kept");
    EXPECT_EQ(FindEncoderClsid(kJpegFormat, status), "");
    EXPECT_EQ(status, image_status::NotImplemented);
}

TEST(PortableImageLibrary, StopsOnceAndStaysStopped) {
    std::uintptr_t token = 0;
    EXPECT_NE(StartGdiplus(token), 0u);
    EXPECT_NE(token, 0u);
    StopGdiplus(token);
    EXPECT_EQ(token, 0u);
    StopGdiplus(token);
    EXPECT_EQ(token, 0u);
}
