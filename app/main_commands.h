#pragma once

#include "filelist/main_model.h"
#include "image/image_file.h"
#include "naming/capture_date_names.h"
#include "rename/conflict_marks.h"
#include "rename/rename_run.h"

#include <functional>

namespace app {

// What the main window's commands do, apart from any window: the start and
// end of a run, "确定改名" and its undo, the capture-date names, and the red
// marks of the rows a run would fail. The window binds its buttons, its menu
// and its table to these.
class MainCommands : private filelist::Batch::Observer {
public:
    // tell_failed_save says once per run that the settings file could not be
    // written ("保存配置失败！"); the program goes on without remembering.
    MainCommands(filelist::MainModel& model, std::function<void()> tell_failed_save);
    ~MainCommands();
    MainCommands(const MainCommands&) = delete;
    MainCommands& operator=(const MainCommands&) = delete;

    void start_up();
    // "退出" or the close box; safe to run twice.
    void shut_down();

    // "确定改名".
    void rename_files();
    // Ctrl+Z and 撤销上次改名.
    bool can_undo() const;
    void undo_last_run();

    // The numbering window's "确定" in capture-date mode.
    void build_capture_date_names(const naming::ImageLoadFailureNotice& notify_load_failure);
    // Names were built: the directory is listed again and the rows that would fail marked.
    void names_built();
    // A new name or an extension was edited in the table.
    void cells_edited();

private:
    // Batch::Observer: new rows are marked against a listing of their own directory.
    void rows_replaced(std::size_t row_count) override;
    void row_changed(std::size_t) override {}
    void marks_changed() override {}

    void tell_failed_save_once();
    // After a run or an undo: the disk has changed.
    void mark_again();

    filelist::MainModel& model_;
    std::function<void()> tell_failed_save_;
    bool failed_save_told_ = false;
    imaging::LibrarySession library_;
    naming::CaptureDateNamer namer_;
    renaming::RenameRun rename_run_;
    renaming::ConflictMarks conflict_marks_;
};

}  // namespace app
