#include "app/main_window.h"

#include "app/about_window.h"
#include "app/lifecycle.h"
#include "app/settings.h"
#include "naming/capture_date_names.h"
#include "naming/image_load_failure_box.h"
#include "picker/file_picker_window.h"
#include "picker/handed_files.h"
#include "platform/win32/text.h"
#include "platform/win32/window_layout.h"

#include <shellapi.h>

namespace app {
namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;
using platform::win32::FontStyle;

constexpr FontStyle kButtonFont{L"宋体", 12};
constexpr FontStyle kWelcomeFont{L"宋体", 14, true};
constexpr FontStyle kTableFont{L"宋体", 16};

constexpr ControlLayout kLayout[] = {
    {ControlKind::PushButton, kSelectFilesButton, "选择文件", 8, 6, 80, 32},
    {ControlKind::PushButton, kRenameButton, "确定改名", 91, 6, 80, 32},
    {ControlKind::PushButton, kNumberingButton, "自动编号", 174, 6, 80, 32},
    {ControlKind::PushButton, kClearButton, "清空", 257, 6, 80, 32},
    {ControlKind::PushButton, kAboutButton, "关于", 340, 6, 80, 32},
    {ControlKind::PushButton, kExitButton, "退出", 424, 6, 80, 32},
    {ControlKind::Label, kWelcomeLabel, "欢迎使用Lanmoor软件!", 512, 6, 200, 32, SS_CENTERIMAGE, 0, &kWelcomeFont},
    {ControlKind::ListView, kFileTableView, "", 8, 46, 704, 369, LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
     0, &kTableFont},
    {ControlKind::Label, kStatusLabel, "", 8, 419, 704, 19},
    {ControlKind::Edit, kCellEditor, "", 199, 420, 79, 19},
};

constexpr platform::win32::WindowDesign kDesign{
    L"BatchRenameMainWindow",
    "Lanmoor-批量文件改名1.5",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
    50, 50, 728, 472,
    kLayout,
    kButtonFont,
};

}  // namespace

MainWindow::MainWindow(filelist::MainModel& model) : model_(model) {}

MainWindow::~MainWindow() { model_.table.set_observer(nullptr); }

bool MainWindow::create(int show_command) { return create_window(kDesign, nullptr, show_command); }

void MainWindow::on_create() {
    set_up_table();
    DragAcceptFiles(hwnd(), TRUE);
    model_.table.set_observer(this);
    rows_replaced(model_.table.row_count());
    platform::win32::set_window_text(control(kStatusLabel), model_.status.text());
    model_.status.set_on_change(
        [this](const std::string& text) { platform::win32::set_window_text(control(kStatusLabel), text); });

    start_up(model_.state);
}

void MainWindow::on_command(int id, int code) {
    switch (id) {
        case kSelectFilesButton:
            if (code == BN_CLICKED) open_file_picker();
            break;
        case kRenameButton:
            if (code == BN_CLICKED) rename_files();
            break;
        case kNumberingButton:
            if (code == BN_CLICKED) open_numbering_window();
            break;
        case kClearButton:
            if (code == BN_CLICKED) clear_list(model_.table, model_.status);
            break;
        case kAboutButton:
            if (code == BN_CLICKED) open_about_window();
            break;
        case kExitButton:
            if (code == BN_CLICKED) exit_program();
            break;
        case kCellEditor:
            if (code == EN_CHANGE) commit_editor_text();
            break;
        case kUndoLastRunCommand:
            undo_last_run();
            break;
        default:
            break;
    }
}

LRESULT MainWindow::on_notify(const NMHDR& header) {
    if (header.idFrom == kFileTableView) return on_table_notify(header);
    return 0;
}

void MainWindow::on_close() { exit_program(); }

// The exit path has run by now; the loop only ends, and no event runs here.
void MainWindow::on_destroy() {
    model_.table.set_observer(nullptr);
    model_.status.set_on_change(nullptr);
    if (on_closed_) on_closed_();
}

void MainWindow::on_dpi_changed(int dpi) { lay_out_table(dpi); }

void MainWindow::on_deferred(int) { redraw_changed_rows(); }

void MainWindow::open_file_picker(const std::string& directory) {
    // One picker at a time: pressing the button again brings it forward.
    if (file_picker_ && file_picker_->is_open()) {
        file_picker_->bring_to_front();
        return;
    }
    file_picker_ = std::make_unique<picker::FilePickerWindow>(
        model_, [this](const std::string& moved_to) { remember_directory(moved_to); });
    if (directory.empty()) {
        file_picker_->create(hwnd());
    } else {
        file_picker_->create_at(hwnd(), directory);
    }
}

void MainWindow::remember_directory(const std::string& directory) {
    if (!save_settings(directory)) tell_failed_save();
}

void MainWindow::tell_failed_save() {
    // Once per run: the program goes on, only without remembering.
    if (failed_save_told_) return;
    failed_save_told_ = true;
    MessageBoxW(hwnd(), platform::win32::widen("保存配置失败！").c_str(), platform::win32::widen("批量文件改名").c_str(),
                MB_OK | MB_ICONWARNING);
}

void MainWindow::hand_over(const std::vector<std::string>& paths) {
    if (naming_under_way() || rename_run_.running()) return;
    picker::HandedPaths handed = picker::sort_out_handed_paths(paths);
    switch (handed.kind) {
        case picker::HandedPaths::Kind::Nothing:
            break;
        case picker::HandedPaths::Kind::Files:
            picker::take_handed_files(handed, model_,
                                      [this](const std::string& directory) { remember_directory(directory); });
            break;
        case picker::HandedPaths::Kind::Directory:
            if (file_picker_ && file_picker_->is_open()) file_picker_.reset();
            open_file_picker(handed.directory);
            break;
        case picker::HandedPaths::Kind::SeveralDirectories:
            MessageBoxW(hwnd(), platform::win32::widen("请只拖入同一目录中的文件").c_str(),
                        platform::win32::widen("批量文件改名").c_str(), MB_OK | MB_ICONWARNING);
            break;
    }
}

// 退出 and the close box alike: everything is saved once, and a failure
// told, while the window is still there.
void MainWindow::exit_program() {
    if (!shut_down(model_.state)) tell_failed_save();
    if (is_open()) DestroyWindow(hwnd());
}

void MainWindow::open_numbering_window() {
    // One numbering window at a time; a window still naming rows is kept, even
    // if it was closed meanwhile.
    if (numbering_window_ && (numbering_window_->is_open() || numbering_window_->busy())) {
        numbering_window_->bring_to_front();
        return;
    }
    auto build_capture_date_names_here = [this] {
        naming::build_capture_date_names(model_, [this] { naming::show_image_load_failure_box(hwnd()); });
    };
    numbering_window_ = std::make_unique<naming::NumberingWindow>(model_.state, model_.table,
                                                                  build_capture_date_names_here, [this] { mark_conflicts(); });
    numbering_window_->create(hwnd());
}

bool MainWindow::naming_under_way() const { return numbering_window_ && numbering_window_->busy(); }

void MainWindow::rename_files() {
    // Names half built would be renamed to: the run waits for the builder.
    if (naming_under_way()) return;
    rename_run_.confirm_rename(model_);
    redraw_changed_rows();  // the last rows, which the run's paced repaints may have left
    // The marks were for the disk as it was before the run.
    conflict_marks_.take_listing(model_);
    naming::ConflictMarks::clear(model_);
}

void MainWindow::undo_last_run() {
    if (naming_under_way() || !rename_run_.can_undo(model_)) return;
    rename_run_.undo_last_run(model_);
    redraw_changed_rows();
    conflict_marks_.take_listing(model_);
    naming::ConflictMarks::clear(model_);
}

void MainWindow::mark_conflicts() {
    redraw_changed_rows();
    conflict_marks_.take_listing(model_);
    conflict_marks_.mark(model_);
}

bool MainWindow::on_key(const platform::win32::KeyPress& key) {
    HWND editor = control(kCellEditor);
    if (key.focus == editor) {
        // In the editor Ctrl+Z undoes typing, as in any edit box.
        if (key.key == VK_RETURN || key.key == VK_ESCAPE) {
            end_cell_edit(key.key == VK_RETURN);
            return true;
        }
        return false;
    }
    if (key.key == 'Z' && key.ctrl) {
        undo_last_run();
        return true;
    }
    if (key.focus == control(kFileTableView) && (key.key == VK_F2 || key.key == VK_RETURN)) {
        begin_cell_edit_from_keyboard();
        return true;
    }
    return false;
}

void MainWindow::on_context_menu(HWND clicked, POINT screen) {
    if (clicked != control(kFileTableView)) return;
    if (screen.x == -1 && screen.y == -1) {
        // The menu key: the menu opens at the table's top-left corner.
        RECT table{};
        GetWindowRect(clicked, &table);
        screen = POINT{table.left + scaled(8), table.top + scaled(8)};
    }
    platform::win32::UniqueMenu menu(CreatePopupMenu());
    UINT flags = MF_STRING | (rename_run_.can_undo(model_) && !naming_under_way() ? MF_ENABLED : MF_GRAYED);
    AppendMenuW(menu.get(), flags, kUndoLastRunCommand, platform::win32::widen("撤销上次改名").c_str());
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr);
}

void MainWindow::open_about_window() {
    // One About window at a time: pressing "关于" again brings the open one forward.
    if (about_window_ && about_window_->is_open()) {
        about_window_->bring_to_front();
        return;
    }
    about_window_ = std::make_unique<AboutWindow>();
    if (!about_window_->create(hwnd())) about_window_.reset();
}

}  // namespace app
