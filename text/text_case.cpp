#include "text/text_case.h"

namespace text {

char32_t next_code_point(std::string_view text, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    }
    if (length != 0 && length <= text.size() - i) {
        std::size_t k = 1;
        for (; k < length && (byte(i + k) & 0xC0) == 0x80; ++k) c = (c << 6) | (byte(i + k) & 0x3F);
        bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        if (k == length && c >= minimum && c <= 0x10FFFF && !surrogate) {
            i += length;
            return c;
        }
    }
    ++i;
    return 0xDC00 + lead;
}

char32_t upper_case(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;                  // à-þ
    if (c == 0xFF) return 0x178;                                                 // ÿ
    if (c >= 0x100 && c <= 0x17F) {                                              // Latin Extended-A
        // Upper and lower case alternate; the lower-case letter is the odd one,
        // except in two runs where it is the even one.
        bool even_lower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        if (even_lower ? (c % 2 == 0) : (c % 2 == 1)) return c - 1;
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;                // α-ω
    if (c == 0x3C2) return 0x3A3;                                                // final sigma
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                               // а-я
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;                               // ѐ-џ
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;                             // ａ-ｚ
    return c;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string folded_name(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    append_folded(out, name);
    return out;
}

void append_folded(std::string& out, std::string_view name) {
    for (std::size_t i = 0; i < name.size();) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
            ++i;
            continue;
        }
        append_utf8(out, upper_case(next_code_point(name, i)));
    }
}

}  // namespace text
