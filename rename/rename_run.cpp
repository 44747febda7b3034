#include "rename/rename_run.h"

#include "platform/pending_events.h"
#include "rename/directory_snapshot.h"
#include "rename/exact_rename.h"
#include "rename/rename_journal.h"
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

void RenameRun::rename_all(filelist::MainModel& model, std::size_t count) {
    if (model.state.busy()) return;
    filelist::ActivityScope running(model.state.activity, filelist::Activity::Renaming);

    filelist::Batch& rows = model.state.batch;
    const RenameBatch batch = take_rename_batch(rows, count);
    const std::vector<RenameStep> plan = plan_renames(batch);

    // The renames the run will make, in the order it makes them, each with
    // the file it renames, from one listing: files only, and the undo moves
    // back only those very files.
    LastRun run;
    run.directory = batch.directory;
    run.generation = rows.generation();
    std::vector<std::optional<std::size_t>> step_of_row(plan.size());
    {
        DirectorySnapshot disk = DirectorySnapshot::take(batch.directory);
        for (std::size_t row = 0; row < plan.size(); ++row) {
            if (plan[row].action != RenameAction::Rename) continue;
            const std::string& old_name = batch.old_names[row];
            std::optional<platform::EntryIdentity> source = disk.find(old_name);
            if (!source) source = platform::entry_identity(plan[row].old_path);  // put there since the listing
            if (!source || source->is_directory) continue;
            step_of_row[row] = run.steps.size();
            run.steps.push_back({old_name, batch.new_names[row] + batch.extensions[row], source->identity});
            run.rows.push_back(row);
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

    for (std::size_t row = 0; row < plan.size() && !platform::quit_requested(); ++row) {
        const char* result = "改名失败";
        if (plan[row].action == RenameAction::NoChange) {
            result = "不需改名";
        } else if (step_of_row[row]) {
            const std::size_t k = *step_of_row[row];
            const bool renamed = rename_in_batch(plan[row].old_path, plan[row].target_path);
            done.to_undo[k] = renamed;
            record(k, renamed);
            if (renamed) result = "改名成功";
        }
        show_result(model, row, result);
        platform::process_pending_events();
    }
    // Every rename against the directory as it is now: a file the disk keeps
    // under another name goes back, and its row says it failed.
    std::vector<DoneRename> renamed;
    std::vector<std::size_t> renamed_steps;
    for (std::size_t k = 0; k < done.steps.size(); ++k) {
        if (!done.to_undo[k]) continue;
        renamed.push_back({done.directory + done.steps[k].from, done.directory + done.steps[k].to});
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
    std::vector<std::size_t> order;
    for (std::size_t k = run.steps.size(); k-- > 0;) {
        if (run.to_undo[k]) order.push_back(k);
    }
    // Once per run.
    std::fill(run.to_undo.begin(), run.to_undo.end(), false);
    undo_steps(run.directory, run.steps, order, [&](std::size_t k, UndoResult result) {
        const bool undone = result == UndoResult::Undone;
        if (journal_ && !run.id.empty()) journal_->record_undo(run.place, run.id, k, undone);
        show_result(model, run.rows[k], undone ? "已撤销" : "撤销失败");
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
    show_result(model, last_run_->rows[step], undone ? "已撤销" : "撤销失败");
}

}  // namespace renaming
