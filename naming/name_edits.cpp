#include "naming/name_edits.h"

#include "text/text_case.h"
#include "text/wide_text.h"

#include <regex>
#include <vector>

namespace naming {

namespace {

// Patterns longer than this are refused as too complex: the library's
// parser recurses into every group, and a name is never that long.
constexpr std::size_t kMaxPatternCharacters = 512;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

// Plain text found as it stands, or ignoring case.
class PlainReplace final : public NameEdits {
public:
    PlainReplace(const NameRuleFields& fields)
        : NameEdits(fields.letter_case),
          find_(fields.find_text),
          with_(fields.replace_text),
          match_case_(fields.match_case) {
        for (std::size_t i = 0; i < find_.size();) wanted_.push_back(key(text::next_code_point(find_, i)));
    }

private:
    char32_t key(char32_t c) const { return match_case_ ? c : text::upper_case(c); }

    std::string replace(const std::string& name, std::string& /*error*/) const override {
        if (wanted_.empty()) return name;
        // The name's characters, each with where it starts.
        std::vector<char32_t> chars;
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < name.size();) {
            starts.push_back(i);
            chars.push_back(key(text::next_code_point(name, i)));
        }
        starts.push_back(name.size());
        std::string out;
        std::size_t k = 0;
        while (k < chars.size()) {
            if (k + wanted_.size() <= chars.size() &&
                std::equal(wanted_.begin(), wanted_.end(), chars.begin() + static_cast<std::ptrdiff_t>(k))) {
                out += with_;
                k += wanted_.size();
            } else {
                out.append(name, starts[k], starts[k + 1] - starts[k]);
                ++k;
            }
        }
        return out;
    }

    std::string find_;
    std::string with_;
    bool match_case_;
    std::vector<char32_t> wanted_;
};

// An ECMAScript expression over the name's characters.
class RegexReplace final : public NameEdits {
public:
    RegexReplace(const NameRuleFields& fields, std::wregex expression)
        : NameEdits(fields.letter_case),
          expression_(std::move(expression)),
          with_(text::to_wide(fields.replace_text)) {}

private:
    std::string replace(const std::string& name, std::string& error) const override {
        try {
            return text::from_wide(std::regex_replace(text::to_wide(name), expression_, with_));
        } catch (const std::regex_error&) {
            error = "正则表达式太复杂";
            return name;
        }
    }

    std::wregex expression_;
    std::wstring with_;
};

// Nothing to find: the case alone.
class NoReplace final : public NameEdits {
public:
    explicit NoReplace(LetterCase letter_case) : NameEdits(letter_case) {}

private:
    std::string replace(const std::string& name, std::string&) const override { return name; }
};

std::string why_not(std::regex_constants::error_type code) {
    using namespace std::regex_constants;
    switch (code) {
        case error_paren:
            return "括号不配对";
        case error_brack:
            return "方括号不配对";
        case error_brace:
            return "花括号不配对";
        case error_badbrace:
            return "花括号里的次数有误";
        case error_range:
            return "字符范围有误";
        case error_badrepeat:
            return "重复符号前没有可重复的内容";
        case error_escape:
            return "转义字符有误";
        case error_backref:
            return "反向引用有误";
        case error_collate:
        case error_ctype:
            return "字符类有误";
        default:
            return "无法识别";
    }
}

}  // namespace

std::unique_ptr<NameEdits> NameEdits::make(const NameRuleFields& fields, std::string& error) {
    if (fields.find_text.empty()) return std::make_unique<NoReplace>(fields.letter_case);
    if (!fields.use_regex) return std::make_unique<PlainReplace>(fields);
    std::wstring pattern = text::to_wide(fields.find_text);
    if (pattern.size() > kMaxPatternCharacters) {
        error = "正则表达式太复杂";
        return nullptr;
    }
    auto flags = std::regex_constants::ECMAScript;
    if (!fields.match_case) flags |= std::regex_constants::icase;
#if defined(__GLIBCXX__)
    // A matcher that takes time in proportion to the name, not one that may
    // try every way to split it: no expression can hold the window up.
    flags |= std::regex_constants::__polynomial;
#endif
    try {
        return std::make_unique<RegexReplace>(fields, std::wregex(pattern, flags));
    } catch (const std::regex_error& e) {
        using namespace std::regex_constants;
        const auto code = e.code();
        if (code == error_complexity || code == error_stack || code == error_space) {
            error = "正则表达式太复杂";
        } else {
            error = "正则表达式有误：";
            error += why_not(code);
        }
        return nullptr;
    }
}

std::string NameEdits::apply(const std::string& name, std::string& error) const {
    return with_letter_case(replace(name, error), letter_case_);
}

std::string with_letter_case(const std::string& name, LetterCase letter_case) {
    std::string out = name;
    bool word_start = true;
    for (char& c : out) {
        switch (letter_case) {
            case LetterCase::Unchanged:
                return out;
            case LetterCase::Lower:
                c = lower(c);
                break;
            case LetterCase::Upper:
                c = upper(c);
                break;
            case LetterCase::Capitalized:
                c = word_start ? upper(c) : lower(c);
                break;
        }
        word_start = c == ' ' || c == '_' || c == '-' || c == '.';
    }
    return out;
}

std::string ascii_lower(std::string text) {
    for (char& c : text) c = lower(c);
    return text;
}

}  // namespace naming
