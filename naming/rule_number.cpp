#include "naming/rule_number.h"

namespace naming {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

LeadingNumber read_leading_number(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic wraps modulo 2^32, which keeps exactly the low 32 bits.
    std::uint32_t magnitude = 0;
    LeadingNumber number;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    number.value = static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
    return number;
}

std::size_t start_digits(std::string_view start_text) {
    std::size_t width = 0;
    for (unsigned char c : start_text) {
        if (c < 0x80) {
            ++width;
        } else if ((c & 0xC0) == 0xC0) {
            width += 2;  // the lead byte of a UTF-8 sequence: one character
        }
    }
    std::size_t i = 0;
    while (i < start_text.size() && is_blank(start_text[i])) ++i;
    if (i < start_text.size() && start_text[i] == '-') --width;
    return width;
}

void append_number(std::string& out, std::int32_t value, std::size_t min_digits) {
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (value < 0) {
        out.push_back('-');
        magnitude = 0u - magnitude;
    }
    char digits[10];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (min_digits > n) out.append(min_digits - n, '0');
    while (n > 0) out.push_back(digits[--n]);
}

}  // namespace naming
