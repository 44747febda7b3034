#include "rename/journal_format.h"

#include "platform/path.h"
#include "rename/plain_file_name.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <unordered_map>

namespace renaming {
namespace {

constexpr std::string_view kStart = "开始";
constexpr std::string_view kPlanEnd = "计划完";
constexpr std::string_view kEnd = "结束";
constexpr std::string_view kAsked = "已询问";
constexpr std::string_view kRenamed = "成功";
constexpr std::string_view kFailed = "失败";
constexpr std::string_view kUndone = "已撤销";
constexpr std::string_view kUndoFailed = "撤销失败";
constexpr std::string_view kArrow = "→";
constexpr std::string_view kLineEnd = "\r\n";

// A 64-bit checksum of the plan's lines, eight bytes at a step: cheap for a
// plan of ten thousand lines, and enough to tell a plan that was cut or changed.
class PlanChecksum {
public:
    void add(std::string_view line) {
        std::size_t i = 0;
        for (; i + 8 <= line.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, line.data() + i, 8);
            mix(word);
        }
        std::uint64_t rest = 0;
        std::memcpy(&rest, line.data() + i, line.size() - i);
        // The line's length, and so its end, goes in too: the same whatever
        // line ends the text was saved with.
        mix(rest ^ (static_cast<std::uint64_t>(line.size()) << 56));
    }
    std::uint64_t value() const { return hash_; }

private:
    void mix(std::uint64_t word) {
        hash_ ^= word;
        hash_ *= 0x9E3779B97F4A7C15ULL;
        hash_ ^= hash_ >> 29;
    }
    std::uint64_t hash_ = 0xCBF29CE484222325ULL;
};

void append_hex(std::string& out, std::uint64_t value, int min_digits) {
    char digits[17];
    int n = 0;
    do {
        digits[n++] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    for (int i = n; i < min_digits; ++i) out += '0';
    while (n > 0) out += digits[--n];
}

std::string identity_text(const platform::FileIdentity& file) {
    std::string out;
    append_hex(out, file.volume, 8);
    out += ':';
    append_hex(out, file.index, 1);
    out += ':';
    out += std::to_string(file.size);
    out += ':';
    append_hex(out, file.write_time, 16);
    return out;
}

template <typename Number>
bool parse_number(std::string_view text, Number& value, int base = 10) {
    if (text.empty() || text.size() > 20) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<platform::FileIdentity> parse_identity(std::string_view text) {
    std::array<std::string_view, 4> parts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::size_t colon = i + 1 < parts.size() ? text.find(':') : text.size();
        if (colon == std::string_view::npos) return std::nullopt;
        parts[i] = text.substr(0, colon);
        text.remove_prefix(std::min(colon + 1, text.size()));
    }
    platform::FileIdentity file;
    if (!parse_number(parts[0], file.volume, 16) || !parse_number(parts[1], file.index, 16) ||
        !parse_number(parts[2], file.size) || !parse_number(parts[3], file.write_time, 16)) {
        return std::nullopt;
    }
    return file;
}

bool is_run_id(std::string_view id) {
    if (id.size() < 2 || id.size() > 48 || id[0] != 'R') return false;
    for (char c : id.substr(1)) {
        bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == '-';
        if (!ok) return false;
    }
    return true;
}

bool is_time(std::string_view time) {
    constexpr std::string_view kShape = "dddd-dd-dd dd:dd:dd";
    if (time.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < time.size(); ++i) {
        bool ok = kShape[i] == 'd' ? (time[i] >= '0' && time[i] <= '9') : time[i] == kShape[i];
        if (!ok) return false;
    }
    return true;
}

// A directory the journal may name: a full path as the picker spells it, with
// nothing in it that could lead elsewhere (no "..", no device path).
bool is_run_directory(std::string_view directory) {
    constexpr char sep = platform::kPathSeparator;
    if (directory.size() < 2 || directory.back() != sep) return false;
    std::string_view rest;
#ifdef _WIN32
    const bool drive = ((directory[0] >= 'A' && directory[0] <= 'Z') || (directory[0] >= 'a' && directory[0] <= 'z')) &&
                       directory.size() >= 3 && directory[1] == ':' && directory[2] == sep;
    const bool share = directory.size() > 2 && directory[0] == sep && directory[1] == sep;
    if (drive) {
        rest = directory.substr(3);
    } else if (share) {
        rest = directory.substr(2);  // server and share are plain names too; \\?\ and \\.\ are not
    } else {
        return false;
    }
#else
    if (directory[0] != sep) return false;
    rest = directory.substr(1);
#endif
    while (!rest.empty()) {
        std::size_t end = rest.find(sep);
        std::string_view part = rest.substr(0, end);
        if (!is_plain_file_name(part)) return false;
        rest.remove_prefix(end + 1);
    }
    return true;
}

// One line split at its tabs; more fields than a line of the journal has
// make it no line of the journal.
struct Fields {
    std::array<std::string_view, 6> at;
    std::size_t count = 0;
};

bool split_fields(std::string_view line, Fields& fields) {
    fields.count = 0;
    for (;;) {
        if (fields.count == fields.at.size()) return false;
        std::size_t tab = line.find('\t');
        fields.at[fields.count++] = line.substr(0, tab);
        if (tab == std::string_view::npos) return true;
        line.remove_prefix(tab + 1);
    }
}

// Calls on_line(line, offset) for each whole line (without its line end); a
// last line that the text cuts short is none.
template <typename OnLine>
void for_each_line(std::string_view text, OnLine on_line) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        std::size_t newline = text.find('\n', offset);
        if (newline == std::string_view::npos) return;
        std::string_view line = text.substr(offset, newline - offset);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        on_line(line, offset, newline + 1);
        offset = newline + 1;
    }
}

struct PlanReading {
    PlanChecksum checksum;
    bool open = true;
    bool damaged = false;
};

}  // namespace

std::string journal_header() {
    return "\xEF\xBB\xBF# 批量文件改名 改名记录：每行一个改名（原名称 → 新名称），按改名的先后；"
           "记录中写有文件夹和文件的名称。\r\n";
}

std::string plan_text(std::string_view id, std::string_view time, std::string_view directory,
                      const std::vector<JournalStep>& steps) {
    std::string out;
    PlanChecksum checksum;
    auto line = [&](std::string text) {
        checksum.add(text);
        out += text;
        out += kLineEnd;
    };
    line(std::string(id) + '\t' + std::string(kStart) + '\t' + std::string(time) + '\t' + std::string(directory));
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const JournalStep& step = steps[k];
        line(std::string(id) + '\t' + std::to_string(k + 1) + '\t' + step.from + '\t' + std::string(kArrow) + '\t' +
             step.to + '\t' + identity_text(step.file));
    }
    out += std::string(id) + '\t' + std::string(kPlanEnd) + '\t' + std::to_string(steps.size()) + '\t';
    append_hex(out, checksum.value(), 16);
    out += kLineEnd;
    return out;
}

std::string outcome_line(std::string_view id, std::size_t step, bool renamed) {
    return std::string(id) + '\t' + std::to_string(step + 1) + '\t' + std::string(renamed ? kRenamed : kFailed) +
           std::string(kLineEnd);
}

std::string end_line(std::string_view id) { return std::string(id) + '\t' + std::string(kEnd) + std::string(kLineEnd); }

std::string undo_line(std::string_view id, std::size_t step, bool undone) {
    return std::string(id) + '\t' + std::to_string(step + 1) + '\t' + std::string(undone ? kUndone : kUndoFailed) +
           std::string(kLineEnd);
}

std::string asked_line(std::string_view id) {
    return std::string(id) + '\t' + std::string(kAsked) + std::string(kLineEnd);
}

namespace {

// A step of a plan, or what became of a step (its outcome, its undo).
void read_numbered_line(std::string_view line, const Fields& f, std::size_t number, std::size_t next,
                        JournalRun& run, PlanReading& plan) {
    if (f.count == 6 && f.at[3] == kArrow) {
        if (!plan.open) return;  // a step after its plan was closed: no part of it
        plan.checksum.add(line);
        // The names and identities themselves are read, and checked, when the
        // run's files are needed (read_plan): a journal may hold half a
        // million of them, and the checksum already tells a plan that was cut
        // or changed.
        if (number != run.step_count + 1) plan.damaged = true;
        run.to_temporary.push_back(is_temporary_name(f.at[4]));
        run.step_count = number;
        run.plan_length = next - run.plan_offset;
        return;
    }
    if (f.count != 3 || !run.plan_whole || number == 0 || number > run.step_count) return;
    const std::string_view word = f.at[2];
    if (word == kRenamed || word == kFailed) {
        run.outcomes[number - 1] = word == kRenamed ? StepOutcome::Renamed : StepOutcome::Failed;
    } else if (word == kUndone || word == kUndoFailed) {
        run.undos[number - 1] = word == kUndone ? UndoOutcome::Undone : UndoOutcome::Failed;
    }
}

// The plan's closing line, the end, or the mark of a question asked.
void read_mark_line(const Fields& f, JournalRun& run, PlanReading& plan) {
    const std::string_view kind = f.at[1];
    if (kind == kPlanEnd && f.count == 4 && plan.open) {
        plan.open = false;
        std::size_t count = 0;
        std::uint64_t checksum = 0;
        run.plan_whole = !plan.damaged && parse_number(f.at[2], count) && count == run.step_count &&
                         parse_number(f.at[3], checksum, 16) && checksum == plan.checksum.value();
        if (run.plan_whole) {
            run.outcomes.assign(run.step_count, StepOutcome::Unknown);
            run.undos.assign(run.step_count, UndoOutcome::None);
        }
    } else if (kind == kEnd && f.count == 2) {
        run.ended = true;
    } else if (kind == kAsked && f.count == 2) {
        run.asked = true;
    }
}

// A run's first line, with its time and directory.
JournalRun start_run(std::string_view line, const Fields& f, std::size_t next, PlanReading& plan) {
    JournalRun run;
    run.id = std::string(f.at[0]);
    plan.checksum.add(line);
    if (f.count != 4 || !is_time(f.at[2]) || !is_run_directory(f.at[3])) {
        plan.damaged = true;
    } else {
        run.time = std::string(f.at[2]);
        run.directory = std::string(f.at[3]);
    }
    run.plan_offset = next;
    return run;
}

}  // namespace

std::vector<JournalRun> scan_journal(std::string_view text) {
    constexpr std::size_t kNoRun = static_cast<std::size_t>(-1);
    std::vector<JournalRun> runs;
    std::vector<PlanReading> plans;
    std::unordered_map<std::string_view, std::size_t> by_id;
    Fields f;
    std::size_t last = kNoRun;  // lines of one run come together: look it up once

    for_each_line(text, [&](std::string_view line, std::size_t, std::size_t next) {
        if (line.empty() || line[0] != 'R' || !split_fields(line, f) || f.count < 2 || !is_run_id(f.at[0])) return;
        if (last == kNoRun || runs[last].id != f.at[0]) {
            auto found = by_id.find(f.at[0]);
            last = found == by_id.end() ? kNoRun : found->second;
        }
        if (f.at[1] == kStart) {
            if (last != kNoRun) {  // a second plan under one id: neither is trusted
                plans[last].damaged = true;
                runs[last].plan_whole = false;
                return;
            }
            plans.emplace_back();
            runs.push_back(start_run(line, f, next, plans.back()));
            last = runs.size() - 1;
            by_id.emplace(f.at[0], last);  // a view into the text, which outlives the scan
            return;
        }
        if (last == kNoRun) return;
        std::size_t number = 0;
        if (parse_number(f.at[1], number)) {
            read_numbered_line(line, f, number, next, runs[last], plans[last]);
        } else {
            read_mark_line(f, runs[last], plans[last]);
        }
    });
    return runs;
}

bool may_hold_unfinished_run(std::string_view text) {
    // Per run: closed its plan, ended or was asked about.
    struct Seen {
        bool closed = false;
        bool settled = false;
    };
    std::unordered_map<std::string_view, Seen> runs;
    for_each_line(text, [&](std::string_view line, std::size_t, std::size_t) {
        std::size_t tab = line.find('\t');
        // Step and outcome lines, nearly all of them, go by at a glance.
        if (tab == std::string_view::npos || tab + 1 >= line.size() || (line[tab + 1] >= '0' && line[tab + 1] <= '9'))
            return;
        std::string_view id = line.substr(0, tab);
        std::string_view kind = line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1);
        if (kind == kPlanEnd) {
            runs[id].closed = true;
        } else if (kind == kEnd || kind == kAsked) {
            runs[id].settled = true;
        }
    });
    return std::any_of(runs.begin(), runs.end(),
                       [](const auto& run) { return run.second.closed && !run.second.settled; });
}

std::optional<std::vector<JournalStep>> read_plan(std::string_view text, const JournalRun& run) {
    if (!run.plan_whole || run.plan_offset > text.size() || run.plan_length > text.size() - run.plan_offset) {
        return std::nullopt;
    }
    std::vector<JournalStep> steps;
    steps.reserve(run.step_count);
    Fields f;
    bool ok = true;
    for_each_line(text.substr(run.plan_offset, run.plan_length), [&](std::string_view line, std::size_t, std::size_t) {
        if (!ok || !split_fields(line, f) || f.at[0] != run.id) return;
        if (f.count != 6 || f.at[3] != kArrow) return;
        std::optional<platform::FileIdentity> file = parse_identity(f.at[5]);
        if (!file || !is_plain_file_name(f.at[2]) || !is_plain_file_name(f.at[4])) {
            ok = false;
            return;
        }
        steps.push_back({std::string(f.at[2]), std::string(f.at[4]), *file});
    });
    if (!ok || steps.size() != run.step_count) return std::nullopt;
    return steps;
}

std::optional<std::string> trimmed_journal(std::string_view text, std::size_t max_runs, std::size_t max_bytes) {
    // Each line's run, and each run's share of the bytes.
    std::vector<std::string_view> order;  // run ids, oldest first
    std::unordered_map<std::string_view, std::size_t> bytes_of;
    for_each_line(text, [&](std::string_view line, std::size_t offset, std::size_t next) {
        std::string_view id = line.substr(0, line.find('\t'));
        if (!is_run_id(id)) return;
        auto [it, added] = bytes_of.emplace(id, 0);
        if (added) order.push_back(id);
        it->second += next - offset;
    });
    // Only what is kept counts: lines of no run go anyway.
    std::size_t total = journal_header().size();
    for (const auto& [id, bytes] : bytes_of) total += bytes;
    const bool holds_other_lines = text.size() > total;
    std::size_t drop = 0;
    while (drop + 1 < order.size() && (order.size() - drop > max_runs || total > max_bytes)) {
        total -= bytes_of[order[drop]];
        ++drop;
    }
    if (drop == 0 && !(holds_other_lines && text.size() > max_bytes)) return std::nullopt;
    std::unordered_map<std::string_view, bool> dropped;
    for (std::size_t i = 0; i < drop; ++i) dropped.emplace(order[i], true);

    std::string kept = journal_header();
    for_each_line(text, [&](std::string_view, std::size_t offset, std::size_t next) {
        std::string_view raw = text.substr(offset, next - offset);
        std::string_view id = raw.substr(0, raw.find('\t'));
        if (is_run_id(id) && !dropped.count(id)) kept += raw;
    });
    return kept;
}

}  // namespace renaming
