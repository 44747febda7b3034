#pragma once

#include "app/main_commands.h"
#include "platform/win32/window_base.h"
#include "rename/rename_history.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace app {

// Control ids of the history window, named after what they are.
enum HistoryWindowControl : int {
    kRunList = 100,       // the runs, newest first
    kRunFileList,         // the selected run's files
    kUndoSelectedButton,  // 撤销所选
    kClearHistoryButton,  // 清除记录
    kCloseHistoryButton,  // 关闭
};

// "改名记录": every recent run, read from the journal, with its files and
// where each is now, and the undo of any of them, also after a restart or a
// crash. Modeless, owned by the main window, one at a time; Esc closes it.
class HistoryWindow : public platform::win32::WindowBase {
public:
    explicit HistoryWindow(MainCommands& commands);

    // Creates and shows the window, owned by owner, with the run of this id
    // selected (the newest when empty or not found).
    bool create(HWND owner, const std::string& select_run_id = {});

    // True while 撤销所选 is renaming files; the object must then stay alive
    // even when its window has been closed meanwhile.
    bool busy() const { return busy_; }

private:
    // WindowBase
    void on_create() override;
    void on_command(int id, int code) override;
    LRESULT on_notify(const NMHDR& header) override;
    void on_dpi_changed(int dpi) override;

    // Handlers.
    void on_run_selected();
    void on_undo_selected_clicked();
    void on_clear_history_clicked();

    void show_runs(std::size_t selected);
    void show_files();
    int selected_run() const;

    MainCommands& commands_;
    renaming::RenameHistory history_;
    std::string select_run_id_;
    int columns_dpi_ = platform::win32::kDesignDpi;
    bool busy_ = false;
};

}  // namespace app
