#pragma once

#include "filelist/main_model.h"
#include "rename/journal_format.h"
#include "rename/undo_steps.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace renaming {

class RenameJournal;

// "确定改名": renames the chosen files in their directory and writes one
// result per row; and its undo, which brings the files of the last run back
// to their old names. Every run is recorded in the journal before its first
// rename. Between rows the windows' pending events run, so the table shows
// each result at once and the buttons stay usable; a run and an undo are
// built so that nothing clicked meanwhile changes which files they touch,
// and neither starts while another long loop is under way.
class RenameRun {
public:
    // Asks whether to rename all the same when no journal can be written
    // ("无法保存改名记录，仍然改名吗？"); true for 是.
    using GoOnWithoutJournal = std::function<bool()>;

    // Without a journal, no run is recorded (the core's own tests).
    RenameRun() = default;
    RenameRun(RenameJournal& journal, GoOnWithoutJournal go_on_without_journal);

    // Starts the run when a numbering rule is confirmed; otherwise only says
    // so in the status line. Does nothing while a long loop is going on.
    void confirm_rename(filelist::MainModel& model);

    // Renames the first count files (fewer when the batch holds fewer), top
    // row first, then reports the end in the status line. Files only: a row
    // whose old name holds a directory, or nothing, fails without a try.
    // Stops between rows when the program is asked to end.
    void rename_all(filelist::MainModel& model, std::size_t count);

    // "按依赖顺序改名": the same batch, with the same results, check and status
    // line, in an order that frees each target before it is taken: a shift
    // needs no temporary name, a cycle (a swap) is broken with one; a cycle
    // that cannot be completed puts its files back under their old names.
    void rename_in_dependency_order(filelist::MainModel& model);

    // True when the table still shows the batch of a run that renamed files,
    // and no long loop is going on.
    bool can_undo(const filelist::MainModel& model) const;

    // Renames every file the last run renamed back to its old name, bottom
    // row first, never replacing a file and moving only the very file the run
    // renamed; each such row reads 已撤销 or 撤销失败. Once per run.
    void undo_last_run(filelist::MainModel& model);

    // Steps of a run undone elsewhere (the history): when the table still
    // shows that run's rows, they read the results, and Ctrl+Z leaves the
    // steps alone.
    void undone_elsewhere(filelist::MainModel& model, const std::string& run_id, std::size_t step, bool undone);

private:
    void run(filelist::MainModel& model, std::size_t count, bool by_dependencies);

    struct LastRun {
        std::string id;         // in the journal; empty when not recorded
        std::size_t place = 0;  // which journal holds it
        std::string directory;
        std::vector<JournalStep> steps;
        std::vector<std::size_t> rows;       // the table row of each step, while the run lasts
        std::vector<std::uint32_t> row_ids;  // and the row's id, which follows it when the table is sorted
        std::vector<bool> to_undo;           // renamed, and not undone yet
        std::uint64_t generation = 0;
    };
    void show_result(filelist::MainModel& model, std::size_t row, const char* result) const;
    void show_step_result(filelist::MainModel& model, std::size_t step, const char* result) const;

    RenameJournal* journal_ = nullptr;
    GoOnWithoutJournal go_on_without_journal_;
    std::optional<LastRun> last_run_;
};

}  // namespace renaming
