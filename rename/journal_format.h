#pragma once

#include "platform/file_identity.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rename journal as text: UTF-8 lines that a person can read in Notepad
// and use to put names back by hand, one rename a line. Every line but the
// comment at the top starts with its run's id, so that the runs of two copies
// of the program never mix:
//
//   R<id>  开始    2026-12-10 12:34:56  D:\photos\  (the directory, with its separator)
//   R<id>  1       p7.jpg  →  A007.jpg  <volume>:<index>:<size>:<write time>
//   R<id>  计划完  <steps>  <checksum of the lines above>
//   R<id>  1       成功            (or 失败; one line per rename, as it happens)
//   R<id>  结束
//   R<id>  1       已撤销          (or 撤销失败; an undo of that rename)
//   R<id>  已询问                  (the unfinished run was asked about at a start)
//
// Fields are separated by tabs; names are bare names in the run's directory.
namespace renaming {

// One rename of a run's plan, in the order the run makes them.
struct JournalStep {
    std::string from;
    std::string to;
    platform::FileIdentity file;  // the file renamed, which keeps its identity under any name
};

// What became of a step.
enum class StepOutcome : std::uint8_t { Unknown, Renamed, Failed };
enum class UndoOutcome : std::uint8_t { None, Undone, Failed };

// A run as the journal tells it, without its steps' names, which are read
// when they are needed (a journal may hold half a million of them).
struct JournalRun {
    std::string id;
    std::string time;       // "YYYY-MM-DD HH:MM:SS", local time
    std::string directory;  // ends in the path separator
    std::size_t step_count = 0;
    // The plan is whole: all its steps, its closing line and a matching
    // checksum. Whether its names stay in the run's directory is checked as
    // its steps are read (read_plan), before anything touches the disk.
    bool plan_whole = false;
    bool ended = false;                 // the run came to its end
    bool asked = false;                 // a start asked about it, being unfinished
    std::vector<StepOutcome> outcomes;  // one per step of a whole plan
    std::vector<UndoOutcome> undos;
    std::vector<bool> to_temporary;  // the step moves its file to a temporary name
    // Where the plan's step lines are in the journal text.
    std::size_t plan_offset = 0;
    std::size_t plan_length = 0;
};

// A name a run gives a file for a moment, to break a cycle of renames; a
// person reading the journal knows it by its start.
inline constexpr std::string_view kTemporaryNamePrefix = "~批量改名中~";
inline bool is_temporary_name(std::string_view name) {
    return name.substr(0, kTemporaryNamePrefix.size()) == kTemporaryNamePrefix;
}

// The text a new journal starts with.
std::string journal_header();

// A run's plan, flushed to disk before its first rename.
std::string plan_text(std::string_view id, std::string_view time, std::string_view directory,
                      const std::vector<JournalStep>& steps);
std::string outcome_line(std::string_view id, std::size_t step, bool renamed);
std::string end_line(std::string_view id);
std::string undo_line(std::string_view id, std::size_t step, bool undone);
std::string asked_line(std::string_view id);

// Every run the text holds, oldest first. Lines that cannot be read (cut
// short, garbage, not UTF-8) are passed over; a run whose plan is damaged is
// kept with plan_whole false. Never reads outside the text.
std::vector<JournalRun> scan_journal(std::string_view text);

// False when the text holds no run whose plan was closed and that neither
// ended nor was asked about: a look at the runs' own lines only, cheap enough
// for every start. True does not yet mean the plan is whole.
bool may_hold_unfinished_run(std::string_view text);

// The steps of a run whose plan is whole, read from the same text; nothing
// when they cannot be read after all, or when a name could reach outside the
// run's directory (a separator, "..", a drive, a device name).
std::optional<std::vector<JournalStep>> read_plan(std::string_view text, const JournalRun& run);

// The journal with its oldest runs dropped, every line of theirs, until it
// holds at most max_runs runs and max_bytes bytes (the newest run is always
// kept), and without lines that belong to no run; nothing when nothing needs
// to go.
std::optional<std::string> trimmed_journal(std::string_view text, std::size_t max_runs, std::size_t max_bytes);

}  // namespace renaming
