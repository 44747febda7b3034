#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The 命名规则 window's rule: a name template of text and tokens, a counter,
// the date each row is named by, and what happens to names that clash.
namespace naming {

// One piece of a template: text copied as typed, or a token.
struct TemplatePart {
    enum class Kind { Text, Name, Counter, Year, Month, Day, Hour, Minute, Second, Folder };
    Kind kind = Kind::Text;
    std::string text;  // for Text
    std::size_t first = 1;  // for Name: characters first..last, counted from 1
    std::size_t last = 0;   // 0: to the end of the name
};

struct ParsedTemplate {
    std::vector<TemplatePart> parts;
    bool uses_date = false;
};

// The template's parts, or what is wrong with it and where ("第 1 个字符起的
// [Q] 不是已知的标记"), counted in characters from 1.
struct TemplateParse {
    std::optional<ParsedTemplate> parsed;
    std::string error;
};
TemplateParse parse_template(std::string_view text);

enum class DateSource { Capture, Modified, CaptureElseModified };

// A clock correction, "+1:00", "-0:05:30", "26:00", in seconds; 0 for an
// empty text, nothing for one that is not of that form.
std::optional<std::int64_t> parse_clock_correction(std::string_view text);

// The time a given number of seconds later (or earlier), across days,
// months and years.
platform::CivilTime shifted(const platform::CivilTime& time, std::int64_t seconds);

// 大小写: what the new base name's letters A-Z become.
enum class LetterCase { Unchanged, Lower, Upper, Capitalized };

// The rule as the window's fields give it.
struct NameRuleFields {
    std::string template_text;
    std::string counter_start = "1";
    std::string counter_step = "1";
    std::string counter_digits = "3";
    DateSource date_source = DateSource::Capture;
    std::string clock_correction;
    bool number_clashes = true;  // 同名时加序号
    bool group_pairs = true;     // 同名不同后缀视为一组
    std::string find_text;       // 查找: replaced wherever it stands in the name the template made
    std::string replace_text;    // 替换为
    bool match_case = false;     // 区分大小写
    bool use_regex = false;      // 正则表达式 (ECMAScript, on characters; $1-$9 and $& in 替换为)
    LetterCase letter_case = LetterCase::Unchanged;
    bool lower_extension = false;  // 后缀名小写

    bool operator==(const NameRuleFields&) const = default;
};

// What the rule knows of each row: its names and its two dates.
struct NameRuleRow {
    std::string base;
    std::string extension;  // with its dot, as the 后缀名 cell shows it
    std::optional<platform::CivilTime> capture;
    std::optional<platform::CivilTime> modified;
};

// Why a row's name is what it is.
enum class NameNote { None, SuffixAdded, NoDate, ModifiedDate };

struct NamedRow {
    std::string base;       // the new base name
    std::string extension;  // the extension it goes with (lower case where asked)
    NameNote note = NameNote::None;
};

// The rows named by the rule, or the first error of its fields. folder is the
// name of the rows' folder; names_outside_batch the names (with extensions)
// of the other files there, which a name must not take.
struct NameRuleResult {
    std::vector<NamedRow> rows;
    std::string error;
};
// shots, where given, are shots_of(rows), worked out once for many rules.
NameRuleResult apply_name_rule(const NameRuleFields& fields, const std::vector<NameRuleRow>& rows,
                               const std::string& folder, const std::vector<std::string>& names_outside_batch,
                               const std::vector<std::size_t>* shots = nullptr);

// Which shot each row is: rows whose base names are equal, case ignored,
// are one shot, numbered in table order of their first row.
std::vector<std::size_t> shots_of(const std::vector<NameRuleRow>& rows);

// The name of the folder a path ending in a separator names; a drive's letter
// at its root ("C:\" gives "C").
std::string folder_name(const std::string& directory);

// "20080517 142345" as the capture-date reader gives it, as a time; nothing
// for any other text.
std::optional<platform::CivilTime> time_of_date_name(std::string_view digits);

}  // namespace naming
