#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

#include <algorithm>
#include <array>

namespace imaging {

namespace metadata {

namespace {

constexpr std::size_t kMaxIrbResources = 1024;
constexpr std::size_t kMaxIptcRecords = 4096;
constexpr std::uint64_t kMaxXmpPacket = 1u << 20;  // far above any real packet of a photo

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The number the digits text[at, at + n) spell; nothing when any is not a digit.
std::optional<int> digits_at(std::string_view text, std::size_t at, std::size_t n) {
    if (at > text.size() || n > text.size() - at) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (!is_digit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// A real date and time of day in EXIF's form, "YYYY:MM:DD HH:MM:SS".
std::optional<std::string> checked_date_text(int year, int month, int day, int hour, int minute, int second) {
    static constexpr std::array<int, 12> kDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[static_cast<std::size_t>(month - 1)]) {
        return std::nullopt;
    }
    if (month == 2 && day == 29 && !is_leap(year)) return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return exif_date_text(platform::CivilTime{year, month, day, hour, minute, second});
}

// "2024-07-01T14:23:45.12+08:00" and its shorter forms: the date is needed,
// the time may stop after its minutes or be left out; what follows the
// seconds (a fraction, a zone) is dropped, not applied. Some writers put
// EXIF's colons and a space in XMP too.
std::optional<std::string> iso_date(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n'))
        text.remove_prefix(1);
    auto year = digits_at(text, 0, 4), month = digits_at(text, 5, 2), day = digits_at(text, 8, 2);
    if (!year || !month || !day || (text[4] != '-' && text[4] != ':') || text[7] != text[4]) return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (text.size() > 10 && (text[10] == 'T' || text[10] == ' ')) {
        auto h = digits_at(text, 11, 2), m = digits_at(text, 14, 2);
        if (h && m && text[13] == ':') {
            hour = *h;
            minute = *m;
            if (text.size() > 16 && text[16] == ':') {
                auto s = digits_at(text, 17, 2);
                if (!s) return std::nullopt;
                second = *s;
            }
        } else if (h || text[10] == 'T') {
            return std::nullopt;
        }
    }
    return checked_date_text(*year, *month, *day, hour, minute, second);
}

bool is_name_char(char c) {
    return is_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ':' || c == '_' || c == '-' ||
           c == '.';
}

// The value of the first property `name` in the packet, written either as an
// attribute (name="…") or as an element (<name>…</name>).
std::optional<std::string_view> xmp_property(std::string_view packet, std::string_view name) {
    for (std::size_t at = packet.find(name); at != std::string_view::npos; at = packet.find(name, at + 1)) {
        if (at > 0 && is_name_char(packet[at - 1])) continue;
        std::size_t i = at + name.size();
        if (i < packet.size() && is_name_char(packet[i])) continue;
        while (i < packet.size() && (packet[i] == ' ' || packet[i] == '\t' || packet[i] == '\r' || packet[i] == '\n'))
            ++i;
        if (i >= packet.size()) return std::nullopt;
        if (packet[i] == '=') {
            ++i;
            while (i < packet.size() && (packet[i] == ' ' || packet[i] == '\t')) ++i;
            if (i >= packet.size() || (packet[i] != '"' && packet[i] != '\'')) continue;
            const std::size_t end = packet.find(packet[i], i + 1);
            if (end == std::string_view::npos) return std::nullopt;
            return packet.substr(i + 1, end - i - 1);
        }
        if (packet[i] == '>' && at > 0 && packet[at - 1] == '<') {
            const std::size_t end = packet.find('<', i + 1);
            if (end == std::string_view::npos) return std::nullopt;
            return packet.substr(i + 1, end - i - 1);
        }
    }
    return std::nullopt;
}

// The IPTC records of resource 0x0404: each a 0x1C marker, its record and
// dataset numbers and a two-byte length. DateCreated (2:55) is "CCYYMMDD",
// TimeCreated (2:60) "HHMMSS" and an offset, which is dropped.
std::optional<std::string> iptc_records_date(ByteView records) {
    std::optional<std::string_view> date, time;
    std::uint64_t at = 0;
    for (std::size_t k = 0; k < kMaxIptcRecords && records.has(at, 5) && records.u8(at) == 0x1C; ++k) {
        const std::uint16_t length = records.u16(at + 3, ByteOrder::Big);
        if (length & 0x8000) break;  // an extended length: no date is that long
        if (!records.has(at + 5, length)) break;
        const auto bytes = records.sub(at + 5, length).bytes();
        const std::string_view value(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (records.u8(at + 1) == 2 && records.u8(at + 2) == 55 && !date) date = value;
        if (records.u8(at + 1) == 2 && records.u8(at + 2) == 60 && !time) time = value;
        at += 5 + length;
    }
    if (!date) return std::nullopt;
    auto year = digits_at(*date, 0, 4), month = digits_at(*date, 4, 2), day = digits_at(*date, 6, 2);
    if (!year || !month || !day) return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (time) {
        auto h = digits_at(*time, 0, 2), m = digits_at(*time, 2, 2), s = digits_at(*time, 4, 2);
        if (h && m && s) {
            hour = *h;
            minute = *m;
            second = *s;
        }
    }
    return checked_date_text(*year, *month, *day, hour, minute, second);
}

}  // namespace

std::optional<std::string> xmp_date(std::string_view packet) {
    for (std::string_view name : {"exif:DateTimeOriginal", "photoshop:DateCreated", "xmp:CreateDate"}) {
        if (std::optional<std::string_view> value = xmp_property(packet, name)) {
            if (std::optional<std::string> date = iso_date(*value)) return date;
        }
    }
    return std::nullopt;
}

std::optional<std::string> xmp_date_at(const ByteSource& file, std::uint64_t at, std::uint64_t length) {
    std::vector<std::uint8_t> packet = read_up_to(file, at, static_cast<std::size_t>(std::min(length, kMaxXmpPacket)));
    return xmp_date(std::string_view(reinterpret_cast<const char*>(packet.data()), packet.size()));
}

// Photoshop's image resource blocks: "8BIM", a two-byte id, a name as a
// Pascal string padded to an even length, a four-byte size, the data padded
// to an even length.
std::optional<std::string> iptc_date(ByteView resources) {
    std::uint64_t at = 0;
    for (std::size_t k = 0; k < kMaxIrbResources && resources.matches(at, "8BIM"); ++k) {
        const std::uint16_t id = resources.u16(at + 4, ByteOrder::Big);
        const std::uint64_t name = 1 + resources.u8(at + 6);
        const std::uint64_t size_at = at + 6 + name + (name % 2);
        if (!resources.has(size_at, 4)) break;
        const std::uint64_t size = resources.u32(size_at, ByteOrder::Big);
        if (!resources.has(size_at + 4, size)) break;
        if (id == 0x0404) return iptc_records_date(resources.sub(size_at + 4, size));
        at = size_at + 4 + size + (size % 2);
    }
    return std::nullopt;
}

bool is_dated(const std::vector<PropertyRecord>& properties) {
    std::optional<std::string> date = original_date(properties);
    return date && date->find_first_not_of("0: ") != std::string::npos;
}

}  // namespace metadata

}  // namespace imaging
