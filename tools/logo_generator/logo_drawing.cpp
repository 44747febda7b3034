#include "tools/logo_generator/logo_drawing.h"
#include "tools/logo_generator/little_endian.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

struct Colour {
    std::uint8_t r, g, b;
};

// Shapes are placed in whole pixels and sampled in eighths of a pixel, all in
// integers, so every build of the generator draws the same bytes.
constexpr int kSub = 8;

struct Point {
    int x, y;
};

// A convex polygon or a rectangle with rounded corners, in one colour.
struct Shape {
    std::vector<Point> corners;  // a convex polygon when not empty
    int left = 0, top = 0, right = 0, bottom = 0, radius = 0;
    Colour colour{};

    bool contains(int x, int y) const {
        if (!corners.empty()) return polygon_contains(x, y);
        return rounded_rect_contains(x, y);
    }

private:
    bool polygon_contains(int x, int y) const {
        // Outside the corners' bounding box, quickly.
        bool left_of_all = true, right_of_all = true, above_all = true, below_all = true;
        for (const Point& p : corners) {
            left_of_all &= x < p.x * kSub;
            right_of_all &= x > p.x * kSub;
            above_all &= y < p.y * kSub;
            below_all &= y > p.y * kSub;
        }
        if (left_of_all || right_of_all || above_all || below_all) return false;
        bool any_positive = false, any_negative = false;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            Point a{corners[i].x * kSub, corners[i].y * kSub};
            const Point& next = corners[(i + 1) % corners.size()];
            Point b{next.x * kSub, next.y * kSub};
            long long cross =
                static_cast<long long>(b.x - a.x) * (y - a.y) - static_cast<long long>(b.y - a.y) * (x - a.x);
            if (cross > 0) any_positive = true;
            if (cross < 0) any_negative = true;
        }
        return !(any_positive && any_negative);
    }

    bool rounded_rect_contains(int x, int y) const {
        int l = left * kSub, t = top * kSub, r = right * kSub, b = bottom * kSub, rad = radius * kSub;
        if (x < l || x >= r || y < t || y >= b) return false;
        int cx = x < l + rad ? l + rad : (x >= r - rad ? r - rad : x);
        int cy = y < t + rad ? t + rad : (y >= b - rad ? b - rad : y);
        long long dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= static_cast<long long>(rad) * rad;
    }
};

Shape rect(int left, int top, int right, int bottom, Colour colour, int radius = 0) {
    Shape s;
    s.left = left;
    s.top = top;
    s.right = right;
    s.bottom = bottom;
    s.radius = radius;
    s.colour = colour;
    return s;
}

Shape polygon(std::vector<Point> corners, Colour colour) {
    Shape s;
    s.corners = std::move(corners);
    s.colour = colour;
    return s;
}

constexpr Colour kBackground{236, 236, 236};  // the About window's own background
constexpr Colour kTile{38, 99, 178};
constexpr Colour kOutline{22, 52, 104};
constexpr Colour kPaper{255, 255, 255};
constexpr Colour kPaperMiddle{214, 228, 246};
constexpr Colour kPaperBack{172, 198, 234};
constexpr Colour kFold{196, 208, 226};
constexpr Colour kTextLine{150, 164, 186};
constexpr Colour kArrow{247, 148, 29};
constexpr Colour kArrowEdge{255, 255, 255};

constexpr int kSheetWidth = 42, kSheetHeight = 54, kFoldSize = 12;

// One sheet of paper with its top right corner folded over, outlined.
void add_sheet(std::vector<Shape>& shapes, int left, int top, Colour paper) {
    int right = left + kSheetWidth, bottom = top + kSheetHeight, fold = right - kFoldSize;
    constexpr int e = 2;  // outline width
    shapes.push_back(polygon({{left - e, top - e},
                              {fold + 1, top - e},
                              {right + e, top + kFoldSize - 1},
                              {right + e, bottom + e},
                              {left - e, bottom + e}},
                             kOutline));
    shapes.push_back(
        polygon({{left, top}, {fold, top}, {right, top + kFoldSize}, {right, bottom}, {left, bottom}}, paper));
    shapes.push_back(polygon({{fold, top}, {fold, top + kFoldSize}, {right, top + kFoldSize}}, kFold));
}

std::vector<Shape> logo_shapes() {
    std::vector<Shape> shapes;
    shapes.push_back(rect(4, 4, 116, 116, kTile, 22));
    add_sheet(shapes, 22, 14, kPaperBack);
    add_sheet(shapes, 31, 23, kPaperMiddle);
    add_sheet(shapes, 40, 32, kPaper);
    // Lines of text on the front sheet.
    for (int i = 0; i < 4; ++i) {
        int y = 52 + i * 8;
        shapes.push_back(rect(46, y, i == 3 ? 64 : 76, y + 4, kTextLine, 2));
    }
    // The renaming arrow, pointing right across the foot of the stack.
    shapes.push_back(rect(12, 85, 82, 103, kArrowEdge, 4));
    shapes.push_back(polygon({{76, 72}, {107, 94}, {76, 116}}, kArrowEdge));
    shapes.push_back(rect(16, 89, 84, 99, kArrow, 2));
    shapes.push_back(polygon({{80, 79}, {100, 94}, {80, 109}}, kArrow));
    return shapes;
}

}  // namespace

platform::PixelImage draw_logo() {
    const std::vector<Shape> shapes = logo_shapes();
    platform::PixelImage image;
    image.width = kLogoSide;
    image.height = kLogoSide;
    image.bgr.resize(static_cast<std::size_t>(kLogoSide) * kLogoSide * 3);
    constexpr std::array<int, 4> kSamples = {1, 3, 5, 7};  // 4 x 4 samples per pixel
    for (int y = 0; y < kLogoSide; ++y) {
        for (int x = 0; x < kLogoSide; ++x) {
            unsigned r = 0, g = 0, b = 0;
            for (int sy : kSamples) {
                for (int sx : kSamples) {
                    Colour c = kBackground;
                    for (const Shape& shape : shapes) {
                        if (shape.contains(x * kSub + sx, y * kSub + sy)) c = shape.colour;
                    }
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            }
            std::size_t at = image.offset(x, y);
            image.bgr[at] = static_cast<std::uint8_t>((b + 8) / 16);
            image.bgr[at + 1] = static_cast<std::uint8_t>((g + 8) / 16);
            image.bgr[at + 2] = static_cast<std::uint8_t>((r + 8) / 16);
        }
    }
    return image;
}

std::vector<std::uint8_t> draw_logo_with_alpha(int side) {
    const std::vector<Shape> shapes = logo_shapes();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * static_cast<std::size_t>(side) * 4);
    // Small icons take more samples per pixel: a pixel covers more of the drawing.
    const int n = side <= 64 ? 8 : 2;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            unsigned r = 0, g = 0, b = 0, covered = 0;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    // The sample's place in the 120-pixel drawing, in eighths of a pixel.
                    int lx = ((2 * x * n + 2 * sx + 1) * kLogoSide * kSub) / (2 * n * side);
                    int ly = ((2 * y * n + 2 * sy + 1) * kLogoSide * kSub) / (2 * n * side);
                    const Shape* top = nullptr;
                    for (auto shape = shapes.rbegin(); shape != shapes.rend() && !top; ++shape) {
                        if (shape->contains(lx, ly)) top = &*shape;
                    }
                    if (!top) continue;
                    r += top->colour.r;
                    g += top->colour.g;
                    b += top->colour.b;
                    ++covered;
                }
            }
            std::size_t at =
                (static_cast<std::size_t>(y) * static_cast<std::size_t>(side) + static_cast<std::size_t>(x)) * 4;
            if (covered > 0) {
                pixels[at] = static_cast<std::uint8_t>((b + covered / 2) / covered);
                pixels[at + 1] = static_cast<std::uint8_t>((g + covered / 2) / covered);
                pixels[at + 2] = static_cast<std::uint8_t>((r + covered / 2) / covered);
            }
            const unsigned total = static_cast<unsigned>(n * n);
            pixels[at + 3] = static_cast<std::uint8_t>((covered * 255 + total / 2) / total);
        }
    }
    return pixels;
}

std::vector<std::uint8_t> encode_bmp(const platform::PixelImage& image, std::int32_t pixels_per_metre,
                                     std::size_t trailing_padding) {
    if (!image.is_consistent()) return {};
    constexpr std::uint32_t kFileHeaderSize = 14, kInfoHeaderSize = 40;
    const std::size_t row_bytes = static_cast<std::size_t>(image.width) * 3;
    const std::size_t stride = (row_bytes + 3) & ~static_cast<std::size_t>(3);
    const std::size_t pixel_bytes = stride * static_cast<std::size_t>(image.height) + trailing_padding;
    if (pixel_bytes > 0xFFFFFFFFu - kFileHeaderSize - kInfoHeaderSize) return {};

    std::vector<std::uint8_t> out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + pixel_bytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + pixel_bytes));
    put32(out, 0);  // two reserved words
    put32(out, kFileHeaderSize + kInfoHeaderSize);
    put32(out, kInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(image.height));  // positive: rows from the bottom up
    put16(out, 1);                                         // planes
    put16(out, 24);                                        // bits per pixel
    put32(out, 0);                                         // BI_RGB, uncompressed
    put32(out, static_cast<std::uint32_t>(pixel_bytes));
    put32(out, static_cast<std::uint32_t>(pixels_per_metre));
    put32(out, static_cast<std::uint32_t>(pixels_per_metre));
    put32(out, 0);  // colours used
    put32(out, 0);  // important colours
    for (int y = image.height - 1; y >= 0; --y) {
        std::size_t at = image.offset(0, y);
        out.insert(out.end(), image.bgr.begin() + static_cast<std::ptrdiff_t>(at),
                   image.bgr.begin() + static_cast<std::ptrdiff_t>(at + row_bytes));
        out.insert(out.end(), stride - row_bytes, 0);
    }
    out.insert(out.end(), trailing_padding, 0);
    return out;
}
