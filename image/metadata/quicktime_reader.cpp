#include "image/metadata/iso_boxes.h"
#include "image/sources/byte_sources.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace imaging {

namespace metadata {

namespace {

constexpr int kMaxBoxes = 256;
constexpr std::uint64_t kMaxMetaBox = 1u << 20;
constexpr std::uint32_t kMaxKeys = 1024;
// Seconds from 1904-01-01, the movie header's epoch, to 1970-01-01.
constexpr std::int64_t kMovieEpochGap = 2082844800LL;
constexpr std::string_view kCreationDateKey = "com.apple.quicktime.creationdate";
// Brands of still images kept in the same boxes: HEIF and AVIF photos, Canon's CR3.
constexpr std::array<std::string_view, 13> kStillBrands = {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1",
                                                           "msf1", "avif", "avis", "crx ", "jp2 ", "jpx "};
// Boxes an old QuickTime movie may start with, without ftyp.
constexpr std::array<std::string_view, 6> kFirstMovieBoxes = {"moov", "mdat", "wide", "free", "skip", "pnot"};

struct Box {
    std::uint64_t at;
    BoxHeader header;
    std::uint64_t end() const { return at + header.size; }
    std::uint64_t body() const { return at + header.header_size; }
};

// Calls on_box for each box in [start, end) of the file until it answers true.
template <typename OnBox>
std::optional<Box> walk(const ByteSource& file, std::uint64_t start, std::uint64_t end, OnBox on_box) {
    std::uint64_t at = start;
    for (int step = 0; step < kMaxBoxes && at < end; ++step) {
        std::vector<std::uint8_t> head = read_up_to(file, at, 16);
        std::optional<BoxHeader> header = parse_box_header(ByteView(head), end - at);
        if (!header) return std::nullopt;
        Box box{at, *header};
        if (on_box(box)) return box;
        at = box.end();
    }
    return std::nullopt;
}

std::optional<Box> child(const ByteSource& file, const Box& parent, std::string_view type) {
    return walk(file, parent.body(), parent.end(), [&](const Box& b) { return b.header.is(type); });
}

// "YYYY-MM-DDTHH:MM:SS" and the like, as Apple writes it: the digits as
// written, whatever offset follows (it is the camera's own local time).
std::optional<std::string> apple_date(std::string_view text) {
    if (text.size() < 19) return std::nullopt;
    std::string date = "0000:00:00 00:00:00";
    constexpr std::array<int, 14> kDigits = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};
    for (int i : kDigits) {
        const char c = text[static_cast<std::size_t>(i)];
        if (c < '0' || c > '9') return std::nullopt;
        date[static_cast<std::size_t>(i)] = c;
    }
    return date;
}

// A meta box of Apple's keys: keys names them, ilst holds their values by
// their place among the keys (counted from 1).
std::optional<std::string> creation_date(const ByteSource& file, const Box& meta) {
    if (meta.header.size > kMaxMetaBox) return std::nullopt;
    std::vector<std::uint8_t> bytes = read_up_to(file, meta.at, static_cast<std::size_t>(meta.header.size));
    MemorySource box(bytes);
    // QuickTime's meta box holds boxes at once; the MP4 one starts with a version and flags.
    Box inner{0, meta.header};
    std::vector<std::uint8_t> first = read_up_to(box, meta.header.header_size + 4, 4);
    if (!ByteView(first).matches(0, "hdlr") && !ByteView(first).matches(0, "keys")) inner.header.header_size += 4;
    std::optional<Box> keys = child(box, inner, "keys");
    std::optional<Box> ilst = child(box, inner, "ilst");
    if (!keys || !ilst) return std::nullopt;
    ByteView view(bytes);
    std::uint32_t wanted = 0;
    const std::uint32_t count = std::min(view.u32(keys->body() + 4, ByteOrder::Big), kMaxKeys);
    std::uint64_t at = keys->body() + 8;
    for (std::uint32_t k = 1; k <= count && view.has(at, 8); ++k) {
        const std::uint64_t size = view.u32(at, ByteOrder::Big);
        if (size < 8 || size > keys->end() - at) break;
        const auto name = view.sub(at + 8, size - 8).bytes();
        if (std::string_view(reinterpret_cast<const char*>(name.data()), name.size()) == kCreationDateKey) wanted = k;
        at += size;
    }
    if (wanted == 0) return std::nullopt;
    std::optional<std::string> date;
    walk(box, ilst->body(), ilst->end(), [&](const Box& item) {
        if (view.u32(item.at + 4, ByteOrder::Big) != wanted) return false;
        std::optional<Box> data = child(box, item, "data");
        // The data box: its type (1 for UTF-8) and locale, then the text.
        if (data && view.u32(data->body(), ByteOrder::Big) == 1 && data->header.size >= data->header.header_size + 8) {
            const auto text = view.sub(data->body() + 8, data->end() - data->body() - 8).bytes();
            date = apple_date(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
        }
        return true;
    });
    return date;
}

std::optional<std::string> movie_header_date(const ByteSource& file, const Box& mvhd) {
    std::vector<std::uint8_t> bytes = read_up_to(file, mvhd.body(), 12);
    ByteView view(bytes);
    if (!view.has(0, 8)) return std::nullopt;
    const std::uint64_t created = view.u8(0) == 1 ? view.u64(4, ByteOrder::Big) : view.u32(4, ByteOrder::Big);
    if (created == 0 || created > static_cast<std::uint64_t>(INT64_MAX / 2)) return std::nullopt;  // 0: no date
    return local_date_text(static_cast<std::int64_t>(created) - kMovieEpochGap);
}

// A track's media handler says what it holds: "vide" for pictures, "soun"
// for sound (at the same place in QuickTime's and MP4's handler box).
bool has_video_track(const ByteSource& file, const Box& moov) {
    return walk(file, moov.body(), moov.end(),
                [&](const Box& trak) {
                    if (!trak.header.is("trak")) return false;
                    std::optional<Box> mdia = child(file, trak, "mdia");
                    std::optional<Box> hdlr = mdia ? child(file, *mdia, "hdlr") : std::nullopt;
                    if (!hdlr) return false;
                    std::vector<std::uint8_t> handler = read_up_to(file, hdlr->body() + 8, 4);
                    return ByteView(handler).matches(0, "vide");
                })
        .has_value();
}

}  // namespace

// A movie with no picture track (an M4A song, an M4B audio book) is no video.
bool is_quicktime_video(const ByteSource& file) {
    std::vector<std::uint8_t> head = read_up_to(file, 0, 64);
    ByteView view(head);
    std::optional<BoxHeader> first = parse_box_header(view, file.size());
    if (!first) return false;
    if (first->is("ftyp")) {
        for (std::uint64_t at = 8; at + 4 <= std::min<std::uint64_t>(first->size, view.size()); at += 4) {
            if (at == 12) continue;  // the minor version
            for (std::string_view brand : kStillBrands) {
                if (view.matches(at, brand)) return false;
            }
        }
    } else if (std::none_of(kFirstMovieBoxes.begin(), kFirstMovieBoxes.end(),
                            [&](std::string_view type) { return first->is(type); })) {
        return false;
    }
    std::optional<Box> moov = walk(file, 0, file.size(), [](const Box& box) { return box.header.is("moov"); });
    return moov && has_video_track(file, *moov);
}

// The movie box may come after the media data: the top-level boxes are walked
// by their headers, and of the movie box only its header and metadata are read.
std::optional<std::string> quicktime_date(const ByteSource& file) {
    std::optional<Box> moov = walk(file, 0, file.size(), [](const Box& box) { return box.header.is("moov"); });
    if (!moov) return std::nullopt;
    std::optional<std::string> apple;
    std::optional<Box> mvhd;
    walk(file, moov->body(), moov->end(), [&](const Box& box) {
        if (box.header.is("mvhd")) mvhd = box;
        if (!apple && box.header.is("meta")) apple = creation_date(file, box);
        if (!apple && box.header.is("udta")) {
            if (std::optional<Box> meta = child(file, box, "meta")) apple = creation_date(file, *meta);
        }
        return false;
    });
    if (apple) return apple;
    return mvhd ? movie_header_date(file, *mvhd) : std::nullopt;
}

}  // namespace metadata

}  // namespace imaging
