#include "text/wildcard.h"
#include "text/text_case.h"

#include <algorithm>

namespace text {

WildcardPattern::WildcardPattern(std::string_view pattern) {
    std::vector<char32_t> chars;
    for (std::size_t i = 0; i < pattern.size();) chars.push_back(next_code_point(pattern, i));
    if (chars == std::vector<char32_t>{U'*', U'.', U'*'}) chars = {U'*'};

    for (std::size_t i = 0; i < chars.size(); ++i) {
        char32_t c = chars[i];
        char32_t next = i + 1 < chars.size() ? chars[i + 1] : 0;
        bool last = i + 1 == chars.size();
        if (c == U'*') {
            tokens_.push_back({next == U'.' ? Op::StarBeforeDot : Op::Star, 0});
        } else if (c == U'?') {
            tokens_.push_back({Op::AnyOrNone, 0});
        } else if (c == U'.' && (last || next == U'*' || next == U'?')) {
            tokens_.push_back({Op::DotOrEnd, 0});
        } else {
            tokens_.push_back({Op::Literal, upper_case(c)});
        }
    }

    // "*.jpg" and the like: a star (whichever kind) followed by plain ASCII
    // with one dot at its start is a case-insensitive suffix test. The
    // star-before-dot rule holds then, since the suffix holds the last dot.
    literal_ascii_tail_ = tokens_.size() >= 2 && (tokens_[0].op == Op::Star || tokens_[0].op == Op::StarBeforeDot) &&
                          std::all_of(tokens_.begin() + 1, tokens_.end(),
                                      [](const Token& t) { return t.op == Op::Literal && t.ch < 0x80; }) &&
                          std::count_if(tokens_.begin() + 1, tokens_.end(),
                                        [](const Token& t) { return t.ch == U'.'; }) == 1 &&
                          tokens_[1].ch == U'.';
}

bool WildcardPattern::matches(std::string_view name) const {
    if (literal_ascii_tail_) {
        std::size_t n = tokens_.size() - 1;
        if (name.size() < n) return false;
        std::string_view tail = name.substr(name.size() - n);
        for (std::size_t k = 0; k < n; ++k) {
            char c = tail[k];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
            if (static_cast<char32_t>(static_cast<unsigned char>(c)) != tokens_[k + 1].ch) return false;
        }
        return true;
    }

    std::vector<char32_t> chars;
    for (std::size_t i = 0; i < name.size();) chars.push_back(next_code_point(name, i));
    std::size_t last_dot = chars.size();
    for (std::size_t i = chars.size(); i-- > 0;) {
        if (chars[i] == U'.') {
            last_dot = i;
            break;
        }
    }

    // A set of positions in the wildcard, advanced one name character at a
    // time. `reached` marks positions already in the set for this step.
    const std::size_t m = tokens_.size();
    std::vector<std::size_t> current, next;
    std::vector<std::size_t> reached(m + 1, static_cast<std::size_t>(-1));
    current.reserve(m + 1);
    next.reserve(m + 1);

    // Adds position j and every position reachable from it without
    // consuming a character, when the name is at character i.
    auto add = [&](std::vector<std::size_t>& set, std::size_t j, std::size_t i) {
        while (reached[j] != i) {
            reached[j] = i;
            set.push_back(j);
            if (j == m) return;
            const Token& t = tokens_[j];
            bool at_end = i == chars.size();
            bool skips = t.op == Op::Star || t.op == Op::StarBeforeDot ||
                         (t.op == Op::AnyOrNone && (at_end || chars[i] == U'.')) ||
                         (t.op == Op::DotOrEnd && at_end);
            if (!skips) return;
            ++j;
        }
    };

    add(current, 0, 0);
    for (std::size_t i = 0; i < chars.size() && !current.empty(); ++i) {
        char32_t c = chars[i];
        char32_t upper = upper_case(c);
        next.clear();
        for (std::size_t j : current) {
            if (j == m) continue;
            const Token& t = tokens_[j];
            switch (t.op) {
                case Op::Literal:
                    if (upper == t.ch) add(next, j + 1, i + 1);
                    break;
                case Op::Star:
                    add(next, j, i + 1);
                    break;
                case Op::StarBeforeDot:
                    if (i != last_dot) add(next, j, i + 1);
                    break;
                case Op::AnyOrNone:
                    if (c != U'.') add(next, j + 1, i + 1);
                    break;
                case Op::DotOrEnd:
                    if (c == U'.') add(next, j + 1, i + 1);
                    break;
            }
        }
        current.swap(next);
    }
    return std::find(current.begin(), current.end(), m) != current.end();
}

}  // namespace text
