#pragma once

#include "app/file_table_view.h"
#include "app/main_commands.h"
#include "app/table_menu.h"
#include "filelist/main_model.h"
#include "naming/numbering_window.h"
#include "platform/win32/window_base.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace picker {
class FilePickerWindow;
}

namespace app {

class AboutWindow;
class HistoryWindow;
class NamingRuleWindow;

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
};

// The program's first window: six command buttons, the file table and the
// status line, bound to the model it is given and to the commands that work
// on it. The windows it opens are its own, one of each kind at a time. Once
// it is shown, it asks about a run the program did not finish last time.
class MainWindow : public platform::win32::WindowBase {
public:
    // on_closed runs once the window is gone; the program's entry ends the
    // message loop there.
    explicit MainWindow(filelist::MainModel& model, std::function<void()> on_closed = {});
    ~MainWindow() override;

    // Creates and shows the window; start_up runs as it is created.
    bool create(int show_command);

    // Paths handed to the program from outside (dropped on the window, or
    // named on the command line): files of one directory fill the table as
    // the picker's "确定" does, a directory opens the picker there. Ignored
    // while names are built or files renamed.
    void hand_over(const std::vector<std::string>& paths);

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
    void on_header_click(int column);
    void on_drop_files(const std::vector<std::string>& paths) override { hand_over(paths); }

    // The windows it opens, and the end of the program.
    void open_file_picker(const std::string& directory = {});
    // 自动编号, or with more_rules its 命名规则 window.
    void open_numbering_window(bool more_rules = false);
    void open_about_window();
    // 改名记录, with a run selected (the newest when empty).
    void open_history_window(const std::string& run_id = {});
    void exit_program();

    filelist::MainModel& model_;
    std::function<void()> on_closed_;
    MainCommands commands_;
    FileTableView table_view_;
    std::unique_ptr<naming::NumberingWindow> numbering_window_;
    std::unique_ptr<NamingRuleWindow> naming_rule_window_;
    std::unique_ptr<AboutWindow> about_window_;
    std::unique_ptr<HistoryWindow> history_window_;
    std::unique_ptr<picker::FilePickerWindow> file_picker_;
};

}  // namespace app
