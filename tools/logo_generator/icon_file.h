#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The program's icon: the logo at each of these sizes, in one .ico file.
inline constexpr int kIconSides[] = {16, 20, 24, 32, 40, 48, 64, 256};

// A complete .ico file: the 6-byte header, one 16-byte entry per image, then
// each image as a 32-bit BITMAPINFOHEADER bitmap (height doubled, rows from
// the bottom up, alpha in the fourth byte) followed by its all-clear 1-bit
// mask. Each image is draw(side) of four bytes per pixel, rows from the top.
std::vector<std::uint8_t> encode_icon(std::span<const int> sides,
                                      std::vector<std::uint8_t> (*draw)(int side));
