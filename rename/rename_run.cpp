#include "rename/rename_run.h"

#include "platform/pending_events.h"
#include "rename/directory_snapshot.h"
#include "rename/exact_rename.h"
#include "rename/rename_journal.h"
#include "rename/rename_order.h"
#include "rename/rename_plan.h"

#include <algorithm>
#include <utility>

namespace renaming {

RenameRun::RenameRun(RenameJournal& journal, GoOnWithoutJournal go_on_without_journal)
    : journal_(&journal), go_on_without_journal_(std::move(go_on_without_journal)) {}

void RenameRun::confirm_rename(filelist::MainModel& model) {
    if (model.state.busy()) return;
    if (model.state.rule_confirmed != 1) {
        model.status.set_text("你没有设置文件名编号方式!");
        return;
    }
    rename_all(model, model.state.batch.row_count());
}

void RenameRun::show_result(filelist::MainModel& model, std::size_t row, const char* result) const {
    // After "清空" or a new choice of files the rows belong to another batch.
    if (last_run_ && model.state.batch.generation() == last_run_->generation) model.state.batch.set_result(row, result);
}

// The table may have been sorted since the run: the result goes to the row
// that holds the step's file now.
void RenameRun::show_step_result(filelist::MainModel& model, std::size_t step, const char* result) const {
    if (!last_run_ || step >= last_run_->row_ids.size()) return;
    if (auto row = model.state.batch.row_of(last_run_->row_ids[step])) show_result(model, *row, result);
}

void RenameRun::rename_all(filelist::MainModel& model, std::size_t count) { run(model, count, false); }

void RenameRun::rename_in_dependency_order(filelist::MainModel& model) {
    if (model.state.busy()) return;
    if (model.state.rule_confirmed != 1) {
        model.status.set_text("你没有设置文件名编号方式!");
        return;
    }
    run(model, model.state.batch.row_count(), true);
}

void RenameRun::run(filelist::MainModel& model, std::size_t count, bool by_dependencies) {
    if (model.state.busy()) return;
    filelist::ActivityScope running(model.state.activity, filelist::Activity::Renaming);

    filelist::Batch& rows = model.state.batch;
    const RenameBatch batch = take_rename_batch(rows, count);
    const std::vector<RenameStep> plan = plan_renames(batch);
    const std::size_t n = plan.size();

    // Which file each row would rename, from one listing: files only, and
    // the undo moves back only those very files.
    DirectorySnapshot disk = DirectorySnapshot::take(batch.directory);
    std::vector<platform::FileIdentity> file_of_row(n);
    std::vector<bool> movable(n, false);
    for (std::size_t row = 0; row < n; ++row) {
        if (plan[row].action != RenameAction::Rename) continue;
        std::optional<platform::EntryIdentity> source = disk.find(batch.old_names[row]);
        if (!source) source = platform::entry_identity(plan[row].old_path);  // put there since the listing
        if (!source || source->is_directory) continue;
        movable[row] = true;
        file_of_row[row] = source->identity;
    }

    // The renames in the order the run makes them, and what it does row by
    // row: in table order, each row in turn; in dependency order, first the
    // rows that fail without a try, then the renames.
    struct Item {
        std::size_t row;
        std::optional<std::size_t> step;
    };
    std::vector<Item> agenda;
    std::vector<std::size_t> cycle_of_step;
    LastRun run;
    run.directory = batch.directory;
    run.generation = rows.generation();
    auto add_step = [&](std::size_t row, std::string from, std::string to, std::size_t cycle) {
        agenda.push_back({row, run.steps.size()});
        run.steps.push_back({std::move(from), std::move(to), file_of_row[row]});
        run.rows.push_back(row);
        run.row_ids.push_back(rows.row_id(row));
        cycle_of_step.push_back(cycle);
    };
    if (by_dependencies) {
        RenameOrder order = order_renames(batch, plan, movable, disk.names());
        std::vector<bool> renamed_row(n, false);
        for (const OrderedRename& r : order.renames) renamed_row[r.row] = true;
        for (std::size_t row = 0; row < n; ++row) {
            if (!renamed_row[row]) agenda.push_back({row, std::nullopt});
        }
        for (OrderedRename& r : order.renames) add_step(r.row, std::move(r.from), std::move(r.to), r.cycle);
    } else {
        for (std::size_t row = 0; row < n; ++row) {
            if (movable[row]) {
                add_step(row, batch.old_names[row], batch.new_names[row] + batch.extensions[row], 0);
            } else {
                agenda.push_back({row, std::nullopt});
            }
        }
    }
    // Recorded, and on the disk, before the first rename.
    if (journal_ && !run.steps.empty()) {
        if (journal_->begin_run(run.directory, run.steps)) {
            run.id = journal_->run_id();
            run.place = journal_->run_place();
        } else if (!go_on_without_journal_ || !go_on_without_journal_()) {
            return;
        }
    }
    run.to_undo.assign(run.steps.size(), false);
    // A run that renames nothing leaves the last one's undo as it was.
    std::optional<LastRun> previous = std::exchange(last_run_, std::move(run));
    LastRun& done = *last_run_;
    auto record = [&](std::size_t step, bool renamed) {
        if (journal_ && !done.id.empty()) journal_->record(step, renamed);
    };
    std::vector<std::size_t> last_step_of_row(n, static_cast<std::size_t>(-1));
    for (std::size_t k = 0; k < done.steps.size(); ++k) last_step_of_row[done.rows[k]] = k;
    std::vector<bool> row_failed(n, false), cycle_broken(done.steps.size() + 1, false);

    for (const Item& item : agenda) {
        if (platform::quit_requested()) break;
        if (!item.step) {
            show_result(model, item.row, plan[item.row].action == RenameAction::NoChange ? "不需改名" : "改名失败");
            platform::process_pending_events();
            continue;
        }
        const std::size_t k = *item.step;
        const std::size_t cycle = cycle_of_step[k];
        const JournalStep& step = done.steps[k];
        bool renamed = false;
        if (cycle == 0 || !cycle_broken[cycle]) {
            renamed = rename_in_batch(done.directory + step.from, done.directory + step.to);
        }
        done.to_undo[k] = renamed;
        record(k, renamed);
        if (!renamed) {
            row_failed[item.row] = true;
            if (cycle != 0 && !cycle_broken[cycle]) {
                // A cycle that cannot be completed: its files go back to their
                // old names, the one under a temporary name too.
                cycle_broken[cycle] = true;
                for (std::size_t j = k; j-- > 0 && cycle_of_step[j] == cycle;) {
                    if (!done.to_undo[j]) continue;
                    if (rename_in_batch(done.directory + done.steps[j].to, done.directory + done.steps[j].from)) {
                        done.to_undo[j] = false;
                        record(j, false);
                    }
                    row_failed[done.rows[j]] = true;
                    show_result(model, done.rows[j], "改名失败");
                }
            }
        }
        if (k == last_step_of_row[item.row])
            show_result(model, item.row, row_failed[item.row] ? "改名失败" : "改名成功");
        platform::process_pending_events();
    }
    // Every rename against the directory as it is now: a file the disk keeps
    // under another name goes back, and its row says it failed. Only each
    // file's last rename says where it should be.
    std::vector<DoneRename> renamed;
    std::vector<std::size_t> renamed_steps;
    for (std::size_t k = done.steps.size(); k-- > 0;) {
        if (!done.to_undo[k]) continue;
        const std::size_t row = done.rows[k];
        if (last_step_of_row[row] != k && done.to_undo[last_step_of_row[row]]) continue;
        renamed.push_back({done.directory + done.steps[k].from, done.directory + done.steps[k].to, done.steps[k].file});
        renamed_steps.push_back(k);
    }
    for (std::size_t i : renames_kept_under_another_name(done.directory, renamed)) {
        const std::size_t k = renamed_steps[i];
        done.to_undo[k] = false;
        record(k, false);
        show_result(model, done.rows[k], "改名失败");
    }
    if (journal_ && !done.id.empty()) journal_->end_run();
    if (std::find(done.to_undo.begin(), done.to_undo.end(), true) == done.to_undo.end() && previous) {
        last_run_ = std::move(previous);
    }
    if (platform::quit_requested()) return;
    model.status.set_text("改名处理结束,请查看!");
}

bool RenameRun::can_undo(const filelist::MainModel& model) const {
    return !model.state.busy() && last_run_ && last_run_->generation == model.state.batch.generation() &&
           std::find(last_run_->to_undo.begin(), last_run_->to_undo.end(), true) != last_run_->to_undo.end();
}

void RenameRun::undo_last_run(filelist::MainModel& model) {
    if (!can_undo(model)) return;
    filelist::ActivityScope running(model.state.activity, filelist::Activity::Renaming);
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
    undo_steps(run.directory, run.steps, order, [&](std::size_t k, UndoResult result) {
        const bool undone = result == UndoResult::Undone;
        if (journal_ && !run.id.empty()) journal_->record_undo(run.place, run.id, k, undone);
        show_step_result(model, k, undone ? "已撤销" : "撤销失败");
        platform::process_pending_events();
        return !platform::quit_requested();
    });
    if (journal_) journal_->flush_pending();
    if (platform::quit_requested()) return;
    model.status.set_text("撤销处理结束,请查看!");
}

void RenameRun::undone_elsewhere(filelist::MainModel& model, const std::string& run_id, std::size_t step, bool undone) {
    if (!last_run_ || last_run_->id.empty() || last_run_->id != run_id || step >= last_run_->steps.size()) return;
    last_run_->to_undo[step] = false;
    show_step_result(model, step, undone ? "已撤销" : "撤销失败");
}

}  // namespace renaming
