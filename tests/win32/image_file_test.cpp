#include "app/lifecycle.h"
#include "image/image_file.h"
#include "image_test_files.h"
#include "temp_directory.h"
#include "platform/file_rename.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace app;
using namespace filelist;
using namespace imaging;

using namespace image_test;

namespace {

constexpr std::int32_t kImageDescription = 0x010E;
constexpr std::int32_t kDateTime = 0x0132;
constexpr std::int32_t kDateTimeOriginal = 0x9003;
constexpr std::int32_t kPixelFormat24bppRgb = 0x00021808;

std::vector<std::uint8_t> ascii_value(const std::string& text) {
    std::vector<std::uint8_t> value(text.begin(), text.end());
    value.push_back(0);
    return value;
}

struct ImageFileTest : ::testing::Test {
    int status = 0;
    ImageFile image{status};
    TempDirectory dir;
};

}  // namespace

TEST_F(ImageFileTest, StoppingGdiplusTwiceShutsItDownOnce) {
    std::uintptr_t token = 0;
    std::uintptr_t started = StartGdiplus(token);
    ASSERT_NE(started, 0u);
    EXPECT_EQ(token, started);
    EXPECT_EQ(StartGdiplus(token), started) << "a second start on a live token starts no second session";
    StopGdiplus(token);
    EXPECT_EQ(token, 0u);
    StopGdiplus(token);
    EXPECT_EQ(token, 0u);
    // The test program's own session is still up: an extra shutdown would have ended it.
    dir.write("a.bmp", bmp_24bit(4, 3));
    EXPECT_TRUE(image.LoadFromFile(dir.path("a.bmp")));
    EXPECT_EQ(image.GetWidth(), 4u);
}

TEST_F(ImageFileTest, AnEmptyObjectDisposesNothingAndReadsAsZero) {
    status = 42;
    EXPECT_FALSE(image.Dispose());
    EXPECT_EQ(status, 42);
    EXPECT_EQ(image.GetHandle(), 0u);
    EXPECT_EQ(image.GetRawFormat(), kZeroGuid);
    EXPECT_NE(status, 0);
    EXPECT_EQ(image.GetWidth(), 0u);
    std::int32_t unit = 9;
    EXPECT_EQ(image.GetBounds(unit).Width, 0.0f);
}

TEST_F(ImageFileTest, DisposeReleasesTheFileForRenaming) {
    dir.write("photo.bmp", bmp_24bit(5, 4));
    ASSERT_TRUE(image.LoadFromFile(dir.path("photo.bmp")));
    EXPECT_NE(image.GetHandle(), 0u);
    EXPECT_TRUE(image.Dispose());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(image.GetHandle(), 0u);
    EXPECT_TRUE(platform::rename_file_no_replace(dir.path("photo.bmp"), dir.path("A001.bmp")));
    EXPECT_FALSE(image.Dispose());
}

TEST_F(ImageFileTest, LoadingAgainAndDestroyingReleaseTheEarlierImage) {
    dir.write("first.bmp", bmp_24bit(2, 2));
    dir.write("second.bmp", bmp_24bit(3, 3));
    {
        int own_status = 0;
        ImageFile scoped(own_status);
        ASSERT_TRUE(scoped.LoadFromFile(dir.path("first.bmp")));
        ASSERT_TRUE(scoped.LoadFromFile(dir.path("second.bmp")));
        EXPECT_EQ(scoped.GetWidth(), 3u);
        EXPECT_TRUE(platform::rename_file_no_replace(dir.path("first.bmp"), dir.path("first-renamed.bmp")));
    }
    EXPECT_TRUE(platform::rename_file_no_replace(dir.path("second.bmp"), dir.path("second-renamed.bmp")));
}

TEST_F(ImageFileTest, GettersDescribeALoadedBitmap) {
    dir.write("a.bmp", bmp_24bit(7, 5));
    ASSERT_TRUE(image.LoadFromFile(dir.path("a.bmp")));
    EXPECT_EQ(image.GetRawFormat(), kBmpFormat);
    EXPECT_EQ(image.GetWidth(), 7u);
    EXPECT_EQ(image.GetHeight(), 5u);
    EXPECT_EQ(image.GetType(), 1u);  // bitmap
    EXPECT_EQ(image.GetPixelFormat(), kPixelFormat24bppRgb);
    EXPECT_NEAR(image.GetHorizontalResolution(), 72.0f, 0.1f);
    EXPECT_NEAR(image.GetVerticalResolution(), 72.0f, 0.1f);
    SizeF size = image.GetDimension();
    EXPECT_EQ(size.Width, 7.0f);
    EXPECT_EQ(size.Height, 5.0f);
    std::int32_t unit = -1;
    RectF bounds = image.GetBounds(unit);
    EXPECT_EQ(unit, 2);  // pixels
    EXPECT_EQ(bounds.Width, 7.0f);
    EXPECT_EQ(bounds.Height, 5.0f);
    EXPECT_EQ(status, 0);
}

TEST_F(ImageFileTest, ATiffsFirstDirectoryTagsAreReadAsStored) {
    dir.write("tags.tif",
              tiff_with_tags(6, 4, {{kImageDescription, "Lanmoor test"}, {kDateTime, "2024:05:06 07:08:09"}}));
    ASSERT_TRUE(image.LoadFromFile(dir.path("tags.tif"))) << "status " << status;
    EXPECT_EQ(image.GetRawFormat(), kTiffFormat);

    PropertyRecord description;
    ASSERT_TRUE(image.GetPropertyItem(kImageDescription, description)) << "status " << status;
    EXPECT_EQ(description.id, kImageDescription);
    EXPECT_EQ(description.length, 13);
    EXPECT_EQ(description.type, 2);
    EXPECT_EQ(description.value, ascii_value("Lanmoor test"));

    PropertyRecord date;
    ASSERT_TRUE(image.GetPropertyItem(kDateTime, date));
    EXPECT_EQ(date.id, kDateTime);
    EXPECT_EQ(date.length, 20);
    EXPECT_EQ(date.type, 2);
    EXPECT_EQ(date.value, ascii_value("2024:05:06 07:08:09"));

    std::vector<std::int32_t> ids;
    std::int32_t count = image.GetPropertyIdList(ids);
    EXPECT_EQ(count, static_cast<std::int32_t>(ids.size()));
    EXPECT_NE(std::find(ids.begin(), ids.end(), kImageDescription), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), kDateTime), ids.end());
}

TEST_F(ImageFileTest, AnAbsentPropertyLeavesTheRecordAlone) {
    dir.write("a.bmp", bmp_24bit(3, 3));
    ASSERT_TRUE(image.LoadFromFile(dir.path("a.bmp")));
    PropertyRecord record{7, 3, 2, {'a', 'b', 0}};
    EXPECT_FALSE(image.GetPropertyItem(kDateTimeOriginal, record));
    EXPECT_NE(status, 0);
    EXPECT_EQ(record.id, 7);
    EXPECT_EQ(record.length, 3);
    EXPECT_EQ(record.type, 2);
    EXPECT_EQ(record.value, (std::vector<std::uint8_t>{'a', 'b', 0}));

    PropertyRecord fresh;
    EXPECT_FALSE(image.GetPropertyItem(kDateTimeOriginal, fresh));
    EXPECT_TRUE(fresh.value.empty());
}

TEST_F(ImageFileTest, FrameDelaysOfAStillImageLeaveTheArray) {
    dir.write("a.bmp", bmp_24bit(3, 3));
    ASSERT_TRUE(image.LoadFromFile(dir.path("a.bmp")));
    std::vector<std::int32_t> delays{10, 20};
    EXPECT_FALSE(image.GetFrameDelays(delays));
    EXPECT_NE(status, 0);
    EXPECT_EQ(delays, (std::vector<std::int32_t>{10, 20}));
}

TEST_F(ImageFileTest, APropertyLengthBeyondItsBytesIsRefused) {
    dir.write("tags.tif", tiff_with_tags(4, 4, {{kImageDescription, "old"}}));
    ASSERT_TRUE(image.LoadFromFile(dir.path("tags.tif")));
    // GDI+ would read 50 bytes from a value of 6.
    PropertyRecord too_long{kImageDescription, 50, 2, ascii_value("short")};
    EXPECT_FALSE(image.SetPropertyItem(too_long));
    EXPECT_EQ(status, 2);  // InvalidParameter
    PropertyRecord negative{kImageDescription, -1, 2, ascii_value("short")};
    EXPECT_FALSE(image.SetPropertyItem(negative));
    PropertyRecord read;
    ASSERT_TRUE(image.GetPropertyItem(kImageDescription, read));
    EXPECT_EQ(read.value, ascii_value("old"));
}

TEST_F(ImageFileTest, PropertiesCanBeSetAndRemoved) {
    dir.write("tags.tif", tiff_with_tags(4, 4, {{kImageDescription, "old"}}));
    ASSERT_TRUE(image.LoadFromFile(dir.path("tags.tif")));
    PropertyRecord date{kDateTimeOriginal, 20, 2, ascii_value("2023:01:02 03:04:05")};
    ASSERT_TRUE(image.SetPropertyItem(date)) << "status " << status;
    PropertyRecord read;
    bool stored = image.GetPropertyItem(kDateTimeOriginal, read);
    if (!stored && running_under_wine()) {
        GTEST_SKIP() << "Wine's GdipSetPropertyItem is a stub that reports success and stores nothing, "
                        "and its GdipRemovePropertyItem returns NotImplemented";
    }
    ASSERT_TRUE(stored);
    EXPECT_EQ(read.length, 20);
    EXPECT_EQ(read.type, 2);
    EXPECT_EQ(read.value, date.value);

    ASSERT_TRUE(image.RemovePropertyItem(kDateTimeOriginal)) << "status " << status;
    PropertyRecord gone{1, 0, 0, {}};
    EXPECT_FALSE(image.GetPropertyItem(kDateTimeOriginal, gone));
    EXPECT_EQ(gone.id, 1);
}

TEST_F(ImageFileTest, AFileNameWithChineseCharactersLoads) {
    dir.write("照片 二〇二四.bmp", bmp_24bit(6, 2));
    ASSERT_TRUE(image.LoadFromFile(dir.path("照片 二〇二四.bmp"))) << "status " << status;
    EXPECT_EQ(image.GetWidth(), 6u);
    EXPECT_TRUE(image.Dispose());
    EXPECT_TRUE(platform::rename_file_no_replace(dir.path("照片 二〇二四.bmp"), dir.path("改名.bmp")));
}

TEST_F(ImageFileTest, WhatCannotBeLoadedLeavesNoImage) {
    EXPECT_FALSE(image.LoadFromFile(dir.path("missing.bmp")));
    EXPECT_NE(status, 0);
    EXPECT_EQ(image.GetHandle(), 0u);

    dir.write("notes.jpg", Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    EXPECT_FALSE(image.LoadFromFile(dir.path("notes.jpg")));
    EXPECT_EQ(image.GetHandle(), 0u);

    // A zero character would cut the name short and open "a.bmp" instead.
    dir.write("a.bmp", bmp_24bit(2, 2));
    EXPECT_FALSE(image.LoadFromFile(dir.path("a.bmp") + std::string(1, '\0') + ".txt"));
    EXPECT_EQ(image.GetHandle(), 0u);

    EXPECT_FALSE(image.LoadFromBytes(Bytes{1, 2, 3}));
    EXPECT_EQ(image.GetHandle(), 0u);
    EXPECT_FALSE(image.LoadFromBytes({}));
    EXPECT_EQ(image.GetHandle(), 0u);
}

TEST_F(ImageFileTest, AnImageLoadedFromBytesOutlivesTheCallersBytes) {
    auto bytes = std::make_unique<Bytes>(bmp_24bit(9, 7));
    ASSERT_TRUE(image.LoadFromBytes(*bytes)) << "status " << status;
    std::fill(bytes->begin(), bytes->end(), std::uint8_t{0xCD});
    bytes.reset();
    EXPECT_EQ(image.GetWidth(), 9u);
    EXPECT_EQ(image.GetHeight(), 7u);
    EXPECT_EQ(image.GetRawFormat(), kBmpFormat);
    Bytes png = image.SaveToBytes(kPngFormat);
    EXPECT_EQ(status, 0);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_TRUE(image.Dispose());
}

TEST_F(ImageFileTest, TheHandleIsWhatWasLastSetAndAskingForItOpensNothing) {
    dir.write("photo.bmp", bmp_24bit(5, 4));
    ASSERT_TRUE(image.LoadFromFile(dir.path("photo.bmp")));
    // The file changes on disk: a handle that opened it now would find no image.
    dir.write("photo.bmp", "no longer a picture");
    const std::uintptr_t handle = image.GetHandle();
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(image.GetHandle(), handle);
    image.SetHandle(handle);  // the same image: nothing changes
    EXPECT_EQ(image.GetWidth(), 5u);

    image.SetHandle(0);  // lets go of everything, as for any image
    EXPECT_EQ(image.GetHandle(), 0u);
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_FALSE(image.Dispose());
}

TEST_F(ImageFileTest, ShutDownLetsGoOfTheImageAndStopsGdiplus) {
    dir.write("a.bmp", bmp_24bit(2, 2));
    AppState state;
    LibrarySession library;
    naming::CaptureDateNamer namer;
    start_up(state, library);
    filelist::NoProgress quietly;
    EXPECT_EQ(namer.capture_date_name(dir.path(""), "a.bmp", nullptr, quietly), "a");
    shut_down(state, namer, library);
    EXPECT_FALSE(namer.release_image());
    EXPECT_TRUE(platform::rename_file_no_replace(dir.path("a.bmp"), dir.path("b.bmp")));
    shut_down(state, namer, library);
}
