#include "image/metadata/tiff_reader.h"

#include "image/metadata/source_reads.h"

#include <algorithm>
#include <bitset>
#include <string_view>

namespace imaging {

namespace metadata {

namespace {

constexpr std::uint16_t kImageWidth = 0x0100;
constexpr std::uint16_t kImageLength = 0x0101;
constexpr std::uint16_t kExifIfdPointer = 0x8769;
constexpr std::uint16_t kGpsIfdPointer = 0x8825;
constexpr std::uint64_t kHeaderSize = 8;
constexpr std::uint64_t kEntrySize = 12;

struct PendingIfd {
    std::uint32_t offset;
    int depth;
};

class IfdWalk {
public:
    IfdWalk(const ByteSource& source, ByteOrder order) : source_(source), size_(source.size()), order_(order) {}

    TiffContents run(std::uint32_t ifd0) {
        std::vector<PendingIfd> pending{{ifd0, 0}};
        // Breadth first: all of IFD0, then the IFDs it points to, in the order
        // of their pointers.
        for (std::size_t next = 0; next < pending.size(); ++next) {
            PendingIfd ifd = pending[next];
            if (ifd.depth > kMaxIfdDepth || ifd.offset < kHeaderSize) continue;
            if (std::find(visited_.begin(), visited_.end(), ifd.offset) != visited_.end()) continue;
            visited_.push_back(ifd.offset);
            read_ifd(ifd, pending);
        }
        return std::move(out_);
    }

private:
    void read_ifd(PendingIfd ifd, std::vector<PendingIfd>& pending) {
        std::vector<std::uint8_t> count_bytes = read_up_to(source_, ifd.offset, 2);
        if (count_bytes.size() < 2) return;
        std::uint64_t count = ByteView(count_bytes).u16(0, order_);
        // A truncated IFD gives the entries that are wholly inside the source.
        std::uint64_t room = (size_ - ifd.offset - 2) / kEntrySize;
        count = std::min({count, room, std::uint64_t{kMaxEntriesPerIfd}});
        std::vector<std::uint8_t> table =
            read_up_to(source_, ifd.offset + 2, static_cast<std::size_t>(count * kEntrySize));
        ByteView entries(table);
        out_.properties.reserve(out_.properties.size() + static_cast<std::size_t>(count));
        for (std::uint64_t at = 0; entries.has(at, kEntrySize); at += kEntrySize) {
            read_entry(entries.sub(at, kEntrySize), ifd.depth, pending);
        }
    }

    void read_entry(ByteView entry, int depth, std::vector<PendingIfd>& pending) {
        std::uint16_t tag = entry.u16(0, order_);
        std::uint16_t type = entry.u16(2, order_);
        std::uint64_t count = entry.u32(4, order_);
        unsigned element = tiff_element_size(type);
        if (element == 0) return;
        std::uint64_t length = count * element;  // at most 2^32 * 8: no overflow in 64 bits

        if (seen_.test(tag)) return;
        // Only the first pointer of each kind is followed, so at most three
        // IFDs are ever read.
        if ((tag == kExifIfdPointer || tag == kGpsIfdPointer) && count == 1 && (type == 4 || type == 13)) {
            pending.push_back({entry.u32(8, order_), depth + 1});
        }

        std::vector<std::uint8_t> value;
        if (length <= 4) {
            auto field = entry.sub(8, length).bytes();
            value.assign(field.begin(), field.end());
        } else {
            std::uint64_t offset = entry.u32(8, order_);
            if (length > budget_ || offset > size_ || length > size_ - offset) return;
            value = read_up_to(source_, offset, static_cast<std::size_t>(length));
            if (value.size() != length) return;
            budget_ -= length;
        }
        to_little_endian(value, type, order_);

        if (depth == 0 && (tag == kImageWidth || tag == kImageLength) && (type == 3 || type == 4) && count >= 1) {
            ByteView number(value);
            std::uint32_t pixels = type == 3 ? number.u16(0, ByteOrder::Little) : number.u32(0, ByteOrder::Little);
            (tag == kImageWidth ? out_.width : out_.height) = pixels;
        }

        seen_.set(tag);
        out_.properties.push_back(PropertyRecord{tag, static_cast<std::int32_t>(length), type, std::move(value)});
    }

    const ByteSource& source_;
    std::uint64_t size_;
    ByteOrder order_;
    std::uint64_t budget_ = kMaxValueBytes;
    std::vector<std::uint32_t> visited_;
    std::bitset<65536> seen_;  // tags already taken
    TiffContents out_;
};

}  // namespace

bool is_tiff_header(ByteView bytes) {
    return bytes.matches(0, std::string_view("II*\0", 4)) || bytes.matches(0, std::string_view("MM\0*", 4));
}

std::optional<TiffContents> read_tiff(const ByteSource& tiff, bool any_signature) {
    std::vector<std::uint8_t> header_bytes = read_up_to(tiff, 0, kHeaderSize);
    ByteView header(header_bytes);
    const bool byte_order = header.matches(0, "II") || header.matches(0, "MM");
    if (!(any_signature ? byte_order : is_tiff_header(header))) return std::nullopt;
    ByteOrder order = header.u8(0) == 'I' ? ByteOrder::Little : ByteOrder::Big;
    if (!header.has(4, 4)) return TiffContents{};
    return IfdWalk(tiff, order).run(header.u32(4, order));
}

namespace {

// Width of each number inside an element: a rational is two 32-bit numbers.
unsigned number_width(std::uint16_t type) {
    switch (type) {
        case 3: case 8: return 2;          // SHORT, SSHORT
        case 4: case 9: case 11: case 13:  // LONG, SLONG, FLOAT, IFD
        case 5: case 10: return 4;         // RATIONAL, SRATIONAL
        case 12: return 8;                 // DOUBLE
        default: return 1;
    }
}

}  // namespace

unsigned tiff_element_size(std::uint16_t type) {
    switch (type) {
        case 1: case 2: case 6: case 7: return 1;  // BYTE, ASCII, SBYTE, UNDEFINED
        case 3: case 8: return 2;
        case 4: case 9: case 11: case 13: return 4;
        case 5: case 10: case 12: return 8;
        default: return 0;
    }
}

void to_little_endian(std::vector<std::uint8_t>& value, std::uint16_t type, ByteOrder stored) {
    unsigned width = number_width(type);
    if (stored == ByteOrder::Little || width == 1) return;
    for (std::size_t at = 0; width <= value.size() - at; at += width) {
        std::reverse(value.begin() + static_cast<std::ptrdiff_t>(at),
                     value.begin() + static_cast<std::ptrdiff_t>(at + width));
    }
}

std::vector<PropertyRecord> read_exif_block(const ByteSource& block) {
    constexpr std::string_view kExifPrefix("Exif\0\0", 6);
    std::vector<std::uint8_t> head = read_up_to(block, 0, kExifPrefix.size());
    std::uint64_t start = ByteView(head).matches(0, kExifPrefix) ? kExifPrefix.size() : 0;
    SourceWindow tiff(block, start, block.size());
    std::optional<TiffContents> contents = read_tiff(tiff);
    if (!contents) return {};
    return std::move(contents->properties);
}

}  // namespace metadata

}  // namespace imaging
