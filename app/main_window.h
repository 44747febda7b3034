#pragma once

#include "filelist/cell_edit.h"
#include "filelist/file_table.h"
#include "filelist/main_model.h"
#include "naming/conflict_marks.h"
#include "naming/numbering_window.h"
#include "naming/rename_run.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace picker {
class FilePickerWindow;
}

namespace app {

class AboutWindow;

// Control ids of the main window, named after what they are.
enum MainWindowControl : int {
    kSelectFilesButton = 101,  // 按钮1 选择文件
    kRenameButton,             // 按钮2 确定改名
    kNumberingButton,          // 按钮3 自动编号
    kClearButton,              // 按钮4 清空
    kAboutButton,              // 按钮5 关于
    kExitButton,               // 按钮6 退出
    kWelcomeLabel,             // 标签2
    kFileTableView,            // 超级列表框1
    kStatusLabel,              // 标签1
    kCellEditor,               // 编辑框1
    kUndoLastRunCommand = 201, // the table's menu: 撤销上次改名
};

// The program's first window: six command buttons, the file table and the
// status line, bound to the model it is given.
class MainWindow : public platform::win32::WindowBase, private filelist::FileTable::Observer {
public:
    explicit MainWindow(filelist::MainModel& model);
    ~MainWindow() override;

    // Creates and shows the window; start_up runs as it is created.
    bool create(int show_command);

    // Paths handed to the program from outside (dropped on the window, or
    // named on the command line): files of one directory fill the table as
    // the picker's "确定" does, a directory opens the picker there. Ignored
    // while names are built or files renamed.
    void hand_over(const std::vector<std::string>& paths);

    // Called once the window is gone; the program's entry ends the message loop here.
    void set_on_closed(std::function<void()> on_closed) { on_closed_ = std::move(on_closed); }

private:
    // WindowBase
    void on_create() override;
    void on_command(int id, int code) override;
    LRESULT on_notify(const NMHDR& header) override;
    void on_close() override;
    void on_destroy() override;
    void on_dpi_changed(int dpi) override;
    bool on_key(const platform::win32::KeyPress& key) override;
    void on_deferred(int task) override;
    void on_context_menu(HWND control, POINT screen) override;
    void on_drop_files(const std::vector<std::string>& paths) override { hand_over(paths); }

    // Button handlers.
    void open_file_picker(const std::string& directory = {});
    void exit_program();
    void open_numbering_window();
    void open_about_window();
    void rename_files();
    void undo_last_run();
    // True while "确定" of the numbering window is naming the rows.
    bool naming_under_way() const;
    // Names were built: the directory is listed again and the rows that would fail marked.
    void mark_conflicts();
    // Keeps a directory the picker or a hand-over moved to in the settings file.
    void remember_directory(const std::string& directory);
    // "保存配置失败！", the first time only.
    void tell_failed_save();

    // The table and its in-place editor (main_window_table.cpp).
    void set_up_table();
    void lay_out_table(int dpi);
    LRESULT on_table_notify(const NMHDR& header);
    void fill_display_text(NMLVDISPINFOW& info) const;
    filelist::TableView table_view() const;
    void begin_cell_edit_at_current_row();
    void begin_cell_edit_from_keyboard();
    void show_editor(const filelist::CellEditor& placement);
    void commit_editor_text();
    // Enter keeps the edit; Esc puts back every cell (and new name) as it was.
    void end_cell_edit(bool keep);
    LRESULT draw_table_row(NMLVCUSTOMDRAW& draw) const;
    void fill_info_tip(NMLVGETINFOTIPW& tip) const;
    std::optional<std::size_t> current_row() const;
    std::vector<int> column_widths() const;

    // FileTable::Observer
    void rows_replaced(std::size_t row_count) override;
    void row_changed(std::size_t row) override;
    void warnings_changed() override;
    // Repaints the changed rows in view, once for all changes since the last time.
    void redraw_changed_rows();

    filelist::MainModel& model_;
    std::function<void()> on_closed_;
    int table_dpi_ = platform::win32::kDesignDpi;
    bool failed_save_told_ = false;
    // Rows changed since the table was last repainted, first and last; none when first > last.
    std::size_t changed_first_ = 1, changed_last_ = 0;
    bool redraw_asked_ = false;
    std::chrono::steady_clock::time_point last_redraw_{};  // the DPI the column widths were last set for

    // The cells an open editor has changed, as they were before, for Esc.
    struct EditedCell {
        std::size_t row;
        int column;
        std::string cell_before;
        std::optional<std::string> new_name_before;
    };
    std::vector<EditedCell> edited_cells_;

    // "确定改名", its undo, the marks of rows that would fail, and "自动编号".
    naming::RenameRun rename_run_;
    naming::ConflictMarks conflict_marks_;
    std::unique_ptr<naming::NumberingWindow> numbering_window_;
    std::unique_ptr<AboutWindow> about_window_;
    std::unique_ptr<picker::FilePickerWindow> file_picker_;
};

}  // namespace app
