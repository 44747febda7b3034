#include "tools/logo_generator/icon_file.h"
#include "tools/logo_generator/logo_drawing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

using platform::PixelImage;

namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace

TEST(EncodeBmp, WritesRowsBottomUpPaddedToFourBytes) {
    // 2 x 2: each row is 6 bytes of colour and 2 of padding.
    PixelImage image;
    image.width = 2;
    image.height = 2;
    image.bgr = {1, 2, 3, 4,  5,  6,  // top row
                 7, 8, 9, 10, 11, 12};
    std::vector<std::uint8_t> bmp = encode_bmp(image, 2835, 2);
    ASSERT_EQ(bmp.size(), 14u + 40u + 16u + 2u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(u32(bmp, 2), bmp.size());
    EXPECT_EQ(u32(bmp, 10), 54u);
    EXPECT_EQ(u32(bmp, 34), 18u);  // pixel data includes the trailing padding
    EXPECT_EQ(u32(bmp, 38), 2835u);
    const std::vector<std::uint8_t> pixels(bmp.begin() + 54, bmp.end());
    const std::vector<std::uint8_t> expected = {7, 8, 9, 10, 11, 12, 0, 0, 1, 2, 3, 4, 5, 6, 0, 0, 0, 0};
    EXPECT_EQ(pixels, expected);

    PixelImage broken = image;
    broken.bgr.pop_back();
    EXPECT_TRUE(encode_bmp(broken, 2835, 2).empty());
}

TEST(Logo, IsA120By120TrueColourBitmapOfTheExpectedLayout) {
    std::vector<std::uint8_t> bmp = encode_bmp(draw_logo(), kLogoPixelsPerMetre, kLogoTrailingPadding);
    ASSERT_EQ(bmp.size(), 43256u);
    EXPECT_EQ(u32(bmp, 2), 43256u);
    EXPECT_EQ(u32(bmp, 10), 54u);
    EXPECT_EQ(u32(bmp, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(static_cast<std::int32_t>(u32(bmp, 18)), 120);
    EXPECT_EQ(static_cast<std::int32_t>(u32(bmp, 22)), 120);  // positive: bottom-up
    EXPECT_EQ(u16(bmp, 26), 1u);
    EXPECT_EQ(u16(bmp, 28), 24u);
    EXPECT_EQ(u32(bmp, 30), 0u);      // uncompressed
    EXPECT_EQ(u32(bmp, 34), 43202u);  // 120 rows of 360 bytes and two of padding
    EXPECT_EQ(u32(bmp, 38), 11808u);
    EXPECT_EQ(u32(bmp, 42), 11808u);
}

TEST(Logo, CheckedInFileIsWhatTheGeneratorDraws) {
    std::ifstream in(BATCH_RENAME_LOGO_FILE, std::ios::binary);
    ASSERT_TRUE(in) << "run tools/make-logo.sh";
    std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(file == encode_bmp(draw_logo(), kLogoPixelsPerMetre, kLogoTrailingPadding))
        << "app/about_logo.bmp is out of date: run tools/make-logo.sh";
}

TEST(Icon, HoldsEverySizeInThirtyTwoBitsAndIsWhatTheGeneratorDraws) {
    std::vector<std::uint8_t> ico = encode_icon(kIconSides, &draw_logo_with_alpha);
    ASSERT_GE(ico.size(), 6u + 16u * 8u);
    EXPECT_EQ(u16(ico, 2), 1u);  // an icon
    ASSERT_EQ(u16(ico, 4), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int side = kIconSides[i];
        EXPECT_EQ(ico[entry], side == 256 ? 0 : side);
        EXPECT_EQ(u16(ico, entry + 6), 32u);
        const std::uint32_t size = u32(ico, entry + 8), offset = u32(ico, entry + 12);
        ASSERT_LE(size, ico.size() - offset);
        // A 40-byte header, side x side x 4 bytes of colour and alpha, then the mask.
        EXPECT_EQ(u32(ico, offset), 40u);
        EXPECT_EQ(u32(ico, offset + 4), static_cast<std::uint32_t>(side));
        EXPECT_EQ(u32(ico, offset + 8), static_cast<std::uint32_t>(2 * side));
        EXPECT_EQ(size, 40u + 4u * side * side + ((side + 31) / 32) * 4u * side);
    }
    // The corners of the largest are clear, the tile beside its left edge is not.
    const std::size_t pixels = u32(ico, 6 + 16 * 7 + 12) + 40;  // rows from the bottom up
    EXPECT_EQ(ico[pixels + 3], 0);
    EXPECT_EQ(ico[pixels + (128 * 256 + 20) * 4 + 3], 255);

    std::ifstream in(BATCH_RENAME_ICON_FILE, std::ios::binary);
    ASSERT_TRUE(in) << "run tools/make-logo.sh";
    std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(file == ico) << "app/program.ico is out of date: run tools/make-logo.sh";
}
