#pragma once

#include "filelist/main_model.h"
#include "filelist/table_sort.h"
#include "image/image_file.h"
#include "naming/capture_date_names.h"
#include "rename/conflict_marks.h"
#include "rename/rename_history.h"
#include "rename/rename_journal.h"
#include "rename/rename_run.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace app {

// What the main window's commands do, apart from any window: the start and
// end of a run, "确定改名" and its undo, the journal of runs and the undo of
// any of them from its history, the capture-date names, and the red marks of
// the rows a run would fail. The window binds its buttons, its menu and its
// table to these.
class MainCommands : private filelist::Batch::Observer {
public:
    struct Notices {
        // Once per run: the settings file could not be written
        // ("保存配置失败！"); the program goes on without remembering.
        std::function<void()> tell_failed_save;
        // No journal can be written: true to rename all the same.
        renaming::RenameRun::GoOnWithoutJournal go_on_without_journal;
    };
    MainCommands(filelist::MainModel& model, Notices notices,
                 std::vector<std::string> journal_paths = renaming::default_journal_paths());
    ~MainCommands();
    MainCommands(const MainCommands&) = delete;
    MainCommands& operator=(const MainCommands&) = delete;

    void start_up();
    // "退出" or the close box; safe to run twice.
    void shut_down();

    // "确定改名".
    void rename_files();
    // 按依赖顺序改名: the same batch, each target freed before it is taken.
    bool can_rename_in_dependency_order() const;
    void rename_in_dependency_order();
    // Ctrl+Z and 撤销上次改名.
    bool can_undo() const;
    void undo_last_run();

    // The history of runs, read from the journal.
    renaming::RenameJournal& journal() { return journal_; }
    // 撤销所选 in the history: run k's files back; rows the table still
    // shows of that run read the results. Nothing while a long loop runs.
    void undo_from_history(renaming::RenameHistory& history, std::size_t run);

    // The numbering window's "确定" in capture-date mode; the windows catch up
    // after it too.
    void build_capture_date_names(const naming::ImageLoadFailureNotice& notify_load_failure);
    // The 命名规则 window: the capture dates of the rows, read once per batch
    // ("20080517 142345", empty for none); nothing while another long loop
    // runs or once the table shows another batch.
    std::optional<std::vector<std::string>> capture_dates(filelist::Progress& progress);
    // Its 确定: the rows get these new base names and extensions, as a
    // confirmed rule gives them. False, changing nothing, while a long loop runs.
    bool apply_names(const std::vector<std::string>& base_names, const std::vector<std::string>& extensions);
    // Names were built: the directory is listed again and the rows that would fail marked.
    void names_built();
    // A new name or an extension was edited in the table.
    void cells_edited();

    // A click on a column's header sorts the rows by it; a second click
    // reverses them. The column sorted by, -1 for none, and which way.
    void sort_by_column(int column);
    int sorted_column() const { return table_sort_.sorted_column(model_.state.batch); }
    bool sorted_descending() const { return table_sort_.descending(); }
    // 按拍摄日期排序: rows by capture time, oldest first.
    bool can_sort_by_capture_date() const;
    void sort_by_capture_date();

private:
    // Batch::Observer: new rows are marked against a listing of their own directory.
    void rows_replaced(std::size_t row_count) override;
    void row_changed(std::size_t) override {}
    void marks_changed() override {}
    // The marks move with their rows.
    void rows_reordered(const std::vector<std::size_t>&) override {}

    void tell_failed_save_once();
    // After a run or an undo: the disk has changed.
    void mark_again();
    // 确定改名 and 按依赖顺序改名 alike.
    void rename(bool by_dependencies);

    // The rows a run was given, by the ids that follow them when the table
    // is sorted, and the batch they belong to.
    struct RunRows {
        std::uint64_t generation = 0;
        std::vector<std::uint32_t> ids;
    };
    RunRows rows_now(std::size_t count) const;

    filelist::MainModel& model_;
    Notices notices_;
    bool failed_save_told_ = false;
    imaging::LibrarySession library_;
    naming::CaptureDateNamer namer_;
    renaming::RenameJournal journal_;
    renaming::RenameRun rename_run_;
    std::optional<RunRows> last_run_rows_;  // the rows of the run Ctrl+Z undoes
    renaming::ConflictMarks conflict_marks_;
    filelist::TableSort table_sort_;
};

}  // namespace app
