// The main window's file table (超级列表框1), an owner-data list view that
// shows the rows of the model, and its in-place editor (编辑框1).
#include "app/main_window.h"

#include "filelist/cell_edit.h"
#include "platform/pending_events.h"
#include "platform/win32/text.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cwchar>

namespace app {
namespace {

constexpr int kTableFontPoints = 12;  // 宋体 at 16 pixels
constexpr COLORREF kConflictColour = RGB(204, 0, 0);
constexpr int kRedrawChangedRows = 1;
constexpr auto kLongLoopRedrawInterval = std::chrono::milliseconds(50);

struct ColumnDesign {
    const char* header;
    int width;  // pixels at 96 DPI
};
constexpr std::array<ColumnDesign, filelist::FileTable::kColumnCount> kColumns = {{
    {"序", 40},
    {"原名称", 150},
    {"新名称", 150},
    {"后缀名", 60},
    {"目录", 200},
    {"处理结果", 80},
}};

}  // namespace

void MainWindow::set_up_table() {
    HWND table = control(kFileTableView);
    // The info tips give the reason of a row drawn in red.
    ListView_SetExtendedListViewStyle(table, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        std::wstring header = platform::win32::widen(kColumns[i].header);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = header.data();
        column.cx = scaled(kColumns[i].width);
        column.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(table, static_cast<int>(i), &column);
    }
    table_dpi_ = dpi();
    watch_pointer_moves(kFileTableView, [this](POINT at) { filelist::track_pointer(model_.state, at.x, at.y); });
    ShowWindow(control(kCellEditor), SW_HIDE);
}

void MainWindow::lay_out_table(int dpi) {
    HWND table = control(kFileTableView);
    // The same rows stay in view, and columns the user widened stay wider.
    int top_row = ListView_GetTopIndex(table);
    for (int i = 0; i < filelist::FileTable::kColumnCount; ++i) {
        ListView_SetColumnWidth(table, i, MulDiv(ListView_GetColumnWidth(table, i), dpi, table_dpi_));
    }
    table_dpi_ = dpi;
    if (top_row > 0 && ListView_GetItemCount(table) > 0) {
        ListView_EnsureVisible(table, ListView_GetItemCount(table) - 1, FALSE);
        ListView_EnsureVisible(table, top_row, FALSE);
    }
    // An open editor moves with its column.
    int column = model_.state.edit_column;
    if (IsWindowVisible(control(kCellEditor)) && column > 0 && column < filelist::FileTable::kColumnCount) {
        std::vector<int> widths = column_widths();
        filelist::TableView view;
        view.column_widths = widths;
        view.table_x = control_place(kFileTableView).left;
        view.font_points = kTableFontPoints;
        view.dpi = dpi;
        filelist::ColumnHit hit{column, 0, widths[static_cast<std::size_t>(column)]};
        for (int i = 0; i < column; ++i) hit.left += widths[static_cast<std::size_t>(i)];
        filelist::CellEditor placement = filelist::editor_placement(view, hit);
        RECT line = control_place(kCellEditor);
        MoveWindow(control(kCellEditor), placement.x, line.top, placement.width, placement.height, TRUE);
    }
}

LRESULT MainWindow::on_table_notify(const NMHDR& header) {
    auto& mutable_header = const_cast<NMHDR&>(header);
    switch (header.code) {
        case LVN_GETDISPINFOW:
            fill_display_text(reinterpret_cast<NMLVDISPINFOW&>(mutable_header));
            return 0;
        case NM_DBLCLK:
            // A double click on a row activates it; on empty space it does nothing.
            if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) begin_cell_edit_at_current_row();
            return 0;
        case NM_CUSTOMDRAW:
            return draw_table_row(reinterpret_cast<NMLVCUSTOMDRAW&>(mutable_header));
        case LVN_GETINFOTIPW:
            fill_info_tip(reinterpret_cast<NMLVGETINFOTIPW&>(mutable_header));
            return 0;
        default:
            return 0;
    }
}

// A row that a run started now would fail is drawn in red.
LRESULT MainWindow::draw_table_row(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        if (!model_.table.warning(static_cast<std::size_t>(draw.nmcd.dwItemSpec)).empty()) {
            draw.clrText = kConflictColour;
            return CDRF_NEWFONT;
        }
    }
    return CDRF_DODEFAULT;
}

void MainWindow::fill_info_tip(NMLVGETINFOTIPW& tip) const {
    if (tip.iItem < 0 || !tip.pszText || tip.cchTextMax <= 0) return;
    const std::string& warning = model_.table.warning(static_cast<std::size_t>(tip.iItem));
    if (warning.empty()) return;
    std::wstring text = platform::win32::widen(warning);
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(tip.cchTextMax - 1));
    std::wmemcpy(tip.pszText, text.data(), n);
    tip.pszText[n] = L'\0';
}

void MainWindow::fill_display_text(NMLVDISPINFOW& info) const {
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
    std::wstring text =
        platform::win32::widen(model_.table.cell(static_cast<std::size_t>(info.item.iItem), info.item.iSubItem));
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

filelist::TableView MainWindow::table_view() const {
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_POS;
    filelist::TableView view;
    view.scroll_x = GetScrollInfo(control(kFileTableView), SB_HORZ, &scroll) ? scroll.nPos : 0;
    view.table_x = control_place(kFileTableView).left;
    view.font_points = kTableFontPoints;
    view.dpi = dpi();
    view.current_row = current_row();
    return view;
}

void MainWindow::begin_cell_edit_at_current_row() {
    ShowWindow(control(kCellEditor), SW_HIDE);
    std::vector<int> widths = column_widths();
    filelist::TableView view = table_view();
    view.column_widths = widths;
    if (auto placement = filelist::begin_cell_edit(model_.state, model_.table, view)) show_editor(*placement);
}

void MainWindow::begin_cell_edit_from_keyboard() {
    ShowWindow(control(kCellEditor), SW_HIDE);
    std::vector<int> widths = column_widths();
    filelist::TableView view = table_view();
    view.column_widths = widths;
    auto placement = filelist::begin_cell_edit_in_column(model_.state, model_.table, view, filelist::FileTable::kNewName);
    if (!placement) return;
    show_editor(*placement);
    SetFocus(control(kCellEditor));
    SendMessageW(control(kCellEditor), EM_SETSEL, 0, -1);
}

void MainWindow::show_editor(const filelist::CellEditor& placement) {
    HWND editor = control(kCellEditor);
    // The editor keeps its own line below the table; only x, width and height follow the cell.
    RECT rect{};
    GetWindowRect(editor, &rect);
    MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    MoveWindow(editor, placement.x, rect.top, placement.width, placement.height, TRUE);
    SendMessageW(editor, EM_SETREADONLY, placement.read_only, 0);
    edited_cells_.clear();
    platform::win32::set_window_text(editor, placement.text);
    ShowWindow(editor, SW_SHOW);
    platform::process_pending_events();
}

void MainWindow::commit_editor_text() {
    if (!IsWindowVisible(control(kCellEditor))) return;
    std::optional<std::size_t> row = current_row();
    int column = model_.state.edit_column;
    if (row && *row < model_.table.row_count()) {
        bool seen = std::any_of(edited_cells_.begin(), edited_cells_.end(),
                                [&](const EditedCell& e) { return e.row == *row && e.column == column; });
        if (!seen) {
            std::optional<std::string> new_name;
            if (*row < model_.state.new_names.size()) new_name = model_.state.new_names[*row];
            edited_cells_.push_back({*row, column, model_.table.cell(*row, column), new_name});
        }
    }
    filelist::commit_cell_edit(model_.state, model_.table, row, platform::win32::window_text(control(kCellEditor)));
    // A new name or extension changes the row's target.
    if (column == filelist::FileTable::kNewName || column == filelist::FileTable::kExtension) conflict_marks_.mark(model_);
}

void MainWindow::end_cell_edit(bool keep) {
    ShowWindow(control(kCellEditor), SW_HIDE);
    if (!keep) {
        for (auto it = edited_cells_.rbegin(); it != edited_cells_.rend(); ++it) {
            model_.table.set_cell(it->row, it->column, it->cell_before);
            if (it->new_name_before && it->row < model_.state.new_names.size()) {
                model_.state.new_names[it->row] = *it->new_name_before;
            }
        }
        if (!edited_cells_.empty()) conflict_marks_.mark(model_);
    }
    edited_cells_.clear();
    SetFocus(control(kFileTableView));
}

void MainWindow::rows_replaced(std::size_t row_count) {
    changed_first_ = 1;
    changed_last_ = 0;
    HWND table = control(kFileTableView);
    ListView_SetItemCountEx(table, static_cast<int>(row_count), 0);
    InvalidateRect(table, nullptr, TRUE);
}

// Changes only mark their rows; the rows in view are repainted once when the
// events are next processed, however many changed (100,000 names at once).
// While a long loop renames or names row after row, a repaint comes at most
// every so often: under Wine each costs about as much as a rename.
void MainWindow::row_changed(std::size_t row) {
    if (changed_first_ > changed_last_) {
        changed_first_ = changed_last_ = row;
    } else {
        changed_first_ = std::min(changed_first_, row);
        changed_last_ = std::max(changed_last_, row);
    }
    if (redraw_asked_) return;
    bool long_loop = rename_run_.running() || naming_under_way();
    if (long_loop && std::chrono::steady_clock::now() - last_redraw_ < kLongLoopRedrawInterval) return;
    redraw_asked_ = true;
    post_deferred(kRedrawChangedRows);
}

void MainWindow::redraw_changed_rows() {
    redraw_asked_ = false;
    last_redraw_ = std::chrono::steady_clock::now();
    if (changed_first_ > changed_last_) return;
    HWND table = control(kFileTableView);
    const std::size_t top = static_cast<std::size_t>(std::max(ListView_GetTopIndex(table), 0));
    const std::size_t bottom = top + static_cast<std::size_t>(std::max(ListView_GetCountPerPage(table), 0));
    const std::size_t first = std::max(changed_first_, top), last = std::min(changed_last_, bottom);
    changed_first_ = 1;
    changed_last_ = 0;
    if (first <= last) ListView_RedrawItems(table, static_cast<int>(first), static_cast<int>(last));
}

void MainWindow::warnings_changed() { InvalidateRect(control(kFileTableView), nullptr, FALSE); }

}  // namespace app
