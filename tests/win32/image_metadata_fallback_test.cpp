#include "image/image_file.h"
#include "image_builders.h"
#include "image_test_files.h"
#include "temp_directory.h"
#include "platform/win32/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace imaging;

namespace {

using platform::win32::widen;

const std::string kDate = "2008:05:17 14:23:45";

void expect_capture_date(ImageFile& image, const std::string& date) {
    PropertyRecord record;
    ASSERT_TRUE(image.GetPropertyItem(0x9003, record));
    EXPECT_EQ(record.id, 36867);
    EXPECT_EQ(record.length, 20);
    EXPECT_EQ(record.type, 2);
    std::string expected = date;
    expected.push_back('\0');
    EXPECT_EQ(std::string(record.value.begin(), record.value.end()), expected);
}

}  // namespace

// The library opens the photo but reports none of its EXIF data (as Wine's
// does): the program's own reader answers for it.
TEST(ImageMetadataFallback, JpegCaptureDateIsReadWhereTheLibraryHasNone) {
    int status = 0;
    ImageFile image(status);
    TempDirectory dir;
    dir.write("照片 2008.jpg", image_test::jpeg_photo(32, 24, test_images::exif_with_date(kDate)));

    ASSERT_TRUE(image.LoadFromFile(dir.path("照片 2008.jpg")));
    EXPECT_NE(image.GetHandle(), 0u);  // the library holds the image itself
    EXPECT_EQ(image.GetWidth(), 32u);
    expect_capture_date(image, kDate);
    EXPECT_EQ(status, 0);

    std::vector<std::int32_t> ids;
    image.GetPropertyIdList(ids);
    EXPECT_NE(std::find(ids.begin(), ids.end(), 36867), ids.end());

    // An absent property still leaves the record as it was.
    PropertyRecord untouched;
    untouched.id = 7;
    EXPECT_FALSE(image.GetPropertyItem(0x9004, untouched));
    EXPECT_EQ(untouched.id, 7);

    // Released: the file can be renamed.
    ASSERT_TRUE(image.Dispose());
    EXPECT_TRUE(
        MoveFileExW(widen(dir.path("照片 2008.jpg")).c_str(), widen(dir.path("20080517 142345.jpg")).c_str(), 0));
}

TEST(ImageMetadataFallback, PhotosFromBytesToo) {
    int status = 0;
    ImageFile image(status);
    image_test::Bytes photo = image_test::jpeg_photo(16, 16, test_images::exif_with_date(kDate, true));
    ASSERT_TRUE(image.LoadFromBytes(photo));
    photo.assign(photo.size(), 0);
    expect_capture_date(image, kDate);
}

// A format the library cannot open at all (HEIF) is held as what the reader
// found in its headers, so such photos are named by their date too.
TEST(ImageMetadataFallback, FilesOnlyTheReaderKnowsAreHeldAsTheirMetadata) {
    int status = 0;
    ImageFile image(status);
    TempDirectory dir;
    test_images::HeifOptions heif;
    heif.exif = test_images::exif_with_date(kDate);
    dir.write("IMG_0001.HEIC", test_images::heif_file(heif));

    ASSERT_TRUE(image.LoadFromFile(dir.path("IMG_0001.HEIC")));
    EXPECT_NE(image.GetHandle(), 0u);  // an image is held, though not by the library
    EXPECT_EQ(image.GetWidth(), 4032u);
    EXPECT_EQ(image.GetHeight(), 3024u);
    expect_capture_date(image, kDate);
    PropertyRecord record;
    EXPECT_FALSE(image.GetPropertyItem(0x010E, record));
    EXPECT_NE(status, 0);
    // Pixel work needs the library's image: it fails cleanly.
    EXPECT_TRUE(image.SaveToBytes(image_test::kPngFormat).empty());
    EXPECT_TRUE(image.Dispose());
    EXPECT_FALSE(image.Dispose());

    dir.write("notes.heic", image_test::Bytes{'t', 'e', 'x', 't'});
    EXPECT_FALSE(image.LoadFromFile(dir.path("notes.heic")));
    EXPECT_NE(status, 0);
}
