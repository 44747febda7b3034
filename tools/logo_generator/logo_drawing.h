#pragma once

#include "platform/pixel_image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The About window's logo: a stack of three files with a renaming arrow on a
// rounded blue tile, drawn with smoothed edges.
inline constexpr int kLogoSide = 120;
// About 300 pixels per inch.
inline constexpr std::int32_t kLogoPixelsPerMetre = 11808;
// The pixel data ends with two bytes of padding after the last row.
inline constexpr std::size_t kLogoTrailingPadding = 2;

platform::PixelImage draw_logo();

// The same drawing at side x side pixels with an alpha channel, for the
// program's icon: four bytes per pixel (blue, green, red, alpha), rows from
// the top, transparent around the tile.
std::vector<std::uint8_t> draw_logo_with_alpha(int side);

// A complete BMP file: 14-byte file header, 40-byte BITMAPINFOHEADER, 24-bit
// uncompressed rows from the bottom up, each padded to four bytes, then
// trailing_padding zero bytes counted in the pixel data size. Empty when the
// picture is inconsistent.
std::vector<std::uint8_t> encode_bmp(const platform::PixelImage& image, std::int32_t pixels_per_metre,
                                     std::size_t trailing_padding);
