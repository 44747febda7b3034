#include "picker/natural_order.h"
#include "platform/text_case.h"

#include <algorithm>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Where a character sorts: punctuation and symbols of ASCII first, then
// digits (compared as numbers elsewhere), then letters and everything else.
int sort_class(char32_t upper) {
    if (upper >= '0' && upper <= '9') return 1;
    if (upper < 0x80 && !(upper >= 'A' && upper <= 'Z')) return 0;
    return 2;
}

int compare_values(char32_t a, char32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

int natural_compare(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    int zeros_tie = 0;  // fewer leading zeros first, when nothing else differs
    while (i < a.size() && j < b.size()) {
        if (is_digit(a[i]) && is_digit(b[j])) {
            std::size_t za = i, zb = j;
            while (za < a.size() && a[za] == '0') ++za;
            while (zb < b.size() && b[zb] == '0') ++zb;
            std::size_t ea = za, eb = zb;
            while (ea < a.size() && is_digit(a[ea])) ++ea;
            while (eb < b.size() && is_digit(b[eb])) ++eb;
            // Without leading zeros, the longer run holds the larger number;
            // runs of equal length compare digit by digit.
            if (ea - za != eb - zb) return ea - za < eb - zb ? -1 : 1;
            int digits = a.substr(za, ea - za).compare(b.substr(zb, eb - zb));
            if (digits != 0) return digits < 0 ? -1 : 1;
            if (zeros_tie == 0 && za - i != zb - j) zeros_tie = za - i < zb - j ? -1 : 1;
            i = ea;
            j = eb;
            continue;
        }
        unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) {
            // Plain ASCII, the common case, without decoding.
            if (ca == cb) {
                ++i, ++j;
                continue;
            }
            char32_t ua = platform::upper_case(ca), ub = platform::upper_case(cb);
            ++i, ++j;
            if (ua == ub) continue;
            int classes = sort_class(ua) - sort_class(ub);
            if (classes != 0) return classes < 0 ? -1 : 1;
            return compare_values(ua, ub);
        }
        char32_t ua = platform::upper_case(platform::next_code_point(a, i));
        char32_t ub = platform::upper_case(platform::next_code_point(b, j));
        if (ua == ub) continue;
        int classes = sort_class(ua) - sort_class(ub);
        if (classes != 0) return classes < 0 ? -1 : 1;
        return compare_values(ua, ub);
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    if (zeros_tie != 0) return zeros_tie;
    int bytes = a.compare(b);
    return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

void sort_naturally(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& x, const std::string& y) { return natural_less(x, y); });
}
