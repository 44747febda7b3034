#include "rename/plain_file_name.h"

#include "text/text_case.h"

#include <array>

namespace renaming {

namespace {

bool is_forbidden_character(unsigned char c) {
    if (c < 32) return true;
    switch (c) {
        case '<':
        case '>':
        case ':':
        case '"':
        case '/':
        case '\\':
        case '|':
        case '?':
        case '*':
            return true;
        default:
            return false;
    }
}

char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool equals_ascii_case_insensitive(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_upper(a[i]) != ascii_upper(b[i])) return false;
    }
    return true;
}

// Windows takes these as devices whatever follows the first dot, and also with
// blanks before it ("CON .txt").
bool is_device_name(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);

    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view device : kDevices) {
        if (equals_ascii_case_insensitive(stem, device)) return true;
    }
    // COM0 to COM9 and LPT0 to LPT9 (current Windows reserves the 0 too),
    // also with the superscript digits ¹ ² ³ that Windows counts as the same ports.
    if (stem.size() < 4) return false;
    std::string_view port = stem.substr(0, 3);
    if (!equals_ascii_case_insensitive(port, "COM") && !equals_ascii_case_insensitive(port, "LPT")) return false;
    std::string_view number = stem.substr(3);
    if (number.size() == 1) return number[0] >= '0' && number[0] <= '9';
    return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

// Stray bytes (a camera's garbled date, say) would reach Windows as
// replacement characters: the file would get a name other than the one shown.
bool is_well_formed_text(std::string_view name) {
    for (std::size_t i = 0; i < name.size();) {
        char32_t c = text::next_code_point(name, i);
        if (c >= 0xDC80 && c <= 0xDCFF) return false;
    }
    return true;
}

}  // namespace

bool is_plain_file_name(std::string_view name) {
    if (name.empty()) return false;
    bool ascii = true;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (is_forbidden_character(byte)) return false;
        ascii = ascii && byte < 0x80;
    }
    if (name.back() == '.' || name.back() == ' ') return false;
    return (ascii || is_well_formed_text(name)) && !is_device_name(name);
}

}  // namespace renaming
