#include "text/wide_text.h"

#include "text/text_case.h"

namespace text {

std::wstring to_wide(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = next_code_point(utf8, i);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0x10000 && c <= 0x10FFFF) {
                c -= 0x10000;
                wide += static_cast<wchar_t>(0xD800 + (c >> 10));
                wide += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
                continue;
            }
        }
        wide += static_cast<wchar_t>(c);
    }
    return wide;
}

std::string from_wide(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char32_t>(wide[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) {
            const char32_t low = static_cast<char32_t>(wide[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        // A byte the UTF-8 reader could not decode stood for itself.
        if (c >= 0xDC80 && c <= 0xDCFF) {
            out += static_cast<char>(c - 0xDC00);
            continue;
        }
        append_utf8(out, c);
    }
    return out;
}

}  // namespace text
