#include "image/metadata/heif_meta.h"

#include "image/metadata/iso_boxes.h"

#include <string_view>

namespace imaging {

namespace metadata {

namespace {

constexpr std::size_t kMaxExtents = 64;
constexpr std::size_t kMaxProperties = 4096;
constexpr std::uint64_t kFullBoxHead = 4;  // version and flags

struct Child {
    std::uint64_t offset = 0;
    BoxHeader header;
};

// The payload (after the box header) of a box found in a walk.
ByteView payload_of(ByteView container, const Child& child) {
    return container.sub(child.offset + child.header.header_size, child.header.size - child.header.header_size);
}

std::optional<std::uint32_t> primary_item(ByteView pitm) {
    ByteCursor c(pitm);
    std::uint8_t version = c.u8();
    c.skip(3);
    std::uint32_t id = version == 0 ? c.u16() : c.u32();
    if (!c.ok()) return std::nullopt;
    return id;
}

constexpr std::uint32_t kExifType = 0x45786966u;  // "Exif"
constexpr std::uint32_t kMimeType = 0x6D696D65u;  // "mime"
constexpr std::string_view kXmpContentType = "application/rdf+xml";

// A text that ends in a zero byte, read on from the cursor's place.
std::string_view zero_ended(ByteView entry, std::uint64_t& at) {
    const auto bytes = entry.from(at).bytes();
    const auto* begin = reinterpret_cast<const char*>(bytes.data());
    const std::string_view rest(begin, bytes.size());
    const std::size_t end = rest.find('\0');
    if (end == std::string_view::npos) {
        at = entry.size();
        return {};
    }
    at += end + 1;
    return rest.substr(0, end);
}

// Item id of the first item info entry of this type ("mime" items: of this
// content type).
std::optional<std::uint32_t> find_item(ByteView iinf, std::uint32_t wanted, std::string_view content_type = {}) {
    std::uint8_t version = iinf.u8(0);
    std::uint64_t entries_start = kFullBoxHead + (version == 0 ? 2 : 4);
    BoxWalk walk(iinf, entries_start, iinf.size());
    std::uint64_t at = 0;
    while (std::optional<BoxHeader> box = walk.next(at)) {
        if (!box->is("infe")) continue;
        ByteView entry = iinf.sub(at + box->header_size, box->size - box->header_size);
        ByteCursor c(entry);
        std::uint8_t infe_version = c.u8();
        c.skip(3);
        if (infe_version < 2) continue;  // old entries carry no item type
        std::uint32_t id = infe_version == 2 ? c.u16() : c.u32();
        c.skip(2);  // protection index
        std::uint32_t type = c.u32();
        if (!c.ok() || type != wanted) continue;
        if (content_type.empty()) return id;
        std::uint64_t text_at = kFullBoxHead + (infe_version == 2 ? 2 : 4) + 2 + 4;
        zero_ended(entry, text_at);  // the item's name
        if (zero_ended(entry, text_at) == content_type) return id;
    }
    return std::nullopt;
}

// The location of one item in the item location box.
std::optional<ItemLocation> item_location(ByteView iloc, std::uint32_t wanted) {
    ByteCursor c(iloc);
    std::uint8_t version = c.u8();
    c.skip(3);
    if (version > 2) return std::nullopt;
    std::uint8_t sizes = c.u8();
    std::uint8_t more_sizes = c.u8();
    unsigned offset_size = sizes >> 4;
    unsigned length_size = sizes & 0x0F;
    unsigned base_offset_size = more_sizes >> 4;
    unsigned index_size = version >= 1 ? (more_sizes & 0x0F) : 0;
    auto valid_size = [](unsigned n) { return n == 0 || n == 4 || n == 8; };
    if (!valid_size(offset_size) || !valid_size(length_size) || !valid_size(base_offset_size) ||
        !valid_size(index_size)) {
        return std::nullopt;
    }
    std::uint32_t items = version < 2 ? c.u16() : c.u32();
    // Every entry takes at least six bytes, so a broken count ends at the box's end.
    for (std::uint32_t i = 0; i < items && c.ok(); ++i) {
        std::uint32_t id = version < 2 ? c.u16() : c.u32();
        unsigned method = version >= 1 ? (c.u16() & 0x0F) : 0;
        c.skip(2);  // data reference index
        std::uint64_t base = c.sized(base_offset_size);
        std::uint16_t extent_count = c.u16();
        if (!c.ok()) return std::nullopt;
        if (id != wanted) {
            c.skip(std::uint64_t{extent_count} * (index_size + offset_size + length_size));
            continue;
        }
        if (method > 1 || extent_count == 0 || extent_count > kMaxExtents) return std::nullopt;
        ItemLocation location;
        location.in_idat = method == 1;
        for (unsigned e = 0; e < extent_count; ++e) {
            c.sized(index_size);
            ItemExtent extent;
            std::uint64_t offset = c.sized(offset_size);
            extent.length = c.sized(length_size);
            if (!c.ok() || offset > UINT64_MAX - base) return std::nullopt;
            extent.offset = base + offset;
            location.extents.push_back(extent);
        }
        return location;
    }
    return std::nullopt;
}

struct Extent2D {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

Extent2D spatial_extent(ByteView ispe) {
    if (!ispe.has(kFullBoxHead, 8)) return {};
    return {ispe.u32(kFullBoxHead, ByteOrder::Big), ispe.u32(kFullBoxHead + 4, ByteOrder::Big)};
}

// The spatial extent associated with the primary item; without one, the
// first spatial extent of the file.
Extent2D primary_extent(ByteView iprp, std::optional<std::uint32_t> primary) {
    std::vector<Child> properties;
    std::optional<Child> ipma;
    std::uint64_t at = 0;
    BoxWalk walk(iprp, 0, iprp.size());
    while (std::optional<BoxHeader> box = walk.next(at)) {
        if (box->is("ipma") && !ipma) ipma = Child{at, *box};
        if (!box->is("ipco") || !properties.empty()) continue;
        ByteView ipco = payload_of(iprp, Child{at, *box});
        BoxWalk inner(ipco, 0, ipco.size());
        std::uint64_t pat = 0;
        while (std::optional<BoxHeader> property = inner.next(pat)) {
            if (properties.size() == kMaxProperties) break;
            properties.push_back(Child{pat + (at + box->header_size), *property});
        }
    }
    auto extent_at = [&](std::size_t index) -> std::optional<Extent2D> {
        if (index == 0 || index > properties.size() || !properties[index - 1].header.is("ispe")) return std::nullopt;
        return spatial_extent(payload_of(iprp, properties[index - 1]));
    };

    if (ipma && primary) {
        ByteCursor c(payload_of(iprp, *ipma));
        std::uint8_t version = c.u8();
        c.skip(2);
        bool wide_index = (c.u8() & 1) != 0;
        std::uint32_t entries = c.u32();
        for (std::uint32_t i = 0; i < entries && c.ok(); ++i) {
            std::uint32_t id = version < 1 ? c.u16() : c.u32();
            std::uint8_t associations = c.u8();
            for (unsigned a = 0; a < associations && c.ok(); ++a) {
                std::size_t index = wide_index ? (c.u16() & 0x7FFFu) : (c.u8() & 0x7Fu);
                if (id != *primary || !c.ok()) continue;
                if (std::optional<Extent2D> extent = extent_at(index)) return *extent;
            }
        }
    }
    for (std::size_t i = 1; i <= properties.size(); ++i) {
        if (std::optional<Extent2D> extent = extent_at(i)) return *extent;
    }
    return {};
}

}  // namespace

HeifMeta parse_heif_meta(ByteView meta_payload) {
    std::optional<Child> pitm, iinf, iloc, iprp, idat;
    BoxWalk walk(meta_payload, kFullBoxHead, meta_payload.size());
    std::uint64_t at = 0;
    while (std::optional<BoxHeader> box = walk.next(at)) {
        Child child{at, *box};
        if (box->is("pitm") && !pitm) pitm = child;
        if (box->is("iinf") && !iinf) iinf = child;
        if (box->is("iloc") && !iloc) iloc = child;
        if (box->is("iprp") && !iprp) iprp = child;
        if (box->is("idat") && !idat) idat = child;
    }

    HeifMeta meta;
    std::optional<std::uint32_t> primary = pitm ? primary_item(payload_of(meta_payload, *pitm)) : std::nullopt;
    if (iinf && iloc) {
        const ByteView items = payload_of(meta_payload, *iinf), locations = payload_of(meta_payload, *iloc);
        if (std::optional<std::uint32_t> id = find_item(items, kExifType)) meta.exif = item_location(locations, *id);
        if (std::optional<std::uint32_t> id = find_item(items, kMimeType, kXmpContentType)) {
            meta.xmp = item_location(locations, *id);
        }
    }
    if (iprp) {
        Extent2D extent = primary_extent(payload_of(meta_payload, *iprp), primary);
        meta.width = extent.width;
        meta.height = extent.height;
    }
    if (idat) meta.idat = payload_of(meta_payload, *idat);
    return meta;
}

}  // namespace metadata

}  // namespace imaging
