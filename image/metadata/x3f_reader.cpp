#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

#include <charconv>

namespace imaging {

namespace metadata {

namespace {

constexpr std::uint32_t kMaxSections = 64;
constexpr std::uint32_t kMaxProperties = 1024;
constexpr std::uint64_t kMaxPropertyChars = 1u << 16;

// A UTF-16LE text of ASCII characters that starts at a character of the
// property list's character data; empty at anything else.
std::string ascii_at(ByteView chars, std::uint64_t index) {
    std::string text;
    for (std::uint64_t at = index * 2; chars.has(at, 2) && text.size() < 64; at += 2) {
        const std::uint16_t c = chars.u16(at, ByteOrder::Little);
        if (c == 0) return text;
        if (c >= 0x80) return {};
        text += static_cast<char>(c);
    }
    return {};
}

}  // namespace

// The directory the last four bytes point to lists the sections; the
// property list (PROP) holds the capture time as TIME, seconds since 1970 as
// the camera counts its local time.
std::optional<std::string> x3f_date(const ByteSource& file) {
    const std::uint64_t size = file.size();
    if (size < 4) return std::nullopt;
    std::vector<std::uint8_t> tail = read_up_to(file, size - 4, 4);
    const std::uint64_t directory = ByteView(tail).u32(0, ByteOrder::Little);
    std::vector<std::uint8_t> dir_head = read_up_to(file, directory, 12);
    ByteView head(dir_head);
    if (!head.matches(0, "SECd")) return std::nullopt;
    const std::uint32_t count = std::min(head.u32(8, ByteOrder::Little), kMaxSections);
    std::vector<std::uint8_t> entry_bytes = read_up_to(file, directory + 12, count * 12u);
    ByteView entries(entry_bytes);
    for (std::uint64_t e = 0; entries.has(e, 12); e += 12) {
        if (!entries.matches(e + 8, "PROP")) continue;
        const std::uint64_t section = entries.u32(e, ByteOrder::Little);
        const std::uint64_t length = entries.u32(e + 4, ByteOrder::Little);
        std::vector<std::uint8_t> prop_head = read_up_to(file, section, 24);
        ByteView props(prop_head);
        if (!props.matches(0, "SECp") || props.u32(12, ByteOrder::Little) != 0) continue;  // UTF-16 only
        const std::uint32_t n = std::min(props.u32(8, ByteOrder::Little), kMaxProperties);
        const std::uint64_t chars = std::min<std::uint64_t>(props.u32(20, ByteOrder::Little), kMaxPropertyChars);
        if (24 + n * 8ull > length) continue;
        std::vector<std::uint8_t> table = read_up_to(file, section + 24, n * 8u);
        std::vector<std::uint8_t> text = read_up_to(file, section + 24 + n * 8ull, static_cast<std::size_t>(chars * 2));
        ByteView pairs(table), data(text);
        for (std::uint64_t p = 0; pairs.has(p, 8); p += 8) {
            if (ascii_at(data, pairs.u32(p, ByteOrder::Little)) != "TIME") continue;
            const std::string value = ascii_at(data, pairs.u32(p + 4, ByteOrder::Little));
            std::int64_t seconds = 0;
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (error != std::errc() || end != value.data() + value.size() || seconds <= 0) return std::nullopt;
            return counted_date_text(seconds);
        }
    }
    return std::nullopt;
}

}  // namespace metadata

}  // namespace imaging
