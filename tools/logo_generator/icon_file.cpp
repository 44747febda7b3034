#include "tools/logo_generator/icon_file.h"
#include "tools/logo_generator/little_endian.h"

namespace {

std::vector<std::uint8_t> icon_image(int side, const std::vector<std::uint8_t>& bgra) {
    const std::size_t row = static_cast<std::size_t>(side) * 4;
    const std::size_t mask_row = ((static_cast<std::size_t>(side) + 31) / 32) * 4;
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(side));
    put32(out, static_cast<std::uint32_t>(side) * 2);  // the picture and its mask
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, 0);   // BI_RGB
    put32(out, static_cast<std::uint32_t>(row * static_cast<std::size_t>(side) + mask_row * static_cast<std::size_t>(side)));
    for (int i = 0; i < 4; ++i) put32(out, 0);  // resolution and colour counts
    for (int y = side - 1; y >= 0; --y) {
        auto first = bgra.begin() + static_cast<std::ptrdiff_t>(row * static_cast<std::size_t>(y));
        out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(row));
    }
    // The alpha channel decides; the mask lets everything through.
    out.insert(out.end(), mask_row * static_cast<std::size_t>(side), 0);
    return out;
}

}  // namespace

std::vector<std::uint8_t> encode_icon(std::span<const int> sides, std::vector<std::uint8_t> (*draw)(int side)) {
    std::vector<std::vector<std::uint8_t>> images;
    for (int side : sides) images.push_back(icon_image(side, draw(side)));

    std::vector<std::uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(sides.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * sides.size());
    for (std::size_t i = 0; i < sides.size(); ++i) {
        // A side of 256 is written as 0 in the entry's one byte.
        out.push_back(static_cast<std::uint8_t>(sides[i] >= 256 ? 0 : sides[i]));
        out.push_back(static_cast<std::uint8_t>(sides[i] >= 256 ? 0 : sides[i]));
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        put16(out, 1);     // planes
        put16(out, 32);    // bits per pixel
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}
