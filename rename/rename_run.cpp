#include "rename/rename_run.h"

#include "rename/directory_snapshot.h"
#include "rename/exact_rename.h"
#include "rename/rename_journal.h"
#include "rename/rename_order.h"
#include "rename/undo_steps.h"

#include <algorithm>
#include <utility>

namespace renaming {

using filelist::FailReason;
using filelist::Outcome;
using filelist::RowOutcome;

namespace {

constexpr std::size_t kNoStep = static_cast<std::size_t>(-1);

bool any_to_undo(const std::vector<bool>& to_undo) {
    return std::find(to_undo.begin(), to_undo.end(), true) != to_undo.end();
}

}  // namespace

// Everything one run works out and goes through, from its batch to the end
// of its check on the disk.
struct RenameRun::Work {
    const RenameBatch& batch;
    std::vector<RenameStep> plan;
    std::vector<platform::FileIdentity> file_of_row;
    std::vector<bool> movable;
    DirectorySnapshot disk;
    // What the run does row by row: a rename step, or a row that fails (or
    // needs nothing) without a try.
    struct Item {
        std::size_t row;
        std::size_t step = kNoStep;
    };
    std::vector<Item> agenda;
    std::vector<std::size_t> cycle_of_step;  // 0, or the cycle the step belongs to
    LastRun run;
    std::vector<std::size_t> last_step_of_row;
    std::vector<FailReason> row_failure;  // None while the row has not failed
    std::vector<bool> cycle_broken;

    explicit Work(const RenameBatch& rows) : batch(rows), plan(plan_renames(rows)) {}
    std::size_t rows() const { return plan.size(); }
};

RenameRun::RenameRun(RenameJournal& journal, GoOnWithoutJournal go_on_without_journal)
    : journal_(&journal), go_on_without_journal_(std::move(go_on_without_journal)) {}

RunEnd RenameRun::run(const RenameBatch& batch, bool by_dependencies, filelist::Progress& progress) {
    Work work(batch);
    identify_files(work);
    build_agenda(work, by_dependencies);
    if (!write_plan(work)) return RunEnd::NotStarted;
    // A run that renames nothing leaves the last one's undo as it was.
    std::optional<LastRun> previous = std::exchange(last_run_, std::move(work.run));
    rename_in_order(work, progress);
    check_on_disk(work, progress);
    if (journal_ && !last_run_->id.empty()) journal_->end_run();
    if (any_to_undo(last_run_->to_undo)) return RunEnd::Renamed;
    if (previous) last_run_ = std::move(previous);
    return RunEnd::RenamedNothing;
}

// Which file each row would rename, from one listing: files only, and the
// undo moves back only those very files.
void RenameRun::identify_files(Work& work) const {
    const std::size_t n = work.rows();
    std::vector<std::string> expected;
    for (std::size_t row = 0; row < n; ++row) {
        if (work.plan[row].action == RenameAction::Rename) expected.push_back(work.batch.old_names[row]);
    }
    work.disk = DirectorySnapshot::take(work.batch.directory, expected);
    work.file_of_row.assign(n, platform::FileIdentity{});
    work.movable.assign(n, false);
    for (std::size_t row = 0; row < n; ++row) {
        if (work.plan[row].action != RenameAction::Rename) continue;
        std::optional<platform::EntryIdentity> source = work.disk.find(work.batch.old_names[row]);
        if (!source) source = platform::entry_identity(work.plan[row].old_path);  // put there since the listing
        if (!source || source->is_directory) continue;
        work.movable[row] = true;
        work.file_of_row[row] = source->identity;
    }
}

// The renames in the order the run makes them, and what it does row by row:
// in table order, each row in turn; in dependency order, first the rows that
// fail without a try, then the renames.
void RenameRun::build_agenda(Work& work, bool by_dependencies) const {
    const std::size_t n = work.rows();
    const RenameBatch& batch = work.batch;
    work.run.directory = batch.directory;
    auto add_step = [&](std::size_t row, std::string from, std::string to, std::size_t cycle) {
        work.agenda.push_back({row, work.run.steps.size()});
        work.run.steps.push_back({std::move(from), std::move(to), work.file_of_row[row]});
        work.run.rows.push_back(row);
        work.cycle_of_step.push_back(cycle);
    };
    if (by_dependencies) {
        RenameOrder order = order_renames(batch, work.plan, work.movable, work.disk.names());
        std::vector<bool> renamed_row(n, false);
        for (const OrderedRename& r : order.renames) renamed_row[r.row] = true;
        for (std::size_t row = 0; row < n; ++row) {
            if (!renamed_row[row]) work.agenda.push_back({row});
        }
        for (OrderedRename& r : order.renames) add_step(r.row, std::move(r.from), std::move(r.to), r.cycle);
    } else {
        for (std::size_t row = 0; row < n; ++row) {
            if (work.movable[row]) {
                add_step(row, batch.old_names[row], batch.new_names[row] + batch.extensions[row], 0);
            } else {
                work.agenda.push_back({row});
            }
        }
    }
    work.run.to_undo.assign(work.run.steps.size(), false);
    work.last_step_of_row.assign(n, kNoStep);
    for (std::size_t k = 0; k < work.run.steps.size(); ++k) work.last_step_of_row[work.run.rows[k]] = k;
    work.row_failure.assign(n, FailReason::None);
    work.cycle_broken.assign(work.run.steps.size() + 1, false);
}

// Recorded, and on the disk, before the first rename; false when the run is
// not to start.
bool RenameRun::write_plan(Work& work) {
    if (!journal_ || work.run.steps.empty()) return true;
    if (journal_->begin_run(work.run.directory, work.run.steps)) {
        work.run.id = journal_->run_id();
        work.run.place = journal_->run_place();
        return true;
    }
    return go_on_without_journal_ && go_on_without_journal_();
}

void RenameRun::record(std::size_t step, bool renamed) {
    if (journal_ && !last_run_->id.empty()) journal_->record(step, renamed);
}

void RenameRun::rename_in_order(Work& work, filelist::Progress& progress) {
    LastRun& done = *last_run_;
    for (const Work::Item& item : work.agenda) {
        if (item.step == kNoStep) {
            const bool no_change = work.plan[item.row].action == RenameAction::NoChange;
            const RowOutcome outcome = no_change ? RowOutcome{Outcome::NoChange} : RowOutcome{Outcome::Failed, FailReason::NotTried};
            if (!progress.on_row(item.row, outcome)) return;
            continue;
        }
        const std::size_t k = item.step;
        const std::size_t cycle = work.cycle_of_step[k];
        const JournalStep& step = done.steps[k];
        const bool tried = cycle == 0 || !work.cycle_broken[cycle];
        const bool renamed = tried && rename_in_batch(done.directory + step.from, done.directory + step.to);
        done.to_undo[k] = renamed;
        record(k, renamed);
        if (!renamed) {
            work.row_failure[item.row] = tried ? FailReason::Refused : FailReason::CycleUndone;
            if (cycle != 0 && !work.cycle_broken[cycle]) roll_back_cycle(work, k, progress);
        }
        if (k != work.last_step_of_row[item.row]) {
            progress.on_step();
            continue;
        }
        const FailReason failure = work.row_failure[item.row];
        const RowOutcome outcome =
            failure == FailReason::None ? RowOutcome{Outcome::Renamed} : RowOutcome{Outcome::Failed, failure};
        if (!progress.on_row(item.row, outcome)) return;
    }
}

// A cycle that cannot be completed: its files go back to their old names, the
// one under a temporary name too.
void RenameRun::roll_back_cycle(Work& work, std::size_t failed_step, filelist::Progress& progress) {
    LastRun& done = *last_run_;
    const std::size_t cycle = work.cycle_of_step[failed_step];
    work.cycle_broken[cycle] = true;
    for (std::size_t j = failed_step; j-- > 0 && work.cycle_of_step[j] == cycle;) {
        if (!done.to_undo[j]) continue;
        if (rename_in_batch(done.directory + done.steps[j].to, done.directory + done.steps[j].from)) {
            done.to_undo[j] = false;
            record(j, false);
        }
        work.row_failure[done.rows[j]] = FailReason::CycleUndone;
        progress.on_row(done.rows[j], RowOutcome{Outcome::Failed, FailReason::CycleUndone});
    }
}

// Every rename against the directory as it is now: a file the disk keeps
// under another name goes back, and its row says it failed. Only each file's
// last rename says where it should be.
void RenameRun::check_on_disk(Work& work, filelist::Progress& progress) {
    LastRun& done = *last_run_;
    std::vector<DoneRename> renamed;
    std::vector<std::size_t> renamed_steps;
    for (std::size_t k = done.steps.size(); k-- > 0;) {
        if (!done.to_undo[k]) continue;
        const std::size_t last = work.last_step_of_row[done.rows[k]];
        if (last != k && done.to_undo[last]) continue;
        renamed.push_back({done.directory + done.steps[k].from, done.directory + done.steps[k].to, done.steps[k].file});
        renamed_steps.push_back(k);
    }
    for (std::size_t i : renames_kept_under_another_name(done.directory, renamed)) {
        const std::size_t k = renamed_steps[i];
        done.to_undo[k] = false;
        record(k, false);
        progress.on_row(done.rows[k], RowOutcome{Outcome::Failed, FailReason::KeptAnotherName});
    }
}

bool RenameRun::can_undo() const { return last_run_ && any_to_undo(last_run_->to_undo); }

void RenameRun::undo_last_run(filelist::Progress& progress) {
    if (!can_undo()) return;
    LastRun& run = *last_run_;
    // Another copy putting the same files back from its history goes first.
    platform::FileLock held;
    if (journal_ && !run.id.empty() && journal_->hold_run(run.place, run.id, held) == platform::FileAccess::Busy) return;
    std::vector<std::size_t> order;
    for (std::size_t k = run.steps.size(); k-- > 0;) {
        if (run.to_undo[k]) order.push_back(k);
    }
    // Once per run.
    std::fill(run.to_undo.begin(), run.to_undo.end(), false);
    undo_steps(run.directory, run.steps, order, [&](std::size_t k, const RowOutcome& outcome) {
        if (journal_ && !run.id.empty()) journal_->record_undo(run.place, run.id, k, outcome.kind == Outcome::Undone);
        return progress.on_row(run.rows[k], outcome);
    });
    if (journal_) journal_->flush_pending();
}

std::optional<std::size_t> RenameRun::undone_elsewhere(const std::string& run_id, std::size_t step) {
    if (!last_run_ || last_run_->id.empty() || last_run_->id != run_id || step >= last_run_->steps.size()) {
        return std::nullopt;
    }
    last_run_->to_undo[step] = false;
    return last_run_->rows[step];
}

}  // namespace renaming
