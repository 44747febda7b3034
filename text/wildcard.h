#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace text {

// A file-name wildcard ("*.jpg", "IMG_????.*") that matches names the way
// Windows matches them in a directory search, on every platform:
// - case does not matter;
// - "*" matches any run of characters; "*" right before a dot cannot
//   swallow the name's last dot, so "*.jpg" wants a final ".jpg";
// - "?" matches one character, or nothing at a dot or at the end of the
//   name, so "IMG_????.jpg" also takes "IMG_12.jpg";
// - a dot before "*" or "?", or at the end of the wildcard, also matches the
//   end of a name without a dot: "*.*" matches every name, "*." the names
//   without a dot, "a.*" the name "a".
// Only the name is matched, never its 8.3 short form, so "*.jpg" does not
// take "photo.jpgx" as a Windows search may.
class WildcardPattern {
public:
    explicit WildcardPattern(std::string_view pattern);

    bool matches(std::string_view name) const;

private:
    enum class Op : unsigned char { Literal, Star, StarBeforeDot, AnyOrNone, DotOrEnd };
    struct Token {
        Op op;
        char32_t ch;  // upper-case, for Literal
    };
    std::vector<Token> tokens_;
    bool literal_ascii_tail_ = false;  // "*" then plain ASCII: a suffix compare does
};

}  // namespace text
