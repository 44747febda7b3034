#include "text/natural_order.h"
#include "text/text_case.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace text {

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
            char32_t ua = text::upper_case(ca), ub = text::upper_case(cb);
            ++i, ++j;
            if (ua == ub) continue;
            int classes = sort_class(ua) - sort_class(ub);
            if (classes != 0) return classes < 0 ? -1 : 1;
            return compare_values(ua, ub);
        }
        char32_t ua = text::upper_case(text::next_code_point(a, i));
        char32_t ub = text::upper_case(text::next_code_point(b, j));
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

namespace {

// A byte string per name whose plain byte order is the natural order above,
// up to ties: sorting by it compares bytes instead of decoding characters.
//   ASCII punctuation and symbols   0x01-0x42, in ASCII order
//   a run of digits                 0x50, its length without leading zeros in
//                                   two bytes, then those digits
//   ASCII letters, either case      0x60-0x79
//   anything else                   UTF-8 of its upper-case form (0xC2 up)
constexpr unsigned char kDigitRun = 0x50;
constexpr unsigned char kFirstLetter = 0x60;

struct PunctuationRanks {
    unsigned char rank[128] = {};
    constexpr PunctuationRanks() {
        unsigned char next = 1;
        for (int c = 0; c < 128; ++c) {
            bool digit = c >= '0' && c <= '9';
            bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            if (!digit && !letter) rank[c] = next++;
        }
    }
};
constexpr PunctuationRanks kPunctuation;

unsigned char* put_utf8(unsigned char* out, char32_t c) {
    if (c < 0x800) {
        *out++ = static_cast<unsigned char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        *out++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        *out++ = static_cast<unsigned char>(0xF0 | (c >> 18));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return out;
}

// Appends the name's key to keys. A key takes at most four bytes per byte of
// the name (a one-digit run takes four; a stray byte reads as a three-byte
// character).
void append_sort_key(std::string& keys, std::string_view name) {
    std::size_t start_size = keys.size();
    keys.resize(start_size + 4 * name.size());
    auto* out = reinterpret_cast<unsigned char*>(keys.data()) + start_size;
    auto* const begin = out;
    for (std::size_t i = 0; i < name.size();) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (is_digit(name[i])) {
            while (i < name.size() && name[i] == '0') ++i;
            std::size_t start = i;
            while (i < name.size() && is_digit(name[i])) ++i;
            std::size_t length = std::min<std::size_t>(i - start, 0xFFFF);
            *out++ = kDigitRun;
            *out++ = static_cast<unsigned char>(length >> 8);
            *out++ = static_cast<unsigned char>(length & 0xFF);
            out = std::copy(name.data() + start, name.data() + start + length, out);
        } else if (c < 0x80) {
            bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            *out++ = letter ? static_cast<unsigned char>(kFirstLetter + ((c & ~0x20) - 'A')) : kPunctuation.rank[c];
            ++i;
        } else {
            out = put_utf8(out, text::upper_case(text::next_code_point(name, i)));
        }
    }
    keys.resize(start_size + static_cast<std::size_t>(out - begin));
}

}  // namespace

// Up to eight bytes of a key from `depth` on, the first in the top byte,
// zeros past its end. The sort reads keys through this window so that it
// walks its own array rather than jumping about the key bytes.
std::uint64_t NaturalSorter::window_at(const KeyedName& k, std::size_t depth) const {
    std::uint64_t window = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        window <<= 8;
        if (depth + i < k.length) window |= static_cast<unsigned char>(keys_[k.offset + depth + i]);
    }
    return window;
}

bool NaturalSorter::natural_tie_less(const KeyedName& x, const KeyedName& y) const {
    int order = natural_compare((*names_)[x.index], (*names_)[y.index]);
    return order != 0 ? order < 0 : x.index < y.index;
}

// Equal keys: names that differ in case or leading zeros only, or not at all.
void NaturalSorter::sort_ties(KeyedName* first, std::size_t n) {
    std::sort(first, first + n, [&](const KeyedName& x, const KeyedName& y) { return natural_tie_less(x, y); });
}

// Puts in order keys that agree before `depth`, each holding its window from
// `window_depth`: buckets them by one byte position at a time, then each
// bucket by the next.
void NaturalSorter::sort_range(KeyedName* first, std::size_t n, std::size_t depth, std::size_t window_depth) {
    if (n < 2) return;
    if (depth - window_depth >= 8) {
        for (std::size_t i = 0; i < n; ++i) first[i].window = window_at(first[i], depth);
        window_depth = depth;
    }
    std::size_t skip = depth - window_depth;
    std::uint32_t shortest = first[0].length;
    for (std::size_t i = 1; i < n; ++i) shortest = std::min(shortest, first[i].length);

    if (n < 32) {
        std::sort(first, first + n, [&](const KeyedName& x, const KeyedName& y) {
            std::uint64_t wx = x.window << (8 * skip), wy = y.window << (8 * skip);
            if (wx != wy) return wx < wy;
            std::string_view kx = std::string_view(keys_).substr(x.offset + depth, x.length - depth);
            std::string_view ky = std::string_view(keys_).substr(y.offset + depth, y.length - depth);
            int order = kx.compare(ky);
            return order != 0 ? order < 0 : natural_tie_less(x, y);
        });
        return;
    }

    // Skip the bytes that every key has, as far as the window and the
    // shortest key reach.
    std::uint64_t head = first[0].window << (8 * skip);
    std::uint64_t differ = 0;
    for (std::size_t i = 1; i < n; ++i) differ |= head ^ (first[i].window << (8 * skip));
    std::size_t same = differ == 0 ? 8 - skip : static_cast<std::size_t>(std::countl_zero(differ)) / 8;
    same = std::min({same, 8 - skip, shortest > depth ? shortest - depth : std::size_t{0}});
    if (same > 0) return sort_range(first, n, depth + same, window_depth);

    // Bucket 0 holds the keys that end here, before every longer one.
    auto bucket_of = [&](const KeyedName& k) -> unsigned {
        if (depth >= k.length) return 0;
        return static_cast<unsigned>((k.window >> (56 - 8 * skip)) & 0xFF) + 1;
    };
    std::size_t count[257] = {};
    unsigned low = 256, high = 0;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned b = bucket_of(first[i]);
        ++count[b];
        low = std::min(low, b);
        high = std::max(high, b);
    }
    if (count[0] == n) return sort_ties(first, n);

    // Only the buckets between the lowest and the highest byte seen: names
    // mostly differ in digits or letters, a dozen buckets or so.
    std::size_t start[257];
    std::size_t place[257];
    std::size_t sum = 0;
    for (unsigned b = low; b <= high; ++b) {
        start[b] = place[b] = sum;
        sum += count[b];
    }
    if (scratch_.size() < n) scratch_.resize(n);
    for (std::size_t i = 0; i < n; ++i) scratch_[place[bucket_of(first[i])]++] = first[i];
    std::copy(scratch_.begin(), scratch_.begin() + static_cast<std::ptrdiff_t>(n), first);
    if (low == 0) sort_ties(first, count[0]);
    for (unsigned b = std::max(low, 1u); b <= high; ++b)
        sort_range(first + start[b], count[b], depth + 1, window_depth);
}

void NaturalSorter::sort(NameList& names) {
    const std::vector<std::uint32_t>& indexes = order(names);
    names.reorder([&](std::size_t k) { return indexes[k]; });
}

const std::vector<std::uint32_t>& NaturalSorter::order(const NameList& names) {
    names_ = &names;
    keys_.clear();
    order_.clear();
    order_.reserve(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        std::size_t offset = keys_.size();
        append_sort_key(keys_, names[k]);
        order_.push_back({0, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(keys_.size() - offset),
                          static_cast<std::uint32_t>(k)});
    }
    // The windows start after what all keys share (the "IMG_" of a camera's
    // pictures), while the keys are still read in the order they were made.
    std::size_t shared = order_.empty() ? 0 : order_[0].length;
    std::string_view first_key = std::string_view(keys_).substr(0, shared);
    for (const KeyedName& k : order_) {
        std::string_view key = std::string_view(keys_).substr(k.offset, std::min<std::size_t>(k.length, shared));
        shared = static_cast<std::size_t>(std::mismatch(key.begin(), key.end(), first_key.begin()).first - key.begin());
    }
    for (KeyedName& k : order_) k.window = window_at(k, shared);
    sort_range(order_.data(), order_.size(), shared, shared);

    indexes_.resize(order_.size());
    for (std::size_t k = 0; k < order_.size(); ++k) indexes_[k] = order_[k].index;
    names_ = nullptr;
    return indexes_;
}

void sort_naturally(std::vector<std::string>& names) {
    NameList list;
    for (const std::string& name : names) list.push_back(name);
    NaturalSorter().sort(list);
    names = list.to_vector();
}

}  // namespace text
