#include "image/sources/byte_sources.h"
#include "image/metadata/format_readers.h"
#include "image/metadata/heif_meta.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/iso_boxes.h"
#include "image/metadata/source_reads.h"
#include "image/metadata/tiff_reader.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace imaging {

namespace metadata {

namespace {

constexpr std::uint64_t kMaxFtypSize = 4096;
constexpr std::uint64_t kMaxMetaSize = 4u << 20;
constexpr std::size_t kMaxItemSize = 1u << 20;
constexpr int kMaxTopLevelBoxes = 64;
constexpr std::array<std::string_view, 8> kHeifBrands = {"heic", "heix", "heim", "heis",
                                                         "hevc", "hevx", "mif1", "msf1"};

bool is_heif_brand(ByteView brand) {
    return std::any_of(kHeifBrands.begin(), kHeifBrands.end(), [&](std::string_view b) { return brand.matches(0, b); });
}

// The major brand, or any compatible brand, names a HEIF image.
bool has_heif_brand(ByteView ftyp, const BoxHeader& box) {
    if (is_heif_brand(ftyp.sub(box.header_size, 4))) return true;
    for (std::uint64_t at = box.header_size + 8; ftyp.has(at, 4); at += 4) {
        if (is_heif_brand(ftyp.sub(at, 4))) return true;
    }
    return false;
}

// An item's bytes, its extents joined, cut at a cap.
std::vector<std::uint8_t> item_bytes(const ByteSource& file, const HeifMeta& meta, const ItemLocation& item) {
    std::vector<std::uint8_t> bytes;
    MemorySource idat(meta.idat.bytes());
    const ByteSource& data = item.in_idat ? static_cast<const ByteSource&>(idat) : file;
    for (const ItemExtent& extent : item.extents) {
        std::size_t room = kMaxItemSize - bytes.size();
        std::uint64_t length = extent.length == 0 ? room : std::min<std::uint64_t>(extent.length, room);
        std::vector<std::uint8_t> part = read_up_to(data, extent.offset, static_cast<std::size_t>(length));
        bytes.insert(bytes.end(), part.begin(), part.end());
        if (part.size() != length) break;
    }
    return bytes;
}

// An Exif item starts with a 32-bit count of bytes to pass over (usually the
// "Exif\0\0" identifier) before its TIFF header.
std::vector<PropertyRecord> exif_item_properties(std::span<const std::uint8_t> item) {
    ByteView view(item);
    if (!view.has(0, 4)) return {};
    std::uint64_t skip = view.u32(0, ByteOrder::Big);
    if (skip > view.size() - 4) return {};
    MemorySource tiff(item.subspan(static_cast<std::size_t>(4 + skip)));
    std::optional<TiffContents> contents = read_tiff(tiff);
    return contents ? std::move(contents->properties) : std::vector<PropertyRecord>{};
}

}  // namespace

// The ftyp box must come first and name a HEIF brand. The top-level meta box
// is read whole (it is small: item tables and properties) and gives the
// primary image's size and the places of its Exif and XMP items in the file.
std::optional<ImageMetadata> read_heif(const ByteSource& file) {
    std::uint64_t size = file.size();
    std::vector<std::uint8_t> head = read_up_to(file, 0, 16);
    std::optional<BoxHeader> ftyp = parse_box_header(ByteView(head), size);
    if (!ftyp || !ftyp->is("ftyp") || ftyp->size > kMaxFtypSize) return std::nullopt;
    std::vector<std::uint8_t> ftyp_bytes = read_up_to(file, 0, static_cast<std::size_t>(ftyp->size));
    if (!has_heif_brand(ByteView(ftyp_bytes), *ftyp)) return std::nullopt;

    ImageMetadata image;
    image.format = ImageFormat::Heif;
    std::uint64_t at = ftyp->size;
    for (int step = 0; step < kMaxTopLevelBoxes && at < size; ++step) {
        std::vector<std::uint8_t> box_head = read_up_to(file, at, 16);
        std::optional<BoxHeader> box = parse_box_header(ByteView(box_head), size - at);
        if (!box) break;
        if (box->is("meta")) {
            if (box->size > kMaxMetaSize) break;
            std::vector<std::uint8_t> meta_bytes = read_up_to(file, at, static_cast<std::size_t>(box->size));
            HeifMeta meta = parse_heif_meta(ByteView(meta_bytes).from(box->header_size));
            image.width = meta.width;
            image.height = meta.height;
            if (meta.exif) image.properties = exif_item_properties(item_bytes(file, meta, *meta.exif));
            if (meta.xmp && !is_dated(image.properties)) {
                std::vector<std::uint8_t> packet = item_bytes(file, meta, *meta.xmp);
                std::string_view text(reinterpret_cast<const char*>(packet.data()), packet.size());
                image.date_outside_exif = xmp_date(text).value_or("");
            }
            break;
        }
        at += box->size;
    }
    return image;
}

}  // namespace metadata

}  // namespace imaging
