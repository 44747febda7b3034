#include "app/pixel_scaling.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace app;

namespace {

PixelImage filled(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    PixelImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; ++i) image.bgr.insert(image.bgr.end(), {b, g, r});
    return image;
}

void set_pixel(PixelImage& image, int x, int y, std::uint8_t grey) {
    std::size_t at = image.offset(x, y);
    image.bgr[at] = image.bgr[at + 1] = image.bgr[at + 2] = grey;
}

int grey_at(const PixelImage& image, int x, int y) { return image.bgr[image.offset(x, y)]; }

}  // namespace

TEST(ScaleAreaAverage, PlainColourStaysPlainWhenShrunkOrEnlarged) {
    const PixelImage source = filled(120, 120, 200, 100, 30);
    for (auto [w, h] : {std::pair{48, 48}, std::pair{7, 3}, std::pair{120, 120}, std::pair{250, 131}}) {
        std::optional<PixelImage> scaled = scale_area_average(source, w, h);
        ASSERT_TRUE(scaled) << w << "x" << h;
        EXPECT_EQ(scaled->width, w);
        EXPECT_EQ(scaled->height, h);
        ASSERT_TRUE(scaled->is_consistent());
        EXPECT_EQ(*scaled, filled(w, h, 200, 100, 30)) << w << "x" << h;
    }
}

TEST(ScaleAreaAverage, EdgePixelsMixByTheShareOfEachSourcePixel) {
    // 120 to 48: each result pixel covers two and a half source pixels.
    // Black up to column 60, white from 61: result column 24 covers source
    // 60 (black, whole), 61 (white, whole) and half of 62 (white): 255 * 1.5 / 2.5.
    PixelImage source = filled(120, 120, 255, 255, 255);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x <= 60; ++x) set_pixel(source, x, y, 0);
    }
    std::optional<PixelImage> scaled = scale_area_average(source, 48, 48);
    ASSERT_TRUE(scaled);
    for (int y : {0, 20, 47}) {
        EXPECT_EQ(grey_at(*scaled, 23, y), 0);
        EXPECT_EQ(grey_at(*scaled, 24, y), 153);
        EXPECT_EQ(grey_at(*scaled, 25, y), 255);
    }
}

TEST(ScaleAreaAverage, RoundsTheMeanToTheNearestValue) {
    PixelImage source = filled(2, 2, 0, 0, 0);
    set_pixel(source, 1, 1, 255);  // mean 63.75
    std::optional<PixelImage> scaled = scale_area_average(source, 1, 1);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(grey_at(*scaled, 0, 0), 64);

    set_pixel(source, 1, 1, 1);  // mean 0.25
    scaled = scale_area_average(source, 1, 1);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(grey_at(*scaled, 0, 0), 0);
}

TEST(ScaleAreaAverage, KeepsColourChannelsApart) {
    PixelImage source = filled(5, 5, 255, 0, 0);
    std::size_t at = source.offset(4, 4);
    source.bgr[at] = 0;
    source.bgr[at + 2] = 255;  // one red pixel among blue ones
    std::optional<PixelImage> scaled = scale_area_average(source, 2, 2);
    ASSERT_TRUE(scaled);
    // Result pixel (1, 1) covers source 2.5..5 in both directions: 6.25 pixels, one red.
    const std::uint8_t expected[] = {214, 0, 41};
    for (int c = 0; c < 3; ++c) EXPECT_EQ(scaled->bgr[scaled->offset(1, 1) + static_cast<std::size_t>(c)], expected[c]);
    EXPECT_EQ(scaled->bgr[scaled->offset(0, 0) + 2], 0);
}

TEST(ScaleAreaAverage, RefusesPicturesItCannotReadOrMake) {
    const PixelImage good = filled(4, 4, 1, 2, 3);
    EXPECT_FALSE(scale_area_average(PixelImage{}, 4, 4));
    PixelImage short_buffer = good;
    short_buffer.bgr.pop_back();
    EXPECT_FALSE(scale_area_average(short_buffer, 2, 2));
    PixelImage wrong_height = good;
    wrong_height.height = 5;
    EXPECT_FALSE(scale_area_average(wrong_height, 2, 2));
    PixelImage negative = good;
    negative.width = -4;
    negative.height = -4;
    EXPECT_FALSE(scale_area_average(negative, 2, 2));
    for (auto [w, h] : {std::pair{0, 4}, std::pair{4, 0}, std::pair{-1, 4}, std::pair{kMaxScaledSide + 1, 4}}) {
        EXPECT_FALSE(scale_area_average(good, w, h)) << w << "x" << h;
    }
    EXPECT_TRUE(scale_area_average(good, kMaxScaledSide, 1));
}
