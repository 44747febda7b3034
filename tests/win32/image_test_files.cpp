#include "image_test_files.h"

#include "image/image_file.h"
#include "image_builders.h"

#include <windows.h>

#include <algorithm>

using namespace imaging;

namespace image_test {

namespace {

Bytes bmp(int width, int height, int bits, const std::vector<std::uint32_t>& palette, const Bytes& pixels) {
    std::uint32_t header = 14 + 40 + static_cast<std::uint32_t>(palette.size()) * 4;
    Bytes out{'B', 'M'};
    test_images::le32(out, header + static_cast<std::uint32_t>(pixels.size()));
    test_images::le32(out, 0);
    test_images::le32(out, header);
    test_images::le32(out, 40);
    test_images::le32(out, static_cast<std::uint32_t>(width));
    test_images::le32(out, static_cast<std::uint32_t>(height));
    test_images::le16(out, 1);
    test_images::le16(out, static_cast<std::uint32_t>(bits));
    test_images::le32(out, 0);  // uncompressed
    test_images::le32(out, static_cast<std::uint32_t>(pixels.size()));
    test_images::le32(out, 2835);  // 72 dpi
    test_images::le32(out, 2835);
    test_images::le32(out, static_cast<std::uint32_t>(palette.size()));
    test_images::le32(out, 0);
    for (std::uint32_t argb : palette) test_images::le32(out, argb & 0x00FFFFFF);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

}  // namespace

bool running_under_wine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

Bytes bmp_24bit(int width, int height) {
    int stride = (width * 3 + 3) / 4 * 4;
    Bytes pixels(static_cast<std::size_t>(stride * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &pixels[static_cast<std::size_t>(y * stride + x * 3)];
            p[0] = static_cast<std::uint8_t>(x * 20);
            p[1] = static_cast<std::uint8_t>(y * 20);
            p[2] = static_cast<std::uint8_t>(128);
        }
    }
    return bmp(width, height, 24, {}, pixels);
}

Bytes bmp_8bit(int width, int height, const std::vector<std::uint32_t>& palette) {
    int stride = (width + 3) / 4 * 4;
    Bytes pixels(static_cast<std::size_t>(stride * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y * stride + x)] = static_cast<std::uint8_t>((x + y) % palette.size());
        }
    }
    return bmp(width, height, 8, palette, pixels);
}

Bytes tiff_with_tags(int width, int height, const std::vector<TiffTag>& extra) {
    struct Entry {
        std::uint16_t id;
        std::uint16_t type;
        std::uint32_t count;
        Bytes value;  // inline when four bytes or fewer
    };
    auto short_value = [](std::uint32_t v) {
        Bytes b;
        test_images::le16(b, v);
        test_images::le16(b, 0);
        return b;
    };
    auto long_value = [](std::uint32_t v) {
        Bytes b;
        test_images::le32(b, v);
        return b;
    };
    auto rational = [](std::uint32_t n, std::uint32_t d) {
        Bytes b;
        test_images::le32(b, n);
        test_images::le32(b, d);
        return b;
    };
    std::uint32_t pixel_bytes = static_cast<std::uint32_t>(width * height);
    std::vector<Entry> entries = {
        {256, 4, 1, long_value(static_cast<std::uint32_t>(width))},
        {257, 4, 1, long_value(static_cast<std::uint32_t>(height))},
        {258, 3, 1, short_value(8)},
        {259, 3, 1, short_value(1)},
        {262, 3, 1, short_value(1)},
        {273, 4, 1, long_value(0)},  // strip offset, patched below
        {277, 3, 1, short_value(1)},
        {278, 4, 1, long_value(static_cast<std::uint32_t>(height))},
        {279, 4, 1, long_value(pixel_bytes)},
        {282, 5, 1, rational(72, 1)},
        {283, 5, 1, rational(72, 1)},
        {296, 3, 1, short_value(2)},
    };
    for (const TiffTag& tag : extra) {
        Bytes text(tag.ascii.begin(), tag.ascii.end());
        text.push_back(0);
        entries.push_back({tag.id, 2, static_cast<std::uint32_t>(text.size()), text});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });

    std::uint32_t ifd_size = 2 + static_cast<std::uint32_t>(entries.size()) * 12 + 4;
    std::uint32_t data_at = 8 + ifd_size;
    Bytes data;  // values too long to sit in their entries
    std::vector<std::uint32_t> value_offsets;
    for (const Entry& e : entries) {
        if (e.value.size() > 4) {
            value_offsets.push_back(data_at + static_cast<std::uint32_t>(data.size()));
            data.insert(data.end(), e.value.begin(), e.value.end());
            if (data.size() % 2) data.push_back(0);
        } else {
            value_offsets.push_back(0);
        }
    }
    std::uint32_t pixels_at = data_at + static_cast<std::uint32_t>(data.size());

    Bytes out{'I', 'I', 42, 0};
    test_images::le32(out, 8);
    test_images::le16(out, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        test_images::le16(out, e.id);
        test_images::le16(out, e.type);
        test_images::le32(out, e.count);
        if (e.id == 273) {
            test_images::le32(out, pixels_at);
        } else if (e.value.size() > 4) {
            test_images::le32(out, value_offsets[i]);
        } else {
            Bytes inline_value = e.value;
            inline_value.resize(4, 0);
            out.insert(out.end(), inline_value.begin(), inline_value.end());
        }
    }
    test_images::le32(out, 0);  // no further IFD
    out.insert(out.end(), data.begin(), data.end());
    for (std::uint32_t i = 0; i < pixel_bytes; ++i) out.push_back(static_cast<std::uint8_t>(i * 7));
    return out;
}

Bytes jpeg_photo(int width, int height, const Bytes& exif_tiff) {
    int status = 0;
    ImageFile image(status);
    if (!image.LoadFromBytes(bmp_24bit(width, height))) return {};
    Bytes jpeg = image.SaveToBytes(kJpegFormat);
    if (jpeg.size() < 2 || exif_tiff.empty()) return jpeg;
    Bytes app1 = test_images::exif_app1(exif_tiff);
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

}  // namespace image_test
