#include "platform/ini_text.h"

#include <cstddef>
#include <vector>

namespace platform::ini_text {
namespace {

struct Line {
    std::string_view body;  // without its line break
    std::size_t begin = 0;  // offset of body in the text
    std::size_t end = 0;    // offset just past the line break
};

std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::size_t body_end = nl == std::string_view::npos ? text.size() : nl;
        if (body_end > pos && text[body_end - 1] == '\r') --body_end;
        lines.push_back({text.substr(pos, body_end - pos), pos, next});
        pos = next;
    }
    return lines;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    }
    return true;
}

// The name of a "[section]" line, or nothing for any other line.
std::optional<std::string_view> section_of(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    std::size_t close = line.find(']');
    return close == std::string_view::npos ? line : line.substr(0, close);
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> key_of(std::string_view line) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
    return value;
}

std::string_view line_break_of(std::string_view text) {
    return text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
}

}  // namespace

std::optional<std::string> find_value(std::string_view text, std::string_view section, std::string_view key) {
    bool in_section = false;
    for (const Line& line : split_lines(text)) {
        if (auto name = section_of(line.body)) {
            in_section = same_name(*name, section);
            continue;
        }
        if (!in_section) continue;
        if (auto kv = key_of(line.body); kv && same_name(kv->key, key)) return std::string(unquoted(kv->value));
    }
    return std::nullopt;
}

std::string with_value(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value) {
    const std::string_view br = line_break_of(text);
    std::string key_line = std::string(key) + "=" + std::string(value);

    bool in_section = false;
    bool section_seen = false;
    std::size_t insert_at = std::string_view::npos;  // after the last non-blank line of the section
    for (const Line& line : split_lines(text)) {
        if (auto name = section_of(line.body)) {
            if (in_section) break;  // the section ended without the key
            in_section = !section_seen && same_name(*name, section);
            if (in_section) {
                section_seen = true;
                insert_at = line.end;
            }
            continue;
        }
        if (!in_section) continue;
        if (auto kv = key_of(line.body); kv && same_name(kv->key, key)) {
            std::string out(text.substr(0, line.begin));
            out += key_line;
            out += text.substr(line.begin + line.body.size());
            return out;
        }
        if (!trim(line.body).empty()) insert_at = line.end;
    }

    std::string out;
    if (section_seen) {
        out.assign(text.substr(0, insert_at));
        if (!out.empty() && out.back() != '\n') out += br;
        out += key_line;
        out += br;
        out += text.substr(insert_at);
        return out;
    }
    out.assign(text);
    if (!out.empty() && out.back() != '\n') out += br;
    out += "[";
    out += section;
    out += "]";
    out += br;
    out += key_line;
    out += br;
    return out;
}

}  // namespace platform::ini_text
