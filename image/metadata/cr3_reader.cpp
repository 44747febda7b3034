#include "image/metadata/iso_boxes.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"
#include "image/metadata/tiff_reader.h"

namespace imaging {

namespace metadata {

namespace {

constexpr int kMaxBoxes = 64;
constexpr std::uint64_t kMaxCanonBox = 1u << 20;  // the metadata boxes; the image data lies elsewhere
// The usertype of the uuid box in which Canon keeps the CMT boxes.
constexpr std::string_view kCanonUuid("\x85\xC0\xB6\x87\x82\x0F\x11\xE0\x81\x11\xF4\xCE\x46\x2B\x6A\x48", 16);

// The box of a type among the boxes laid in [start, end) of the file.
std::optional<std::pair<std::uint64_t, BoxHeader>> find_box(const ByteSource& file, std::uint64_t start,
                                                            std::uint64_t end, std::string_view type) {
    std::uint64_t at = start;
    for (int step = 0; step < kMaxBoxes && at < end; ++step) {
        std::vector<std::uint8_t> head = read_up_to(file, at, 16);
        std::optional<BoxHeader> box = parse_box_header(ByteView(head), end - at);
        if (!box) return std::nullopt;
        if (box->is(type)) return std::pair{at, *box};
        at += box->size;
    }
    return std::nullopt;
}

}  // namespace

// ftyp "crx ", then moov, in which Canon's uuid box holds CMT1 (the TIFF
// IFD0) and CMT2 (the Exif IFD, as the IFD0 of a TIFF block of its own).
std::optional<std::string> cr3_date(const ByteSource& file) {
    auto moov = find_box(file, 0, file.size(), "moov");
    if (!moov) return std::nullopt;
    std::uint64_t at = moov->first + moov->second.header_size;
    const std::uint64_t moov_end = moov->first + moov->second.size;
    for (int step = 0; step < kMaxBoxes && at < moov_end; ++step) {
        std::vector<std::uint8_t> head = read_up_to(file, at, 32);
        std::optional<BoxHeader> box = parse_box_header(ByteView(head), moov_end - at);
        if (!box) return std::nullopt;
        if (box->is("uuid") && ByteView(head).matches(box->header_size, kCanonUuid) && box->size <= kMaxCanonBox) {
            const std::uint64_t inner = at + box->header_size + kCanonUuid.size();
            auto cmt2 = find_box(file, inner, at + box->size, "CMT2");
            if (!cmt2) return std::nullopt;
            SourceWindow exif(file, cmt2->first + cmt2->second.header_size,
                              cmt2->second.size - cmt2->second.header_size);
            std::optional<TiffContents> contents = read_tiff(exif);
            return contents ? original_date(contents->properties) : std::nullopt;
        }
        at += box->size;
    }
    return std::nullopt;
}

}  // namespace metadata

}  // namespace imaging
