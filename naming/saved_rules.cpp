#include "naming/saved_rules.h"

#include "platform/file_times.h"
#include "platform/path.h"
#include "platform/program_directory.h"
#include "platform/shared_file.h"

#include <algorithm>
#include <array>
#include <functional>

namespace naming {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 'n' ? '\n' : (next == 'r' ? '\r' : next);
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string flag(bool on) { return on ? "1" : "0"; }

// Each field by its key: how it is written and read back.
struct FieldIo {
    const char* key;
    std::function<std::string(const NameRuleFields&)> write;
    std::function<void(NameRuleFields&, const std::string&)> read;
};

const std::vector<FieldIo>& field_ios() {
    static const std::vector<FieldIo> ios = {
        {"模板", [](const auto& f) { return f.template_text; }, [](auto& f, const auto& v) { f.template_text = v; }},
        {"起始", [](const auto& f) { return f.counter_start; }, [](auto& f, const auto& v) { f.counter_start = v; }},
        {"步长", [](const auto& f) { return f.counter_step; }, [](auto& f, const auto& v) { f.counter_step = v; }},
        {"位数", [](const auto& f) { return f.counter_digits; }, [](auto& f, const auto& v) { f.counter_digits = v; }},
        {"日期来源", [](const auto& f) { return std::to_string(static_cast<int>(f.date_source)); },
         [](auto& f, const auto& v) {
             f.date_source =
                 v == "1" ? DateSource::Modified : (v == "2" ? DateSource::CaptureElseModified : DateSource::Capture);
         }},
        {"时间校正", [](const auto& f) { return f.clock_correction; },
         [](auto& f, const auto& v) { f.clock_correction = v; }},
        {"查找", [](const auto& f) { return f.find_text; }, [](auto& f, const auto& v) { f.find_text = v; }},
        {"替换为", [](const auto& f) { return f.replace_text; }, [](auto& f, const auto& v) { f.replace_text = v; }},
        {"区分大小写", [](const auto& f) { return flag(f.match_case); },
         [](auto& f, const auto& v) { f.match_case = v == "1"; }},
        {"正则表达式", [](const auto& f) { return flag(f.use_regex); },
         [](auto& f, const auto& v) { f.use_regex = v == "1"; }},
        {"大小写", [](const auto& f) { return std::to_string(static_cast<int>(f.letter_case)); },
         [](auto& f, const auto& v) {
             f.letter_case = v == "1" ? LetterCase::Lower
                                      : (v == "2" ? LetterCase::Upper
                                                  : (v == "3" ? LetterCase::Capitalized : LetterCase::Unchanged));
         }},
        {"后缀名小写", [](const auto& f) { return flag(f.lower_extension); },
         [](auto& f, const auto& v) { f.lower_extension = v == "1"; }},
        {"同名时加序号", [](const auto& f) { return flag(f.number_clashes); },
         [](auto& f, const auto& v) { f.number_clashes = v == "1"; }},
        {"同名不同后缀视为一组", [](const auto& f) { return flag(f.group_pairs); },
         [](auto& f, const auto& v) { f.group_pairs = v == "1"; }},
    };
    return ios;
}

}  // namespace

bool SavedRules::load() {
    rules_.clear();
    std::string text;
    if (platform::read_file(path_, text) != platform::FileAccess::Done) {
        return !platform::last_write_time(path_).has_value();  // no file yet: no rules
    }
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            rules_.emplace_back(unescaped(line.substr(1, line.size() - 2)), NameRuleFields{});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (rules_.empty() || equals == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, equals);
        for (const FieldIo& io : field_ios()) {
            if (key == io.key) io.read(rules_.back().second, unescaped(line.substr(equals + 1)));
        }
    }
    return true;
}

std::vector<std::string> SavedRules::names() const {
    std::vector<std::string> names;
    for (const auto& rule : rules_) names.push_back(rule.first);
    return names;
}

std::optional<NameRuleFields> SavedRules::find(const std::string& name) const {
    for (const auto& rule : rules_) {
        if (rule.first == name) return rule.second;
    }
    return std::nullopt;
}

bool SavedRules::save(const std::string& name, const NameRuleFields& fields) {
    auto rules = rules_;
    auto same = std::find_if(rules.begin(), rules.end(), [&](const auto& rule) { return rule.first == name; });
    if (same != rules.end()) {
        same->second = fields;
    } else {
        rules.emplace_back(name, fields);
    }
    if (!write(rules)) return false;
    rules_ = std::move(rules);
    return true;
}

bool SavedRules::remove(const std::string& name) {
    auto rules = rules_;
    rules.erase(std::remove_if(rules.begin(), rules.end(), [&](const auto& rule) { return rule.first == name; }),
                rules.end());
    if (!write(rules)) return false;
    rules_ = std::move(rules);
    return true;
}

bool SavedRules::write(const std::vector<std::pair<std::string, NameRuleFields>>& rules) const {
    std::string text;
    for (const auto& [name, fields] : rules) {
        text.append("[").append(escaped(name)).append("]\r\n");
        for (const FieldIo& io : field_ios())
            text.append(io.key).append("=").append(escaped(io.write(fields))).append("\r\n");
    }
    // Written whole beside it first: a program killed meanwhile leaves the old file.
    const std::string staging = path_ + ".new";
    return platform::write_flushed_file(staging, text) && platform::replace_file(staging, path_);
}

std::string default_saved_rules_path() {
    return platform::program_directory() + platform::kPathSeparator + "命名规则.txt";
}

}  // namespace naming
