#include "image/image_file.h"
#include "image_test_files.h"
#include "temp_directory.h"
#include "platform/win32/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>

using namespace imaging;

using namespace image_test;

namespace {

constexpr std::uint32_t kLongType = 4;
constexpr std::uint32_t kMultiFrame = 18;
constexpr std::uint32_t kFlush = 20;
constexpr std::uint32_t kFrameDimensionPage = 23;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

EncoderParameterList one_long(const std::string& guid, std::uint32_t value) {
    EncoderParameterList list;
    list.count = 1;
    list.parameters.push_back({guid, 1, kLongType,
                               {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}});
    return list;
}

bool starts_with(const Bytes& bytes, std::initializer_list<std::uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

struct ImageSaveTest : ::testing::Test {
    int status = 0;
    ImageFile image{status};
    TempDirectory dir;

    // Loads a fresh 24-bit bitmap of the given size into target.
    void load_bitmap(ImageFile& target, int width, int height) {
        std::string name = "bitmap" + std::to_string(width) + "x" + std::to_string(height) + ".bmp";
        dir.write(name, bmp_24bit(width, height));
        ASSERT_TRUE(target.LoadFromFile(dir.path(name)));
    }
};

}  // namespace

TEST_F(ImageSaveTest, EncodersAreListedWithTheirDetails) {
    std::vector<CodecInfo> codecs;
    std::int32_t n = GetEncoders(codecs, status);
    EXPECT_EQ(status, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(static_cast<std::size_t>(n), codecs.size());
    auto jpeg =
        std::find_if(codecs.begin(), codecs.end(), [](const CodecInfo& c) { return c.formatId == kJpegFormat; });
    ASSERT_NE(jpeg, codecs.end());
    EXPECT_EQ(jpeg->mimeType, "image/jpeg");
    EXPECT_NE(jpeg->filenameExtension.find("*.JPG"), std::string::npos);
    EXPECT_EQ(jpeg->clsid.size(), 38u);
    EXPECT_EQ(jpeg->sigPattern.size(), std::size_t{jpeg->sigCount} * jpeg->sigSize);
    EXPECT_EQ(jpeg->sigMask.size(), jpeg->sigPattern.size());
    EXPECT_EQ(FindEncoderClsid(kJpegFormat, status), jpeg->clsid);
}

TEST_F(ImageSaveTest, SavingWithoutAFormatKeepsTheImagesOwnFormat) {
    load_bitmap(image, 8, 6);
    ASSERT_TRUE(image.SaveToFile(dir.path("photo.jpg"), kJpegFormat)) << "status " << status;
    ImageFile jpeg(status);
    ASSERT_TRUE(jpeg.LoadFromFile(dir.path("photo.jpg")));
    EXPECT_EQ(jpeg.GetRawFormat(), kJpegFormat);
    ASSERT_TRUE(jpeg.SaveToFile(dir.path("copy")));
    Bytes copy = dir.read_bytes("copy");
    EXPECT_TRUE(starts_with(copy, {0xFF, 0xD8, 0xFF})) << "not a JPEG file";
    ImageFile reloaded(status);
    ASSERT_TRUE(reloaded.LoadFromFile(dir.path("copy")));
    EXPECT_EQ(reloaded.GetRawFormat(), kJpegFormat);
    EXPECT_EQ(reloaded.GetWidth(), 8u);
}

TEST_F(ImageSaveTest, ALowerCaseFormatMatchesNoEncoderAndTouchesNoFile) {
    EXPECT_NE(FindEncoderClsid(kPngFormat, status), "");
    EXPECT_EQ(FindEncoderClsid(lower(kPngFormat), status), "");
    EXPECT_EQ(FindEncoderClsid("image/png", status), "");

    load_bitmap(image, 4, 4);
    dir.write("keep.png", Bytes{'o', 'l', 'd'});
    EXPECT_FALSE(image.SaveToFile(dir.path("keep.png"), lower(kPngFormat)));
    EXPECT_NE(status, 0);
    EXPECT_EQ(dir.read_bytes("keep.png"), (Bytes{'o', 'l', 'd'}));
    EXPECT_FALSE(image.SaveToFile(dir.path("new.png"), lower(kPngFormat)));
    EXPECT_FALSE(dir.exists("new.png"));

    status = 0;
    EXPECT_TRUE(image.SaveToBytes(lower(kPngFormat)).empty());
    EXPECT_NE(status, 0);
}

TEST_F(ImageSaveTest, MalformedEncoderParametersAreRefusedBeforeSaving) {
    load_bitmap(image, 4, 4);
    EncoderParameterList list = one_long(kQuality, 80);
    list.count = 3;
    EXPECT_FALSE(image.SaveToFile(dir.path("q.jpg"), kJpegFormat, &list));
    EXPECT_EQ(status, 2);  // InvalidParameter
    EXPECT_FALSE(dir.exists("q.jpg"));
    list.count = 1;
    list.parameters[0].value.resize(2);
    EXPECT_TRUE(image.SaveToBytes(kJpegFormat, &list).empty());
    EXPECT_EQ(status, 2);
}

TEST_F(ImageSaveTest, BytesSavedReloadWithTheSameSize) {
    load_bitmap(image, 11, 9);
    for (const std::string& format : {kPngFormat, kBmpFormat, kJpegFormat, kTiffFormat}) {
        Bytes saved = image.SaveToBytes(format);
        ASSERT_EQ(status, 0) << format;
        ImageFile other(status);
        ASSERT_TRUE(other.LoadFromBytes(saved)) << format;
        EXPECT_EQ(other.GetRawFormat(), format);
        EXPECT_EQ(other.GetWidth(), 11u);
        EXPECT_EQ(other.GetHeight(), 9u);
    }
    // Nothing past the encoded image: a PNG ends with its IEND chunk.
    Bytes png = image.SaveToBytes(kPngFormat);
    ASSERT_GE(png.size(), 12u);
    EXPECT_EQ(Bytes(png.end() - 8, png.end() - 4), (Bytes{'I', 'E', 'N', 'D'}));

    EncoderParameterList quality = one_long(kQuality, 30);
    Bytes jpeg = image.SaveToBytes(kJpegFormat, &quality);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(starts_with(jpeg, {0xFF, 0xD8}));
}

TEST_F(ImageSaveTest, TheJpegEncoderListsItsParametersWithValues) {
    load_bitmap(image, 4, 4);
    EncoderParameterList list;
    bool listed = image.GetEncoderParameterList(kJpegFormat, list);
    if (!listed && status == image_status::NotImplemented && running_under_wine()) {
        GTEST_SKIP() << "Wine's GDI+ leaves GdipGetEncoderParameterListSize unimplemented (NotImplemented)";
    }
    ASSERT_TRUE(listed) << "status " << status;
    EXPECT_EQ(list.count, list.parameters.size());
    auto quality = std::find_if(list.parameters.begin(), list.parameters.end(),
                                [](const EncoderParameterRecord& p) { return p.guid == kQuality; });
    ASSERT_NE(quality, list.parameters.end());
    EXPECT_GT(quality->numberOfValues, 0u);
    for (const EncoderParameterRecord& p : list.parameters) {
        EXPECT_EQ(p.guid.size(), 38u);
        if (p.numberOfValues > 0 && p.type >= 1 && p.type <= 8) {
            EXPECT_FALSE(p.value.empty()) << p.guid;
        }
    }

    EncoderParameterList untouched;
    untouched.count = 9;
    EXPECT_FALSE(image.GetEncoderParameterList(lower(kJpegFormat), untouched));
    EXPECT_EQ(untouched.count, 9u);
}

TEST_F(ImageSaveTest, AStillImageHasOneFrameInOneDimension) {
    load_bitmap(image, 5, 5);
    std::vector<std::string> dimensions{"stale"};
    ASSERT_TRUE(image.GetFrameDimensionsList(dimensions));
    ASSERT_EQ(dimensions.size(), 1u);
    EXPECT_EQ(dimensions[0], kPageDimension);
    EXPECT_EQ(image.GetFrameCount(dimensions[0]), 1u);
    EXPECT_TRUE(image.SelectActiveFrame(dimensions[0], 0));
    EXPECT_FALSE(image.SelectActiveFrame(dimensions[0], 1));
}

TEST_F(ImageSaveTest, AMultiFrameTiffIsBuiltFrameByFrame) {
    load_bitmap(image, 6, 4);
    ImageFile second(status);
    ImageFile third(status);
    load_bitmap(second, 3, 2);
    load_bitmap(third, 5, 7);

    EncoderParameterList multi_frame = one_long(kSaveFlag, kMultiFrame);
    ASSERT_TRUE(image.SaveToFile(dir.path("pages.tif"), kTiffFormat, &multi_frame)) << "status " << status;
    EncoderParameterList next_page = one_long(kSaveFlag, kFrameDimensionPage);
    ASSERT_TRUE(image.SaveAddImage(second, next_page)) << "status " << status;
    ASSERT_TRUE(image.SaveAddImage(third, next_page)) << "status " << status;
    EncoderParameterList flush = one_long(kSaveFlag, kFlush);
    ASSERT_TRUE(image.SaveAdd(flush)) << "status " << status;

    ImageFile pages(status);
    ASSERT_TRUE(pages.LoadFromFile(dir.path("pages.tif")));
    EXPECT_EQ(pages.GetFrameCount(kPageDimension), 3u);
    ASSERT_TRUE(pages.SelectActiveFrame(kPageDimension, 2));
    EXPECT_EQ(pages.GetWidth(), 5u);
    EXPECT_EQ(pages.GetHeight(), 7u);
}

TEST_F(ImageSaveTest, ARightAngleTurnSwapsWidthAndHeight) {
    load_bitmap(image, 7, 3);
    ASSERT_TRUE(image.RotateFlip(1));  // 90 degrees clockwise
    EXPECT_EQ(image.GetWidth(), 3u);
    EXPECT_EQ(image.GetHeight(), 7u);
    ASSERT_TRUE(image.RotateFlip(4));  // flip only
    EXPECT_EQ(image.GetWidth(), 3u);
}

TEST_F(ImageSaveTest, APalettesColoursRoundTrip) {
    const std::vector<std::uint32_t> colours{0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    dir.write("indexed.bmp", bmp_8bit(6, 6, colours));
    ASSERT_TRUE(image.LoadFromFile(dir.path("indexed.bmp")));
    PaletteRecord palette;
    ASSERT_TRUE(image.GetPalette(palette)) << "status " << status;
    ASSERT_GE(palette.count, 4u);
    EXPECT_EQ(palette.entries.size(), palette.count);
    EXPECT_TRUE(std::equal(colours.begin(), colours.end(), palette.entries.begin()));

    palette.entries[1] = 0xFF123456;
    ASSERT_TRUE(image.SetPalette(palette)) << "status " << status;
    PaletteRecord changed;
    ASSERT_TRUE(image.GetPalette(changed));
    EXPECT_EQ(changed.entries, palette.entries);

    Bytes png = image.SaveToBytes(kPngFormat);
    ImageFile reloaded(status);
    ASSERT_TRUE(reloaded.LoadFromBytes(png));
    PaletteRecord saved;
    ASSERT_TRUE(reloaded.GetPalette(saved));
    ASSERT_GE(saved.entries.size(), 4u);
    EXPECT_TRUE(std::equal(saved.entries.begin(), saved.entries.begin() + 4, palette.entries.begin()));

    PaletteRecord short_of_entries{0, 5, {0xFF000000}};
    EXPECT_FALSE(image.SetPalette(short_of_entries));
    EXPECT_EQ(status, 2);
}

TEST_F(ImageSaveTest, CloneAndThumbnailReplaceTheTargetsImage) {
    load_bitmap(image, 12, 8);
    ImageFile target(status);
    dir.write("held.bmp", bmp_24bit(2, 2));
    ASSERT_TRUE(target.LoadFromFile(dir.path("held.bmp")));
    ASSERT_TRUE(image.Clone(target));
    EXPECT_EQ(target.GetWidth(), 12u);
    EXPECT_NE(target.GetHandle(), image.GetHandle());
    EXPECT_TRUE(MoveFileExW(platform::win32::widen(dir.path("held.bmp")).c_str(),
                            platform::win32::widen(dir.path("free.bmp")).c_str(), 0))
        << "the target's earlier image still holds its file";

    ImageFile thumbnail(status);
    ASSERT_TRUE(image.GetThumbnail(6, 4, thumbnail));
    EXPECT_EQ(thumbnail.GetWidth(), 6u);
    EXPECT_EQ(thumbnail.GetHeight(), 4u);
    ASSERT_TRUE(image.GetThumbnail(3, 2, thumbnail));
    EXPECT_EQ(thumbnail.GetWidth(), 3u);

    int empty_status = 0;
    ImageFile empty(empty_status);
    EXPECT_FALSE(empty.Clone(target));
    EXPECT_NE(empty_status, 0);
    EXPECT_EQ(target.GetHandle(), 0u);
}

TEST_F(ImageSaveTest, AClonedImageOutlivesTheBytesOfItsSource) {
    Bytes bytes = bmp_24bit(10, 6);
    ASSERT_TRUE(image.LoadFromBytes(bytes));
    ImageFile copy(status);
    ASSERT_TRUE(image.Clone(copy));
    EXPECT_TRUE(image.Dispose());
    EXPECT_EQ(copy.GetWidth(), 10u);
    Bytes png = copy.SaveToBytes(kPngFormat);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(png.empty());
}
