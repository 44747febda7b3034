#include "naming/name_rule.h"

#include "naming/name_edits.h"
#include "text/text_case.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace naming {

namespace {

using Kind = TemplatePart::Kind;

constexpr std::int64_t kMaxCounter = 999'999'999;
constexpr std::int64_t kMaxCorrectionHours = 24 * 366 * 100;  // a century is the most a clock is ever off

TemplatePart part_of(Kind kind) {
    TemplatePart part;
    part.kind = kind;
    return part;
}

std::string at_character(std::size_t character) {
    std::string text = "第 ";
    text.append(std::to_string(character)).append(" 个字符起的 ");
    return text;
}

// A whole number, a "-" allowed first; nothing for any other text.
std::optional<std::int64_t> whole_number(std::string_view text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "[N]", "[N2-5]", "[N3-]": the characters of the base name they take.
std::optional<TemplatePart> name_range(std::string_view inside) {
    if (inside == "N") return part_of(Kind::Name);
    if (inside.size() < 3 || inside[0] != 'N') return std::nullopt;
    const std::size_t dash = inside.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    auto first = whole_number(inside.substr(1, dash - 1));
    std::optional<std::int64_t> last;
    if (dash + 1 < inside.size()) {
        last = whole_number(inside.substr(dash + 1));
        if (!last) return std::nullopt;
    }
    if (!first || *first < 1 || (last && *last < *first)) return std::nullopt;
    TemplatePart part = part_of(Kind::Name);
    part.first = static_cast<std::size_t>(*first);
    part.last = last ? static_cast<std::size_t>(*last) : 0;
    return part;
}

std::optional<std::vector<Kind>> plain_token(std::string_view inside) {
    if (inside == "C") return std::vector<Kind>{Kind::Counter};
    if (inside == "Y") return std::vector<Kind>{Kind::Year};
    if (inside == "M") return std::vector<Kind>{Kind::Month};
    if (inside == "D") return std::vector<Kind>{Kind::Day};
    if (inside == "h") return std::vector<Kind>{Kind::Hour};
    if (inside == "m") return std::vector<Kind>{Kind::Minute};
    if (inside == "s") return std::vector<Kind>{Kind::Second};
    if (inside == "YMD") return std::vector<Kind>{Kind::Year, Kind::Month, Kind::Day};
    if (inside == "hms") return std::vector<Kind>{Kind::Hour, Kind::Minute, Kind::Second};
    if (inside == "P") return std::vector<Kind>{Kind::Folder};
    return std::nullopt;
}

bool is_date_kind(Kind kind) { return kind >= Kind::Year && kind <= Kind::Second; }

// The characters first..last (from 1; last 0 for the end) of a UTF-8 text.
std::string characters(std::string_view text, std::size_t first, std::size_t last) {
    std::size_t i = 0, count = 0, from = text.size(), to = text.size();
    while (i < text.size()) {
        ++count;
        if (count == first) from = i;
        text::next_code_point(text, i);
        if (last != 0 && count == last) {
            to = i;
            break;
        }
    }
    return from >= to ? std::string() : std::string(text.substr(from, to - from));
}

std::string two_digits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string counter_text(std::int64_t value, int digits) {
    std::string number = std::to_string(value < 0 ? -value : value);
    if (number.size() < static_cast<std::size_t>(digits)) number.insert(0, digits - number.size(), '0');
    if (value < 0) number.insert(0, 1, '-');
    return number;
}

struct Counter {
    std::int64_t start = 1, step = 1;
    int digits = 3;
};

std::optional<Counter> parse_counter(const NameRuleFields& fields, std::string& error) {
    Counter counter;
    auto start = whole_number(fields.counter_start), step = whole_number(fields.counter_step);
    auto digits = whole_number(fields.counter_digits);
    if (!start || *start < -kMaxCounter || *start > kMaxCounter)
        error = "起始应为整数";
    else if (!step || *step < -kMaxCounter || *step > kMaxCounter)
        error = "步长应为整数";
    else if (!digits || *digits < 0 || *digits > 9)
        error = "位数应为 0 到 9 的整数";
    if (!error.empty()) return std::nullopt;
    counter.start = *start;
    counter.step = *step;
    counter.digits = static_cast<int>(*digits);
    return counter;
}

// The date a row is named by, and whether it is the modification date
// standing in for a missing capture date.
struct RowDate {
    std::optional<platform::CivilTime> time;
    bool modified_instead = false;
};

RowDate row_date(const NameRuleRow& row, DateSource source, std::int64_t correction) {
    std::optional<platform::CivilTime> capture;
    if (row.capture) capture = correction == 0 ? *row.capture : shifted(*row.capture, correction);
    switch (source) {
        case DateSource::Capture:
            return {capture, false};
        case DateSource::Modified:
            return {row.modified, false};
        case DateSource::CaptureElseModified:
            if (capture) return {capture, false};
            return {row.modified, row.modified.has_value()};
    }
    return {};
}

std::string made_name(const ParsedTemplate& parsed, const NameRuleRow& row, const RowDate& date,
                      const std::string& counter, const std::string& folder) {
    std::string name;
    for (const TemplatePart& part : parsed.parts) {
        const platform::CivilTime t = date.time.value_or(platform::CivilTime{});
        switch (part.kind) {
            case Kind::Text:
                name += part.text;
                break;
            case Kind::Name:
                name += characters(row.base, part.first, part.last);
                break;
            case Kind::Counter:
                name += counter;
                break;
            case Kind::Year:
                name += std::to_string(t.year);
                break;
            case Kind::Month:
                name += two_digits(t.month);
                break;
            case Kind::Day:
                name += two_digits(t.day);
                break;
            case Kind::Hour:
                name += two_digits(t.hour);
                break;
            case Kind::Minute:
                name += two_digits(t.minute);
                break;
            case Kind::Second:
                name += two_digits(t.second);
                break;
            case Kind::Folder:
                name += folder;
                break;
        }
    }
    return name;
}

// The folded names taken so far: their text in one block, found through an
// open-addressing table of their places, so that a hundred thousand names
// cost a few allocations rather than one or two each.
class TakenNames {
public:
    explicit TakenNames(std::size_t expected) {
        std::size_t size = 16;
        while (size < 2 * expected) size *= 2;
        slots_.assign(size, Slot{});
        text_.reserve(expected * 16);
    }

    bool contains(std::string_view key) const { return slots_[find(key, hash(key))].length != kEmpty; }

    void insert(std::string_view key) {
        const std::uint64_t h = hash(key);
        std::size_t at = find(key, h);
        if (slots_[at].length != kEmpty) return;
        slots_[at] = {h, static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(key.size())};
        text_.append(key);
        if (++count_ * 2 > slots_.size()) grow();
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = kEmpty;
    };

    static std::uint64_t hash(std::string_view key) {
        std::uint64_t h = 0xCBF29CE484222325ULL;  // FNV-1a
        for (char c : key) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
        return h;
    }

    // The slot that holds key, or the empty one where it would go.
    std::size_t find(std::string_view key, std::uint64_t h) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = h & mask;; at = (at + 1) & mask) {
            const Slot& slot = slots_[at];
            if (slot.length == kEmpty) return at;
            if (slot.hash == h && std::string_view(text_).substr(slot.offset, slot.length) == key) return at;
        }
    }

    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.size() * 2, Slot{});
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.length == kEmpty) continue;
            std::size_t at = slot.hash & mask;
            while (slots_[at].length != kEmpty) at = (at + 1) & mask;
            slots_[at] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::string text_;
    std::size_t count_ = 0;
};

// Gives every group a name no earlier group and no file outside the batch
// has: "_2", "_3", … after the base name until each member's name is free.
void number_clashes(std::vector<NamedRow>& named, const std::vector<std::size_t>& group,
                    const std::vector<std::string>& outside) {
    const std::size_t rows = named.size();
    const std::size_t groups = rows == 0 ? 0 : *std::max_element(group.begin(), group.end()) + 1;
    // The members of every group in one array, group after group.
    std::vector<std::size_t> first(groups + 1, 0);
    for (std::size_t g : group) ++first[g + 1];
    for (std::size_t g = 0; g < groups; ++g) first[g + 1] += first[g];
    std::vector<std::size_t> members(rows);
    std::vector<std::size_t> filled(first.begin(), first.end() - 1);
    for (std::size_t k = 0; k < rows; ++k) members[filled[group[k]]++] = k;

    TakenNames taken(rows + outside.size());
    std::string key;
    for (const std::string& name : outside) {
        key.clear();
        text::append_folded(key, name);
        taken.insert(key);
    }
    std::vector<std::string> wanted;  // the folded names a group's members would take; reused
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t count = first[g + 1] - first[g];
        if (count == 0) continue;
        const std::size_t* member = members.data() + first[g];
        if (wanted.size() < count) wanted.resize(count);
        const std::string base = named[member[0]].base;
        std::string chosen = base;
        for (int n = 2;; ++n) {
            bool free = true;
            for (std::size_t i = 0; i < count; ++i) {
                wanted[i].clear();
                text::append_folded(wanted[i], chosen);
                text::append_folded(wanted[i], named[member[i]].extension);
                free = free && !taken.contains(wanted[i]);
            }
            if (free || n > 99999) break;
            chosen = base + "_" + std::to_string(n);
        }
        for (std::size_t i = 0; i < count; ++i) {
            taken.insert(wanted[i]);
            if (chosen == base) continue;
            named[member[i]].base = chosen;
            named[member[i]].note = NameNote::SuffixAdded;
        }
    }
}

}  // namespace

std::vector<std::size_t> shots_of(const std::vector<NameRuleRow>& rows) {
    std::vector<std::size_t> shot(rows.size());
    std::unordered_map<std::string, std::size_t> first_of;
    first_of.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k)
        shot[k] = first_of.emplace(text::folded_name(rows[k].base), first_of.size()).first->second;
    return shot;
}

TemplateParse parse_template(std::string_view text) {
    ParsedTemplate parsed;
    std::size_t i = 0, character = 0;
    auto add_text = [&](std::string_view piece) {
        if (parsed.parts.empty() || parsed.parts.back().kind != Kind::Text) parsed.parts.push_back(part_of(Kind::Text));
        parsed.parts.back().text += piece;
    };
    while (i < text.size()) {
        const std::size_t start = i;
        ++character;
        text::next_code_point(text, i);
        if (text[start] != '[') {
            add_text(text.substr(start, i - start));
            continue;
        }
        if (i < text.size() && text[i] == '[') {  // "[[" is a "["
            add_text("[");
            ++i;
            ++character;
            continue;
        }
        const std::size_t close = text.find(']', i);
        if (close == std::string_view::npos) return {std::nullopt, at_character(character) + "[ 没有配对的 ]"};
        const std::string_view inside = text.substr(i, close - i);
        std::string token = "[";
        token.append(inside).append("]");
        if (auto kinds = plain_token(inside)) {
            for (Kind kind : *kinds) {
                parsed.parts.push_back(part_of(kind));
                parsed.uses_date = parsed.uses_date || is_date_kind(kind);
            }
        } else if (auto range = name_range(inside)) {
            parsed.parts.push_back(*range);
        } else if (!inside.empty() && inside[0] == 'N' && inside.find('-') != std::string_view::npos) {
            return {std::nullopt, at_character(character) + token + " 的范围有误"};
        } else {
            return {std::nullopt, at_character(character) + token + " 不是已知的标记"};
        }
        for (std::size_t j = i; j <= close;) {  // the token's characters, for the positions after it
            text::next_code_point(text, j);
            ++character;
        }
        i = close + 1;
    }
    return {std::move(parsed), ""};
}

std::optional<std::int64_t> parse_clock_correction(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return 0;
    std::int64_t sign = 1;
    if (text.front() == '+' || text.front() == '-') {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    std::int64_t fields[3] = {0, 0, 0};
    int count = 0;
    while (true) {
        const std::size_t colon = text.find(':');
        const std::string_view piece = text.substr(0, colon);
        if (count == 3 || piece.empty() || piece.size() > (count == 0 ? 6u : 2u) ||
            !std::all_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        fields[count++] = *whole_number(piece);
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    if (fields[0] > kMaxCorrectionHours || fields[1] > 59 || fields[2] > 59) return std::nullopt;
    return sign * (fields[0] * 3600 + fields[1] * 60 + fields[2]);
}

platform::CivilTime shifted(const platform::CivilTime& t, std::int64_t seconds) {
    return platform::civil_time_of(platform::seconds_of(t) + seconds);
}

NameRuleResult apply_name_rule(const NameRuleFields& fields, const std::vector<NameRuleRow>& rows,
                               const std::string& folder, const std::vector<std::string>& names_outside_batch,
                               const std::vector<std::size_t>* shots) {
    TemplateParse parse = parse_template(fields.template_text);
    if (!parse.parsed) return {{}, parse.error};
    std::string error;
    std::optional<Counter> counter = parse_counter(fields, error);
    if (!counter) return {{}, error};
    std::optional<std::int64_t> correction = parse_clock_correction(fields.clock_correction);
    if (!correction) return {{}, "时间校正应写作 +1:00、-0:05:30 这样的时间"};

    const ParsedTemplate& parsed = *parse.parsed;
    // Each row's group: its shot, or a group of its own.
    std::vector<std::size_t> group;
    if (!fields.group_pairs) {
        group.resize(rows.size());
        for (std::size_t k = 0; k < rows.size(); ++k) group[k] = k;
    } else {
        group = shots && shots->size() == rows.size() ? *shots : shots_of(rows);
    }
    // Each group's date (from its first member that has one) and counter value.
    std::vector<RowDate> group_date;
    std::vector<std::size_t> group_first;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (group[k] == group_date.size()) {
            group_date.emplace_back();
            group_first.push_back(k);
        }
        if (!group_date[group[k]].time) group_date[group[k]] = row_date(rows[k], fields.date_source, *correction);
    }
    std::unique_ptr<NameEdits> edits = NameEdits::make(fields, error);
    if (!edits) return {{}, error};
    NameRuleResult result;
    result.rows.resize(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const RowDate& date = group_date[group[k]];
        NamedRow& named = result.rows[k];
        named.extension = fields.lower_extension ? ascii_lower(rows[k].extension) : rows[k].extension;
        if (parsed.uses_date && !date.time) {
            named.base = rows[k].base;
            named.note = NameNote::NoDate;
            continue;
        }
        const std::int64_t value = counter->start + counter->step * static_cast<std::int64_t>(group[k]);
        named.base = edits->apply(
            made_name(parsed, rows[group_first[group[k]]], date, counter_text(value, counter->digits), folder), error);
        if (!error.empty()) return {{}, error};
        if (parsed.uses_date && date.modified_instead) named.note = NameNote::ModifiedDate;
    }
    if (fields.number_clashes) number_clashes(result.rows, group, names_outside_batch);
    return result;
}

std::string folder_name(const std::string& directory) {
    std::string path = directory;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    if (path.size() == 2 && path[1] == ':') return path.substr(0, 1);
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::optional<platform::CivilTime> time_of_date_name(std::string_view d) {
    if (d.size() != 15 || d[8] != ' ') return std::nullopt;
    auto n = [&](std::size_t at, std::size_t len) { return whole_number(d.substr(at, len)); };
    auto y = n(0, 4), mo = n(4, 2), day = n(6, 2), h = n(9, 2), mi = n(11, 2), s = n(13, 2);
    if (!y || !mo || !day || !h || !mi || !s) return std::nullopt;
    const platform::CivilTime t{static_cast<int>(*y), static_cast<int>(*mo), static_cast<int>(*day),
                                static_cast<int>(*h), static_cast<int>(*mi), static_cast<int>(*s)};
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    return t;
}

}  // namespace naming
