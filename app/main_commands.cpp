#include "app/main_commands.h"

#include "app/lifecycle.h"
#include "app/settings.h"
#include "platform/pending_events.h"

#include <utility>

namespace app {

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
    conflict_marks_.take_listing(model_.state.batch);
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

void MainCommands::rename_files() {
    // Names half built would be renamed to: the run waits for the builder.
    if (model_.state.busy()) return;
    const bool runs = model_.state.rule_confirmed == 1;
    rename_run_.confirm_rename(model_);
    // Without a rule nothing ran, and the marks stand.
    if (runs) mark_again();
}

bool MainCommands::can_rename_in_dependency_order() const {
    return model_.state.rule_confirmed == 1 && !model_.state.busy();
}

void MainCommands::rename_in_dependency_order() {
    if (!can_rename_in_dependency_order()) return;
    rename_run_.rename_in_dependency_order(model_);
    mark_again();
}

bool MainCommands::can_undo() const { return rename_run_.can_undo(model_); }

void MainCommands::undo_last_run() {
    if (!can_undo()) return;
    rename_run_.undo_last_run(model_);
    mark_again();
}

void MainCommands::undo_from_history(renaming::RenameHistory& history, std::size_t run) {
    if (model_.state.busy()) return;
    {
        filelist::ActivityScope undoing(model_.state.activity, filelist::Activity::Renaming);
        history.undo(run, [this](const std::string& run_id, std::size_t step, bool undone) {
            rename_run_.undone_elsewhere(model_, run_id, step, undone);
            platform::process_pending_events();
            return !platform::quit_requested();
        });
    }
    mark_again();
}

void MainCommands::build_capture_date_names(const naming::ImageLoadFailureNotice& notify_load_failure) {
    namer_.build_capture_date_names(model_, notify_load_failure);
}

// The numbering window's "确定" lists the directory again: the user may have
// changed it since the rows were chosen.
void MainCommands::names_built() { mark_again(); }

void MainCommands::cells_edited() { conflict_marks_.mark(model_.state); }

void MainCommands::sort_by_column(int column) { table_sort_.sort_by_column(model_.state, column); }

bool MainCommands::can_sort_by_capture_date() const { return !model_.state.busy() && !model_.state.batch.empty(); }

void MainCommands::sort_by_capture_date() {
    if (!can_sort_by_capture_date()) return;
    std::optional<std::vector<std::string>> times;
    {
        filelist::ActivityScope reading(model_.state.activity, filelist::Activity::ReadingCaptureTimes);
        times = namer_.capture_times(model_.state.batch);
    }
    if (times) table_sort_.sort_by_capture_time(model_.state, *times);
}

}  // namespace app
