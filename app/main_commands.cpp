#include "app/main_commands.h"

#include "app/lifecycle.h"
#include "app/row_texts.h"
#include "app/settings.h"
#include "app/window_progress.h"
#include "platform/pending_events.h"

#include <utility>

namespace app {
namespace {

// And each row's outcome shows in the table, at the row that holds its file
// now, while the table still shows the batch the loop was given.
class TableProgress final : public WindowProgress {
public:
    TableProgress(filelist::Batch& batch, std::uint64_t generation, const std::vector<std::uint32_t>& row_ids)
        : batch_(batch), generation_(generation), row_ids_(row_ids) {}

    bool on_row(std::size_t row, const filelist::RowOutcome& outcome) override {
        show(row, outcome);
        return WindowProgress::on_row(row, outcome);
    }
    void show(std::size_t row, const filelist::RowOutcome& outcome) {
        if (batch_.generation() != generation_ || row >= row_ids_.size()) return;
        if (std::optional<std::size_t> now = batch_.row_of(row_ids_[row])) batch_.set_result(*now, outcome);
    }

private:
    filelist::Batch& batch_;
    std::uint64_t generation_;
    const std::vector<std::uint32_t>& row_ids_;
};

}  // namespace

MainCommands::MainCommands(filelist::MainModel& model, Notices notices, std::vector<std::string> journal_paths)
    : model_(model),
      notices_(std::move(notices)),
      journal_(std::move(journal_paths)),
      rename_run_(journal_, [this] { return notices_.go_on_without_journal && notices_.go_on_without_journal(); }) {
    model_.state.last_directory.set_store([this](const std::string& directory) {
        if (!save_settings(directory)) tell_failed_save_once();
    });
    model_.state.batch.add_observer(this);
}

MainCommands::~MainCommands() { model_.state.batch.remove_observer(this); }

void MainCommands::rows_replaced(std::size_t) { mark_again(); }

void MainCommands::mark_again() {
    WindowProgress progress;
    conflict_marks_.take_listing(model_.state.batch, progress);
    conflict_marks_.mark(model_.state);
}

void MainCommands::tell_failed_save_once() {
    if (failed_save_told_) return;
    failed_save_told_ = true;
    if (notices_.tell_failed_save) notices_.tell_failed_save();
}

void MainCommands::start_up() { app::start_up(model_.state, library_); }

void MainCommands::shut_down() {
    if (!app::shut_down(model_.state, namer_, library_)) tell_failed_save_once();
}

void MainCommands::rename_files() { rename(false); }

bool MainCommands::can_rename_in_dependency_order() const {
    return model_.state.rule_confirmed == 1 && !model_.state.busy();
}

void MainCommands::rename_in_dependency_order() {
    if (can_rename_in_dependency_order()) rename(true);
}

MainCommands::RunRows MainCommands::rows_now(std::size_t count) const {
    const filelist::Batch& batch = model_.state.batch;
    RunRows rows{batch.generation(), {}};
    rows.ids.reserve(count);
    for (std::size_t row = 0; row < count; ++row) rows.ids.push_back(batch.row_id(row));
    return rows;
}

void MainCommands::rename(bool by_dependencies) {
    // Names half built would be renamed to: the run waits for the builder.
    if (model_.state.busy()) return;
    if (model_.state.rule_confirmed != 1) {
        model_.status.set_text(kNoRuleStatus);  // the marks stand
        return;
    }
    filelist::Batch& batch = model_.state.batch;
    RunRows rows = rows_now(batch.row_count());
    renaming::RunEnd end = renaming::RunEnd::NotStarted;
    TableProgress progress(batch, rows.generation, rows.ids);
    {
        filelist::ActivityScope running(model_.state.activity, filelist::Activity::Renaming);
        end = rename_run_.run(renaming::take_rename_batch(batch, batch.row_count()), by_dependencies, progress);
    }
    if (end == renaming::RunEnd::Renamed) last_run_rows_ = std::move(rows);
    mark_again();
    if (end != renaming::RunEnd::NotStarted && !progress.stopped()) model_.status.set_text(kRenameEndedStatus);
}

bool MainCommands::can_undo() const {
    return !model_.state.busy() && last_run_rows_ && last_run_rows_->generation == model_.state.batch.generation() &&
           rename_run_.can_undo();
}

void MainCommands::undo_last_run() {
    if (!can_undo()) return;
    TableProgress progress(model_.state.batch, last_run_rows_->generation, last_run_rows_->ids);
    {
        filelist::ActivityScope running(model_.state.activity, filelist::Activity::Renaming);
        rename_run_.undo_last_run(progress);
    }
    mark_again();
    if (!progress.stopped()) model_.status.set_text(kUndoEndedStatus);
}

void MainCommands::undo_from_history(renaming::RenameHistory& history, std::size_t run) {
    if (model_.state.busy() || run >= history.runs().size()) return;
    // The history counts the run's steps as its rows; those of the run Ctrl+Z
    // would undo are shown at their rows in the table.
    class HistoryProgress final : public WindowProgress {
    public:
        HistoryProgress(MainCommands& commands, std::string run_id) : commands_(commands), run_id_(std::move(run_id)) {}
        bool on_row(std::size_t step, const filelist::RowOutcome& outcome) override {
            std::optional<std::size_t> row = commands_.rename_run_.undone_elsewhere(run_id_, step);
            const std::optional<RunRows>& rows = commands_.last_run_rows_;
            if (row && rows)
                TableProgress(commands_.model_.state.batch, rows->generation, rows->ids).show(*row, outcome);
            return WindowProgress::on_row(step, outcome);
        }

    private:
        MainCommands& commands_;
        std::string run_id_;
    } progress(*this, history.runs()[run].id);
    {
        filelist::ActivityScope undoing(model_.state.activity, filelist::Activity::Renaming);
        history.undo(run, progress);
    }
    mark_again();
}

void MainCommands::build_capture_date_names(const naming::ImageLoadFailureNotice& notify_load_failure) {
    WindowProgress progress;
    // The listing that follows the names is read meanwhile.
    conflict_marks_.list_ahead(model_.state.batch);
    namer_.build_capture_date_names(model_.state.batch, notify_load_failure, progress);
    progress.on_step();
}

// The numbering window's "确定" lists the directory again: the user may have
// changed it since the rows were chosen.
void MainCommands::names_built() { mark_again(); }

void MainCommands::cells_edited() { conflict_marks_.mark(model_.state); }

void MainCommands::sort_by_column(int column) { table_sort_.sort_by_column(model_.state, column); }

std::optional<std::vector<std::string>> MainCommands::capture_dates(filelist::Progress& progress) {
    if (model_.state.busy()) return std::nullopt;
    filelist::ActivityScope reading(model_.state.activity, filelist::Activity::ReadingCaptureTimes);
    return namer_.capture_times(model_.state.batch, progress);
}

bool MainCommands::apply_names(const std::vector<std::string>& base_names, const std::vector<std::string>& extensions) {
    filelist::Batch& batch = model_.state.batch;
    const std::size_t rows = batch.row_count();
    if (model_.state.busy() || base_names.size() != rows || extensions.size() != rows) return false;
    for (std::size_t k = 0; k < rows; ++k) {
        batch.set_new_name(k, base_names[k]);
        if (extensions[k] != batch.extension(k)) batch.set_extension(k, extensions[k]);
    }
    model_.state.rule_confirmed = 1;
    names_built();
    return true;
}

bool MainCommands::can_sort_by_capture_date() const { return !model_.state.busy() && !model_.state.batch.empty(); }

void MainCommands::sort_by_capture_date() {
    if (!can_sort_by_capture_date()) return;
    std::optional<std::vector<std::string>> times;
    {
        filelist::ActivityScope reading(model_.state.activity, filelist::Activity::ReadingCaptureTimes);
        WindowProgress progress;
        times = namer_.capture_times(model_.state.batch, progress);
    }
    if (times) table_sort_.sort_by_capture_time(model_.state, *times);
}

}  // namespace app
