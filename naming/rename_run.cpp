#include "naming/rename_run.h"
#include "naming/rename_plan.h"
#include "platform/file_rename.h"
#include "platform/pending_events.h"

#include <cstdint>

namespace naming {

namespace {

const char* result_text(const RenameStep& step) {
    switch (step.action) {
        case RenameAction::NoChange:
            return "不需改名";
        case RenameAction::Rename:
            return platform::rename_file_no_replace(step.old_path, step.target_path) ? "改名成功" : "改名失败";
        case RenameAction::Refused:
            break;
    }
    return "改名失败";
}

// Marks a run as going on for as long as it lives, also when it ends early.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace

void RenameRun::confirm_rename(filelist::MainModel& model) {
    if (running_) return;
    if (model.state.rule_confirmed != 1) {
        model.status.set_text("你没有设置文件名编号方式!");
        return;
    }
    rename_all(model, model.state.file_names.size());
}

void RenameRun::rename_all(filelist::MainModel& model, std::size_t count) {
    if (running_) return;
    RunningFlag running(running_);

    const std::vector<RenameStep> steps = plan_renames(take_rename_batch(model.state, model.table, count));
    const std::uint64_t generation = model.table.generation();
    for (std::size_t row = 0; row < steps.size(); ++row) {
        if (platform::quit_requested()) return;
        const char* result = result_text(steps[row]);
        // After "清空" or a new choice of files the rows belong to another batch.
        if (model.table.generation() == generation) model.table.set_cell(row, filelist::FileTable::kResult, result);
        platform::process_pending_events();
    }
    if (platform::quit_requested()) return;
    model.status.set_text("改名处理结束,请查看!");
}

}  // namespace naming
