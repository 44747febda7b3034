#include "app/main_window.h"

#include "app/about_window.h"
#include "app/history_window.h"
#include "app/lifecycle.h"
#include "app/naming_rule_window.h"
#include "app/table_menu.h"
#include "picker/file_picker_window.h"
#include "picker/handed_files.h"
#include "platform/win32/message_box.h"
#include "platform/win32/window_layout.h"

#include <shellapi.h>

namespace app {
namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;
using platform::win32::FontStyle;
using platform::win32::MessageKind;

constexpr FontStyle kButtonFont{L"宋体", 12};
constexpr FontStyle kWelcomeFont{L"宋体", 14, true};

constexpr ControlLayout kLayout[] = {
    {ControlKind::PushButton, kSelectFilesButton, "选择文件", 8, 6, 80, 32},
    {ControlKind::PushButton, kRenameButton, "确定改名", 91, 6, 80, 32},
    {ControlKind::PushButton, kNumberingButton, "自动编号", 174, 6, 80, 32},
    {ControlKind::PushButton, kClearButton, "清空", 257, 6, 80, 32},
    {ControlKind::PushButton, kAboutButton, "关于", 340, 6, 80, 32},
    {ControlKind::PushButton, kExitButton, "退出", 424, 6, 80, 32},
    {ControlKind::Label, kWelcomeLabel, "欢迎使用Lanmoor软件!", 512, 6, 200, 32, SS_CENTERIMAGE, 0, &kWelcomeFont},
    {ControlKind::ListView, kFileTableView, "", 8, 46, 704, 369, LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 0,
     &kTableFont},
    {ControlKind::Label, kStatusLabel, "", 8, 419, 704, 19},
    {ControlKind::Edit, kCellEditor, "", 199, 420, 79, 19},
};

constexpr platform::win32::WindowDesign kDesign{
    L"BatchRenameMainWindow",
    "Lanmoor-批量文件改名1.5",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
    50,
    50,
    728,
    472,
    kLayout,
    kButtonFont,
};

enum DeferredTask : int {
    kRedrawChangedRows = 1,
    kAskAboutUnfinishedRun,  // once the window is shown
};

}  // namespace

MainWindow::MainWindow(filelist::MainModel& model, std::function<void()> on_closed)
    : model_(model),
      on_closed_(std::move(on_closed)),
      commands_(model, {[this] { platform::win32::show_message(hwnd(), "保存配置失败！", MessageKind::Warning); },
                        [this] { return platform::win32::ask_yes_no(hwnd(), "无法保存改名记录，仍然改名吗？"); }}),
      table_view_(
          model.state, [this] { post_deferred(kRedrawChangedRows); }, [this] { commands_.cells_edited(); },
          [this](int column) { on_header_click(column); }) {}

MainWindow::~MainWindow() { model_.status.set_on_change(nullptr); }

bool MainWindow::create(int show_command) { return create_window(kDesign, nullptr, show_command); }

void MainWindow::on_create() {
    table_view_.attach(control(kFileTableView), control(kCellEditor), dpi(), control_place(kFileTableView).left);
    DragAcceptFiles(hwnd(), TRUE);
    platform::win32::set_window_text(control(kStatusLabel), model_.status.text());
    model_.status.set_on_change(
        [this](const std::string& text) { platform::win32::set_window_text(control(kStatusLabel), text); });
    commands_.start_up();
    post_deferred(kAskAboutUnfinishedRun);
}

void MainWindow::on_command(int id, int code) {
    const bool clicked = code == BN_CLICKED;
    switch (id) {
        case kSelectFilesButton:
            if (clicked) open_file_picker();
            break;
        case kRenameButton:
            if (clicked) commands_.rename_files();
            break;
        case kNumberingButton:
            if (clicked) open_numbering_window();
            break;
        case kClearButton:
            if (clicked) clear_list(model_);
            break;
        case kAboutButton:
            if (clicked) open_about_window();
            break;
        case kExitButton:
            if (clicked) exit_program();
            break;
        case kCellEditor:
            if (code == EN_CHANGE) table_view_.on_editor_changed();
            break;
        case kUndoLastRunCommand:
            commands_.undo_last_run();
            break;
        case kHistoryCommand:
            open_history_window();
            break;
        case kDependencyOrderCommand:
            commands_.rename_in_dependency_order();
            break;
        case kNamingRuleCommand:
            open_numbering_window(true);
            break;
        case kSortByCaptureDateCommand:
            commands_.sort_by_capture_date();
            table_view_.show_sort_arrow(commands_.sorted_column(), commands_.sorted_descending());
            break;
        default:
            break;
    }
    // The last rows of a long loop, which its paced repaints may have left.
    table_view_.redraw_changed_rows();
}

LRESULT MainWindow::on_notify(const NMHDR& header) {
    if (header.idFrom == kFileTableView) return table_view_.on_notify(header);
    return 0;
}

// A header click on the table: the rows by that column, the arrow on it.
void MainWindow::on_header_click(int column) {
    commands_.sort_by_column(column);
    table_view_.show_sort_arrow(commands_.sorted_column(), commands_.sorted_descending());
}

void MainWindow::on_close() { exit_program(); }

// The exit path has run by now; the loop only ends, and no event runs here.
void MainWindow::on_destroy() {
    model_.status.set_on_change(nullptr);
    if (on_closed_) on_closed_();
}

void MainWindow::on_dpi_changed(int dpi) { table_view_.lay_out(dpi, control_place(kFileTableView).left); }

void MainWindow::on_deferred(int task) {
    if (task == kRedrawChangedRows) {
        table_view_.redraw_changed_rows();
        return;
    }
    // A run the program did not finish: asked once, whatever the answer.
    if (!commands_.journal().may_hold_unfinished_run()) return;
    renaming::RenameHistory history(commands_.journal());
    history.load();
    std::optional<std::size_t> run = history.unasked_unfinished_run();
    if (!run) return;
    // Marked once answered: a copy killed while asking asks again next time.
    const bool open = platform::win32::ask_yes_no(hwnd(), "上次改名没有完成，要打开改名记录吗？");
    history.mark_asked(*run);
    if (open) open_history_window(history.runs()[*run].id);
}

bool MainWindow::on_key(const platform::win32::KeyPress& key) {
    if (table_view_.on_key(key)) return true;
    // Only the table and the window itself: in an edit box Ctrl+Z undoes typing.
    if (key.key == 'Z' && key.ctrl && (key.focus == control(kFileTableView) || key.focus == hwnd())) {
        commands_.undo_last_run();
        table_view_.redraw_changed_rows();
        return true;
    }
    return false;
}

void MainWindow::on_context_menu(HWND clicked, POINT screen) {
    if (clicked != control(kFileTableView)) return;
    // The menu key: the menu opens at the table's top-left corner.
    if (screen.x == -1 && screen.y == -1) screen = table_view_.keyboard_menu_point();
    track_table_menu(hwnd(), screen,
                     TableMenuState{commands_.can_undo(), commands_.can_rename_in_dependency_order(),
                                    commands_.can_sort_by_capture_date(), !model_.state.busy()});
}

void MainWindow::hand_over(const std::vector<std::string>& paths) {
    if (model_.state.busy()) return;
    picker::HandedPaths handed = picker::sort_out_handed_paths(paths);
    switch (handed.kind) {
        case picker::HandedPaths::Kind::Nothing:
            break;
        case picker::HandedPaths::Kind::Files:
            picker::take_handed_files(handed, model_);
            break;
        case picker::HandedPaths::Kind::Directory:
            if (file_picker_ && file_picker_->is_open()) file_picker_.reset();
            open_file_picker(handed.directory);
            break;
        case picker::HandedPaths::Kind::SeveralDirectories:
            platform::win32::show_message(hwnd(), "请只拖入同一目录中的文件", MessageKind::Warning);
            break;
    }
}

void MainWindow::open_file_picker(const std::string& directory) {
    // One picker at a time: pressing the button again brings it forward.
    if (file_picker_ && file_picker_->is_open()) {
        file_picker_->bring_to_front();
        return;
    }
    file_picker_ = std::make_unique<picker::FilePickerWindow>(model_);
    if (directory.empty()) {
        file_picker_->create(hwnd());
    } else {
        file_picker_->create_at(hwnd(), directory);
    }
}

void MainWindow::open_numbering_window(bool more_rules) {
    auto names_built = [this] {
        table_view_.redraw_changed_rows();
        commands_.names_built();
    };
    if (more_rules) {
        // One 命名规则 window at a time; its 确定 closes the numbering window too.
        if (naming_rule_window_ && (naming_rule_window_->is_open() || naming_rule_window_->busy())) {
            naming_rule_window_->bring_to_front();
            return;
        }
        auto confirmed = [this] {
            table_view_.redraw_changed_rows();
            if (numbering_window_ && numbering_window_->is_open() && !numbering_window_->busy()) numbering_window_.reset();
        };
        naming_rule_window_ = std::make_unique<NamingRuleWindow>(commands_, model_.state, confirmed);
        if (!naming_rule_window_->create(hwnd())) naming_rule_window_.reset();
        return;
    }
    // One numbering window at a time; a window still naming rows is kept, even
    // if it was closed meanwhile.
    if (numbering_window_ && (numbering_window_->is_open() || numbering_window_->busy())) {
        numbering_window_->bring_to_front();
        return;
    }
    auto build_capture_date_names_here = [this] {
        commands_.build_capture_date_names(
            [this] { platform::win32::show_message(hwnd(), "载入图片失败！", MessageKind::Error); });
    };
    numbering_window_ = std::make_unique<naming::NumberingWindow>(model_.state, build_capture_date_names_here,
                                                                  names_built, [this] { open_numbering_window(true); });
    numbering_window_->create(hwnd());
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

void MainWindow::open_history_window(const std::string& run_id) {
    // One at a time; a window still putting files back is kept, even if it was closed meanwhile.
    if (history_window_ && (history_window_->is_open() || history_window_->busy())) {
        history_window_->bring_to_front();
        return;
    }
    history_window_ = std::make_unique<HistoryWindow>(commands_);
    if (!history_window_->create(hwnd(), run_id)) history_window_.reset();
}

// 退出 and the close box alike: everything is saved once, and a failure
// told, while the window is still there.
void MainWindow::exit_program() {
    commands_.shut_down();
    if (is_open()) DestroyWindow(hwnd());
}

}  // namespace app
