#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

namespace imaging {

namespace metadata {

namespace {

constexpr std::uint16_t kCapturedTime = 0x180E;
constexpr std::uint16_t kStorageMask = 0xC000;  // where a record's data is kept
constexpr std::uint16_t kInRecord = 0x4000;     // in the record itself, not in the heap
constexpr std::uint16_t kDataTypeMask = 0x3800;
constexpr int kMaxDepth = 4;
constexpr std::uint32_t kMaxRecords = 1024;
constexpr std::uint64_t kRecordSize = 10;

bool is_heap(std::uint16_t type) {
    std::uint16_t data = type & kDataTypeMask;
    return data == 0x2800 || data == 0x3000;
}

// Looks through the heap in [start, start + length) and the heaps within it
// for the capture-time record; its first four bytes count seconds since 1970.
std::optional<std::uint32_t> captured_time(const ByteSource& file, std::uint64_t start, std::uint64_t length,
                                           ByteOrder order, int depth) {
    if (depth > kMaxDepth || length < 4) return std::nullopt;
    std::vector<std::uint8_t> tail = read_up_to(file, start + length - 4, 4);
    if (tail.size() != 4) return std::nullopt;
    const std::uint64_t table = ByteView(tail).u32(0, order);
    if (table > length - 4) return std::nullopt;
    std::vector<std::uint8_t> count_bytes = read_up_to(file, start + table, 2);
    if (count_bytes.size() != 2) return std::nullopt;
    std::uint64_t count = std::min<std::uint64_t>(ByteView(count_bytes).u16(0, order), kMaxRecords);
    count = std::min(count, (length - 4 - table - 2) / kRecordSize);  // records inside the heap only
    std::vector<std::uint8_t> record_bytes =
        read_up_to(file, start + table + 2, static_cast<std::size_t>(count * kRecordSize));
    ByteView records(record_bytes);
    for (std::uint64_t at = 0; records.has(at, kRecordSize); at += kRecordSize) {
        const std::uint16_t type = records.u16(at, order);
        const std::uint32_t size = records.u32(at + 2, order);
        const std::uint32_t offset = records.u32(at + 6, order);
        if ((type & ~kStorageMask) == kCapturedTime) {
            if ((type & kStorageMask) == kInRecord) return records.u32(at + 2, order);
            if (size < 4 || offset > length || 4 > length - offset) return std::nullopt;
            std::vector<std::uint8_t> value = read_up_to(file, start + offset, 4);
            if (value.size() != 4) return std::nullopt;
            return ByteView(value).u32(0, order);
        }
        if (is_heap(type) && (type & kStorageMask) != kInRecord && offset <= length && size <= length - offset) {
            if (auto found = captured_time(file, start + offset, size, order, depth + 1)) return found;
        }
    }
    return std::nullopt;
}

}  // namespace

// The header: byte order, its own length, "HEAPCCDR"; the root heap runs from
// there to the end of the file. The camera counts its local time as seconds
// since 1970, so the seconds are shown as they are, with no time zone applied.
std::optional<std::string> crw_date(const ByteSource& file) {
    std::vector<std::uint8_t> head = read_up_to(file, 0, 14);
    ByteView header(head);
    const ByteOrder order = header.matches(0, "II") ? ByteOrder::Little : ByteOrder::Big;
    const std::uint64_t header_length = header.u32(2, order);
    if (header_length > file.size()) return std::nullopt;
    std::optional<std::uint32_t> seconds = captured_time(file, header_length, file.size() - header_length, order, 0);
    if (!seconds || *seconds == 0) return std::nullopt;
    return counted_date_text(*seconds);
}

}  // namespace metadata

}  // namespace imaging
