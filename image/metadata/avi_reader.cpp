#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <string>

namespace imaging {

namespace metadata {

namespace {

constexpr int kMaxChunks = 256;
constexpr int kMaxDepth = 3;
constexpr std::uint32_t kMaxDateChunk = 64;

bool digits(std::string_view text, std::size_t at, std::size_t n) {
    if (at > text.size() || n > text.size() - at) return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(at + n), [](char c) { return c >= '0' && c <= '9'; });
}

// The dates cameras write in IDIT: "2005:08:17 11:42:43" (or with / or -)
// and "THU OCT 26 16:46:00 2006" (any case).
std::optional<std::string> idit_date(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (digits(text, 0, 4) && digits(text, 5, 2) && digits(text, 8, 2) && digits(text, 11, 2) && digits(text, 14, 2)) {
        std::string date = "0000:00:00 00:00:00";
        for (int i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15})
            date[static_cast<std::size_t>(i)] = text[static_cast<std::size_t>(i)];
        if (digits(text, 17, 2)) {
            date[17] = text[17];
            date[18] = text[18];
        }
        return date;
    }
    static constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                                 "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    // "Www Mmm dd hh:mm:ss yyyy", the day of the month maybe in one digit.
    if (text.size() < 20) return std::nullopt;
    std::string month(text.substr(4, 3));
    for (char& c : month) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto found = std::find(kMonths.begin(), kMonths.end(), month);
    if (found == kMonths.end()) return std::nullopt;
    std::size_t at = 8;
    std::string day;
    while (at < text.size() && text[at] == ' ') ++at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && day.size() < 2) day += text[at++];
    if (day.empty() || at >= text.size() || text[at] != ' ') return std::nullopt;
    ++at;
    if (!digits(text, at, 2) || !digits(text, at + 3, 2) || !digits(text, at + 6, 2) || !digits(text, at + 9, 4)) {
        return std::nullopt;
    }
    char date[32];
    std::snprintf(date, sizeof date, "%.4s:%02d:%02d %.2s:%.2s:%.2s", text.data() + at + 9,
                  static_cast<int>(found - kMonths.begin()) + 1, std::stoi(day), text.data() + at, text.data() + at + 3,
                  text.data() + at + 6);
    return std::string(date);
}

// Looks for IDIT among the chunks in [start, end), going into LIST chunks
// but never into the media data.
std::optional<std::string> find_idit(const ByteSource& file, std::uint64_t start, std::uint64_t end, int depth) {
    std::uint64_t at = start;
    for (int step = 0; step < kMaxChunks && at + 8 <= end; ++step) {
        std::vector<std::uint8_t> head_bytes = read_up_to(file, at, 12);
        ByteView head(head_bytes);
        const std::uint64_t size = head.u32(4, ByteOrder::Little);
        if (size > end - at - 8) return std::nullopt;
        if (head.matches(0, "IDIT") && size <= kMaxDateChunk) {
            std::vector<std::uint8_t> value = read_up_to(file, at + 8, static_cast<std::size_t>(size));
            return idit_date(std::string_view(reinterpret_cast<const char*>(value.data()), value.size()));
        }
        if (head.matches(0, "LIST") && !head.matches(8, "movi") && depth < kMaxDepth && size >= 4) {
            if (auto date = find_idit(file, at + 12, at + 8 + size, depth + 1)) return date;
        }
        at += 8 + size + (size & 1);  // chunks are padded to an even length
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> avi_date(const ByteSource& file) {
    std::vector<std::uint8_t> head = read_up_to(file, 0, 12);
    const std::uint64_t riff_end = std::min<std::uint64_t>(8 + ByteView(head).u32(4, ByteOrder::Little), file.size());
    return find_idit(file, 12, riff_end, 0);
}

}  // namespace metadata

}  // namespace imaging
