#include "rename/rename_run.h"

#include "rename/directory_snapshot.h"
#include "rename/exact_rename.h"
#include "rename/rename_plan.h"
#include "platform/pending_events.h"

#include <utility>

namespace renaming {

void RenameRun::confirm_rename(filelist::MainModel& model) {
    if (model.state.busy()) return;
    if (model.state.rule_confirmed != 1) {
        model.status.set_text("你没有设置文件名编号方式!");
        return;
    }
    rename_all(model, model.state.batch.row_count());
}

void RenameRun::rename_all(filelist::MainModel& model, std::size_t count) {
    if (model.state.busy()) return;
    filelist::ActivityScope running(model.state.activity, filelist::Activity::Renaming);

    filelist::Batch& rows = model.state.batch;
    const RenameBatch batch = take_rename_batch(rows, count);
    const std::vector<RenameStep> steps = plan_renames(batch);
    const std::uint64_t generation = rows.generation();
    auto show = [&](std::size_t row, const char* result) {
        // After "清空" or a new choice of files the rows belong to another batch.
        if (rows.generation() == generation) rows.set_result(row, result);
    };
    // Which file each name holds, from one listing: the run renames files
    // only, and keeps which file it renamed, for the undo.
    DirectorySnapshot disk = DirectorySnapshot::take(batch.directory);
    std::vector<Renamed> renamed;
    for (std::size_t row = 0; row < steps.size() && !platform::quit_requested(); ++row) {
        const RenameStep& step = steps[row];
        const char* result = "改名失败";
        if (step.action == RenameAction::NoChange) {
            result = "不需改名";
        } else if (step.action == RenameAction::Rename) {
            const std::string& old_name = batch.old_names[row];
            std::optional<platform::EntryIdentity> source = disk.find(old_name);
            if (!source) source = platform::entry_identity(step.old_path);  // put there since the listing
            if (source && !source->is_directory && rename_in_batch(step.old_path, step.target_path)) {
                result = "改名成功";
                std::string new_name = batch.new_names[row] + batch.extensions[row];
                disk.moved(old_name, new_name);
                renamed.push_back({row, old_name, std::move(new_name), source->identity});
            }
        }
        show(row, result);
        platform::process_pending_events();
    }
    // Every rename against the directory as it is now: a file the disk keeps
    // under another name goes back, and its row says it failed.
    std::vector<DoneRename> done;
    for (const Renamed& r : renamed) done.push_back({batch.directory + r.old_name, batch.directory + r.new_name});
    std::vector<std::size_t> altered = renames_kept_under_another_name(batch.directory, done);
    for (auto it = altered.rbegin(); it != altered.rend(); ++it) {
        show(renamed[*it].row, "改名失败");
        renamed.erase(renamed.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    // Kept however the run ends, so that what it did can be undone.
    if (!renamed.empty()) {
        last_run_ = std::move(renamed);
        last_run_generation_ = generation;
        last_run_directory_ = batch.directory;
    }
    if (platform::quit_requested()) return;
    model.status.set_text("改名处理结束,请查看!");
}

bool RenameRun::can_undo(const filelist::MainModel& model) const {
    return !model.state.busy() && !last_run_.empty() && last_run_generation_ == model.state.batch.generation();
}

void RenameRun::undo_last_run(filelist::MainModel& model) {
    if (!can_undo(model)) return;
    filelist::ActivityScope running(model.state.activity, filelist::Activity::Renaming);
    filelist::Batch& rows = model.state.batch;
    const std::vector<Renamed> undo = std::exchange(last_run_, {});
    const std::uint64_t generation = rows.generation();
    auto show = [&](std::size_t row, const char* result) {
        if (rows.generation() == generation) rows.set_result(row, result);
    };
    // Only the file the run renamed goes back: whatever else has been put
    // under its new name meanwhile, a directory or another file, stays.
    const std::string& directory = last_run_directory_;
    DirectorySnapshot disk = DirectorySnapshot::take(directory);
    std::vector<DoneRename> done;
    std::vector<std::size_t> done_rows;
    for (auto it = undo.rbegin(); it != undo.rend() && !platform::quit_requested(); ++it) {
        std::optional<platform::EntryIdentity> now = disk.find(it->new_name);
        bool back = now && !now->is_directory && platform::is_same_file(now->identity, it->file) &&
                    rename_in_batch(directory + it->new_name, directory + it->old_name);
        if (back) {
            disk.moved(it->new_name, it->old_name);
            done.push_back({directory + it->new_name, directory + it->old_name});
            done_rows.push_back(it->row);
        }
        show(it->row, back ? "已撤销" : "撤销失败");
        platform::process_pending_events();
    }
    for (std::size_t i : renames_kept_under_another_name(directory, done)) show(done_rows[i], "撤销失败");
    if (platform::quit_requested()) return;
    model.status.set_text("撤销处理结束,请查看!");
}

}  // namespace renaming
