#pragma once

#include "filelist/progress.h"
#include "rename/journal_format.h"
#include "rename/rename_plan.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace renaming {

class RenameJournal;

// How a run ended, as a whole.
enum class RunEnd {
    NotStarted,      // no journal could be written, and the user chose not to go on
    RenamedNothing,  // the last run's undo stays as it was
    Renamed,         // its undo is now the one Ctrl+Z makes
};

// "确定改名" apart from any window: renames the files of a batch in their
// directory, each row's outcome told as it comes; and its undo, which brings
// the files of the last run back to their old names. Every run is recorded in
// the journal before its first rename. Rows are counted as in the batch the
// run was given.
class RenameRun {
public:
    // Asks whether to rename all the same when no journal can be written
    // ("无法保存改名记录，仍然改名吗？"); true for 是.
    using GoOnWithoutJournal = std::function<bool()>;

    // Without a journal, no run is recorded (the core's own tests).
    RenameRun() = default;
    RenameRun(RenameJournal& journal, GoOnWithoutJournal go_on_without_journal);

    // Renames the batch's files, top row first, and tells progress each
    // row's outcome. Files only: a row whose old name holds a directory, or
    // nothing, fails without a try. by_dependencies: in an order that frees
    // each target before it is taken (a shift needs no temporary name, a
    // cycle is broken with one; a cycle that cannot be completed puts its
    // files back under their old names). Every rename is checked on the disk
    // at the end. Stops between rows when progress says so.
    RunEnd run(const RenameBatch& batch, bool by_dependencies, filelist::Progress& progress);

    // The last run renamed files that are not put back yet.
    bool can_undo() const;

    // Renames every file the last run renamed back to its old name, bottom
    // row first, never replacing a file and moving only the very file the run
    // renamed; each such row is told Undone or UndoFailed. Once per run.
    // Nothing while another copy of the program puts the same run back.
    void undo_last_run(filelist::Progress& progress);

    // A step of a run undone elsewhere (the history): when that run is the
    // last one, Ctrl+Z leaves the step alone, and its row is given back.
    std::optional<std::size_t> undone_elsewhere(const std::string& run_id, std::size_t step);

private:
    struct LastRun {
        std::string id;         // in the journal; empty when not recorded
        std::size_t place = 0;  // which journal holds it
        std::string directory;
        std::vector<JournalStep> steps;
        std::vector<std::size_t> rows;  // the batch row of each step
        std::vector<bool> to_undo;      // renamed, and not undone yet
    };
    struct Work;
    void identify_files(Work& work) const;
    void build_agenda(Work& work, bool by_dependencies) const;
    bool write_plan(Work& work);
    void rename_in_order(Work& work, filelist::Progress& progress);
    void roll_back_cycle(Work& work, std::size_t failed_step, filelist::Progress& progress);
    void check_on_disk(Work& work, filelist::Progress& progress);
    void record(std::size_t step, bool renamed);

    RenameJournal* journal_ = nullptr;
    GoOnWithoutJournal go_on_without_journal_;
    std::optional<LastRun> last_run_;
};

}  // namespace renaming
