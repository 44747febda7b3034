#include "app/main_window.h"

#include "app/about_window.h"
#include "app/lifecycle.h"
#include "app/settings.h"
#include "filelist/cell_edit.h"
#include "naming/capture_date_names.h"
#include "naming/image_load_failure_box.h"
#include "picker/file_picker_window.h"
#include "platform/pending_events.h"
#include "platform/win32/text.h"
#include "platform/win32/window_layout.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <cwchar>

namespace app {

namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;

constexpr wchar_t kClassName[] = L"BatchRenameMainWindow";
constexpr const char* kCaption = "Lanmoor-批量文件改名1.5";
constexpr int kWindowX = 50, kWindowY = 50, kWindowWidth = 728, kWindowHeight = 472;
constexpr int kTableFontPoints = 12;  // 宋体 at 16 pixels
constexpr int kTableX = 8;

constexpr ControlLayout kLayout[] = {
    {ControlKind::PushButton, kSelectFilesButton, "选择文件", 8, 6, 80, 32},
    {ControlKind::PushButton, kRenameButton, "确定改名", 91, 6, 80, 32},
    {ControlKind::PushButton, kNumberingButton, "自动编号", 174, 6, 80, 32},
    {ControlKind::PushButton, kClearButton, "清空", 257, 6, 80, 32},
    {ControlKind::PushButton, kAboutButton, "关于", 340, 6, 80, 32},
    {ControlKind::PushButton, kExitButton, "退出", 424, 6, 80, 32},
    {ControlKind::Label, kWelcomeLabel, "欢迎使用Lanmoor软件!", 512, 6, 200, 32, SS_CENTERIMAGE},
    {ControlKind::ListView, kFileTableView, "", kTableX, 46, 704, 369, LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL},
    {ControlKind::Label, kStatusLabel, "", 8, 419, 704, 19},
    {ControlKind::Edit, kCellEditor, "", 199, 420, 79, 19},
};

struct ColumnSpec {
    const char* header;
    int width;
};
constexpr std::array<ColumnSpec, filelist::FileTable::kColumnCount> kColumns = {{
    {"序", 40},
    {"原名称", 150},
    {"新名称", 150},
    {"后缀名", 60},
    {"目录", 200},
    {"处理结果", 80},
}};

}  // namespace

MainWindow::MainWindow(filelist::MainModel& model) : model_(model) {}

MainWindow::~MainWindow() { model_.table.set_observer(nullptr); }

bool MainWindow::create(int show_command) {
    return create_window(kClassName, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kWindowX,
                         kWindowY, kWindowWidth, kWindowHeight, nullptr, show_command);
}

LRESULT MainWindow::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            on_created();
            return 0;
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
            if (header.idFrom == kFileTableView) return on_table_notify(header, lparam);
            break;
        }
        case WM_DESTROY:
            model_.table.set_observer(nullptr);
            model_.status.set_on_change(nullptr);
            shut_down(model_.state);
            return 0;
        case WM_NCDESTROY:
            if (on_closed_) on_closed_();
            break;
        default:
            break;
    }
    return WindowBase::on_message(message, wparam, lparam);
}

void MainWindow::on_created() {
    control_font_ = platform::win32::make_font(L"宋体", 12, false);
    welcome_font_ = platform::win32::make_font(L"宋体", 14, true);
    table_font_ = platform::win32::make_font(L"宋体", 16, false);
    platform::win32::create_controls(hwnd(), kLayout, control_font_.get());
    SendMessageW(control(kWelcomeLabel), WM_SETFONT, reinterpret_cast<WPARAM>(welcome_font_.get()), FALSE);

    HWND table = control(kFileTableView);
    SendMessageW(table, WM_SETFONT, reinterpret_cast<WPARAM>(table_font_.get()), FALSE);
    ListView_SetExtendedListViewStyle(table, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        std::wstring header = platform::win32::widen(kColumns[i].header);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = header.data();
        column.cx = kColumns[i].width;
        column.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(table, static_cast<int>(i), &column);
    }
    SetWindowSubclass(table, &MainWindow::table_subclass_proc, 0, reinterpret_cast<DWORD_PTR>(this));

    ShowWindow(control(kCellEditor), SW_HIDE);

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
            if (code == BN_CLICKED) rename_run_.confirm_rename(model_);
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
        default:
            break;
    }
}

void MainWindow::open_file_picker() {
    // One picker at a time: pressing the button again brings it forward.
    if (file_picker_ && file_picker_->is_open()) {
        file_picker_->bring_to_front();
        return;
    }
    file_picker_ = std::make_unique<picker::FilePickerWindow>(
        model_, [](const std::string& directory) { save_settings(directory); });
    file_picker_->create(hwnd());
}

void MainWindow::exit_program() {
    shut_down(model_.state);
    DestroyWindow(hwnd());
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
    numbering_window_ =
        std::make_unique<naming::NumberingWindow>(model_.state, model_.table, build_capture_date_names_here);
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

LRESULT MainWindow::on_table_notify(const NMHDR& header, LPARAM lparam) {
    switch (header.code) {
        case LVN_GETDISPINFOW:
            fill_display_text(*reinterpret_cast<NMLVDISPINFOW*>(lparam));
            return 0;
        case NM_DBLCLK:
            // A double click on a row activates it; on empty space it does nothing.
            if (reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem >= 0) begin_cell_edit_at_current_row();
            return 0;
        default:
            return 0;
    }
}

void MainWindow::fill_display_text(NMLVDISPINFOW& info) const {
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
    std::wstring text = platform::win32::widen(
        model_.table.cell(static_cast<std::size_t>(info.item.iItem), info.item.iSubItem));
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(info.item.cchTextMax - 1));
    std::wmemcpy(info.item.pszText, text.data(), n);
    info.item.pszText[n] = L'\0';
}

std::optional<std::size_t> MainWindow::current_row() const {
    int row = ListView_GetNextItem(control(kFileTableView), -1, LVNI_SELECTED);
    if (row < 0) return std::nullopt;
    return static_cast<std::size_t>(row);
}

std::vector<int> MainWindow::column_widths() const {
    std::vector<int> widths;
    for (int i = 0; i < filelist::FileTable::kColumnCount; ++i) {
        widths.push_back(ListView_GetColumnWidth(control(kFileTableView), i));
    }
    return widths;
}

void MainWindow::begin_cell_edit_at_current_row() {
    HWND editor = control(kCellEditor);
    ShowWindow(editor, SW_HIDE);

    std::vector<int> widths = column_widths();
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_POS;
    int scroll_x = GetScrollInfo(control(kFileTableView), SB_HORZ, &scroll) ? scroll.nPos : 0;

    filelist::TableView view;
    view.column_widths = widths;
    view.scroll_x = scroll_x;
    view.table_x = kTableX;
    view.font_points = kTableFontPoints;
    view.current_row = current_row();
    std::optional<filelist::CellEditor> placement = filelist::begin_cell_edit(model_.state, model_.table, view);
    if (!placement) return;

    RECT rect{};
    GetWindowRect(editor, &rect);
    MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    MoveWindow(editor, placement->x, rect.top, placement->width, placement->height, TRUE);
    platform::win32::set_window_text(editor, placement->text);
    ShowWindow(editor, SW_SHOW);
    platform::process_pending_events();
}

void MainWindow::commit_editor_text() {
    if (!IsWindowVisible(control(kCellEditor))) return;
    filelist::commit_cell_edit(model_.state, model_.table, current_row(),
                               platform::win32::window_text(control(kCellEditor)));
}

void MainWindow::rows_replaced(std::size_t row_count) {
    HWND table = control(kFileTableView);
    ListView_SetItemCountEx(table, static_cast<int>(row_count), 0);
    InvalidateRect(table, nullptr, TRUE);
}

void MainWindow::row_changed(std::size_t row) {
    ListView_RedrawItems(control(kFileTableView), static_cast<int>(row), static_cast<int>(row));
}

LRESULT CALLBACK MainWindow::table_subclass_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                                 DWORD_PTR ref_data) {
    if (message == WM_MOUSEMOVE) {
        auto* self = reinterpret_cast<MainWindow*>(ref_data);
        filelist::track_pointer(self->model_.state, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace app
