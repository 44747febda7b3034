#include "app/pixel_scaling.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace app {

namespace {

// How much of source cell s (length `to` on a common scale) lies inside
// result cell t (length `from`). Both cells are measured in units where the
// source picture is from * to long.
struct Span {
    int first;   // first source cell touched
    std::vector<std::uint64_t> weights;
};

std::vector<Span> spans(int from, int to) {
    std::vector<Span> result(static_cast<std::size_t>(to));
    for (int t = 0; t < to; ++t) {
        std::int64_t begin = static_cast<std::int64_t>(t) * from;
        std::int64_t end = begin + from;
        int first = static_cast<int>(begin / to);
        int last = static_cast<int>((end - 1) / to);
        Span& span = result[static_cast<std::size_t>(t)];
        span.first = first;
        for (int s = first; s <= last; ++s) {
            std::int64_t cell_begin = static_cast<std::int64_t>(s) * to;
            std::int64_t overlap = std::min(end, cell_begin + to) - std::max(begin, cell_begin);
            span.weights.push_back(static_cast<std::uint64_t>(overlap));
        }
    }
    return result;
}

bool side_in_range(int side) { return side > 0 && side <= kMaxScaledSide; }

}  // namespace

std::optional<PixelImage> scale_area_average(const PixelImage& source, int width, int height) {
    if (!source.is_consistent() || !side_in_range(source.width) || !side_in_range(source.height) ||
        !side_in_range(width) || !side_in_range(height)) {
        return std::nullopt;
    }
    const std::vector<Span> columns = spans(source.width, width);
    const std::vector<Span> rows = spans(source.height, height);
    // Every result pixel's weights add up to the area it covers.
    const std::uint64_t area = static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(source.height);

    PixelImage result;
    result.width = width;
    result.height = height;
    result.bgr.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        const Span& row = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            const Span& column = columns[static_cast<std::size_t>(x)];
            std::uint64_t sums[3] = {0, 0, 0};
            for (std::size_t j = 0; j < row.weights.size(); ++j) {
                for (std::size_t i = 0; i < column.weights.size(); ++i) {
                    std::uint64_t weight = row.weights[j] * column.weights[i];
                    std::size_t at = source.offset(column.first + static_cast<int>(i), row.first + static_cast<int>(j));
                    for (int c = 0; c < 3; ++c) sums[c] += weight * source.bgr[at + static_cast<std::size_t>(c)];
                }
            }
            std::size_t out = result.offset(x, y);
            for (int c = 0; c < 3; ++c) {
                result.bgr[out + static_cast<std::size_t>(c)] = static_cast<std::uint8_t>((sums[c] + area / 2) / area);
            }
        }
    }
    return result;
}

}  // namespace app
