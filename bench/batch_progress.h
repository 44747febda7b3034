#pragma once

#include "filelist/main_model.h"
#include "filelist/progress.h"
#include "platform/pending_events.h"
#include "rename/rename_run.h"

// The rename run as the main window drives it: each row's outcome into the
// batch, window events run between rows, the status line at the end.
namespace bench {

class BatchProgress final : public filelist::Progress {
public:
    explicit BatchProgress(filelist::Batch& batch) : batch_(batch) {}
    void on_step() override { platform::process_pending_events(); }
    bool on_row(std::size_t row, const filelist::RowOutcome& outcome) override {
        if (outcome.kind != filelist::Outcome::None) batch_.set_result(row, outcome);
        platform::process_pending_events();
        return true;
    }

private:
    filelist::Batch& batch_;
};

inline void rename_rows(renaming::RenameRun& run, filelist::MainModel& model, bool by_dependencies = false) {
    BatchProgress progress(model.state.batch);
    const filelist::Batch& batch = model.state.batch;
    run.run(renaming::take_rename_batch(batch, batch.row_count()), by_dependencies, progress);
    model.status.set_text("改名处理结束,请查看!");
}

}  // namespace bench
