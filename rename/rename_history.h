#pragma once

#include "filelist/progress.h"
#include "rename/rename_journal.h"
#include "rename/undo_steps.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace renaming {

// InProgress: a copy of the program is renaming its files or putting them back now.
enum class RunStatus { Done, Unfinished, Undone, PartlyUndone, Damaged, InProgress };

// Where a file of a run is now.
enum class FilePlace { UnderNewName, PutBack, Gone };

// A file a run renamed: its name before the run and the one the run gave it
// (a file moved to a temporary name on the way has two steps).
struct HistoryFile {
    std::string old_name;
    std::string new_name;
    std::vector<std::size_t> steps;  // in the order the run made them
    FilePlace place = FilePlace::Gone;
    filelist::RowOutcome undo;  // after 撤销所选: Undone, or UndoFailed and why
};

struct HistoryRun {
    std::string id;
    std::string time;
    std::string directory;
    std::size_t place = 0;  // which journal holds it
    RunStatus status = RunStatus::Damaged;
    std::size_t files_renamed = 0;
    bool ended = false;
    bool asked = false;
};

// The runs the journal holds, as the history window shows them: newest
// first, each with its status and how many files it renamed; the files of
// one run with where each is now; and the undo of a run from there. A run
// that did not end is read as far as it got: its recorded outcomes, and past
// the last one, where its files are now on the disk. Nothing is ever renamed
// from a run whose plan is damaged.
class RenameHistory {
public:
    explicit RenameHistory(RenameJournal& journal) : journal_(journal) {}

    // Reads the journals again.
    void load();
    const std::vector<HistoryRun>& runs() const { return runs_; }

    // The files run k renamed, looked up on the disk now.
    const std::vector<HistoryFile>& files(std::size_t run);

    // Run k's files back to their old names, in the reverse of the order they
    // were renamed in: each only when the very file is under its new name and
    // its old name is free. A run partly undone has the rest undone. Each
    // step's outcome is recorded in the journal and told to progress as it
    // comes, the run's steps counted as its rows; files() then holds each
    // file's outcome, and the run's status follows. Nothing happens to a run
    // another copy holds: it reads 进行中.
    void undo(std::size_t run, filelist::Progress& progress);

    // The newest run that did not end, that no copy holds and that no start
    // has asked about yet.
    std::optional<std::size_t> unasked_unfinished_run() const;
    void mark_asked(std::size_t run);

    // Empties the journals; the paths of those that could not be emptied,
    // whose runs stay listed.
    std::vector<std::string> clear();

private:
    struct Loaded {
        std::vector<JournalStep> steps;
        std::vector<StepOutcome> outcomes;  // as far as the run got, disk included
        std::vector<UndoOutcome> undos;
    };
    // The steps and outcomes of run k; nothing for a damaged plan.
    std::optional<Loaded> load_run(std::size_t run) const;
    void summarise(std::size_t run, const Loaded& loaded);

    RenameJournal& journal_;
    JournalContents contents_;
    std::vector<HistoryRun> runs_;
    std::vector<std::size_t> source_;  // runs_[k] is contents_.runs[source_[k]]
    std::optional<std::size_t> files_run_;
    std::vector<HistoryFile> files_;
};

}  // namespace renaming
