#include "app/file_table_view.h"

#include "app/row_texts.h"
#include "platform/pending_events.h"
#include "platform/win32/list_view.h"
#include "platform/win32/text.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <utility>

namespace app {
namespace {

using filelist::Batch;

constexpr COLORREF kMarkColour = RGB(204, 0, 0);
// A marked row that is selected keeps its red text on a light red ground, so
// that the mark shows there too.
constexpr COLORREF kMarkedSelectionColour = RGB(255, 214, 214);
constexpr auto kLongLoopRedrawInterval = std::chrono::milliseconds(50);
constexpr UINT_PTR kTableSubclassId = 1;

constexpr std::array<platform::win32::ListColumn, Batch::kColumnCount> kColumns = {{
    {"序", 40},
    {"原名称", 150},
    {"新名称", 150},
    {"后缀名", 60},
    {"目录", 200},
    {"处理结果", 80},
}};

}  // namespace

FileTableView::FileTableView(filelist::AppState& state, std::function<void()> ask_redraw,
                             std::function<void()> on_cells_edited, std::function<void(int column)> on_header_click)
    : state_(state),
      cell_edit_(state.batch),
      ask_redraw_(std::move(ask_redraw)),
      on_cells_edited_(std::move(on_cells_edited)),
      on_header_click_(std::move(on_header_click)) {}

FileTableView::~FileTableView() {
    state_.batch.remove_observer(this);
    if (table_ && IsWindow(table_)) RemoveWindowSubclass(table_, &FileTableView::table_proc, kTableSubclassId);
}

void FileTableView::attach(HWND table, HWND editor, int dpi, int table_x) {
    table_ = table;
    editor_ = editor;
    dpi_ = dpi;
    table_x_ = table_x;
    // The info tips give the reason of a row drawn in red.
    platform::win32::add_list_view_columns(table_, kColumns, dpi,
                                           LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP);
    SetWindowSubclass(table_, &FileTableView::table_proc, kTableSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ShowWindow(editor_, SW_HIDE);
    state_.batch.add_observer(this);
    rows_replaced(state_.batch.row_count());
}

// The pointer's x over the table, for the hit test of the next row activation.
LRESULT CALLBACK FileTableView::table_proc(HWND table, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                           DWORD_PTR self) {
    if (message == WM_MOUSEMOVE) reinterpret_cast<FileTableView*>(self)->pointer_x_ = GET_X_LPARAM(lparam);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(table, &FileTableView::table_proc, id);
    return DefSubclassProc(table, message, wparam, lparam);
}

void FileTableView::lay_out(int dpi, int table_x) {
    // The same rows stay in view, and columns the user widened stay wider.
    int top_row = ListView_GetTopIndex(table_);
    for (int i = 0; i < Batch::kColumnCount; ++i) {
        ListView_SetColumnWidth(table_, i, MulDiv(ListView_GetColumnWidth(table_, i), dpi, dpi_));
    }
    dpi_ = dpi;
    table_x_ = table_x;
    if (top_row > 0 && ListView_GetItemCount(table_) > 0) {
        ListView_EnsureVisible(table_, ListView_GetItemCount(table_) - 1, FALSE);
        ListView_EnsureVisible(table_, top_row, FALSE);
    }
    if (IsWindowVisible(editor_)) place_open_editor();
}

// An open editor moves with its column.
void FileTableView::place_open_editor() {
    std::vector<int> widths = column_widths();
    filelist::TableView view = table_view(widths);
    view.scroll_x = 0;
    filelist::CellEditor placement =
        filelist::editor_placement(view, filelist::column_at(widths, cell_edit_.edit_column()));
    RECT line{};
    GetWindowRect(editor_, &line);
    MapWindowPoints(HWND_DESKTOP, GetParent(editor_), reinterpret_cast<POINT*>(&line), 2);
    MoveWindow(editor_, placement.x, line.top, placement.width, placement.height, TRUE);
}

LRESULT FileTableView::on_notify(const NMHDR& header) {
    auto& mutable_header = const_cast<NMHDR&>(header);
    switch (header.code) {
        case LVN_GETDISPINFOW:
            fill_display_text(reinterpret_cast<NMLVDISPINFOW&>(mutable_header));
            return 0;
        case NM_DBLCLK:
            // A double click on a row activates it; on empty space it does nothing.
            if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) begin_edit_at_pointer();
            return 0;
        case NM_CUSTOMDRAW:
            return draw_row(reinterpret_cast<NMLVCUSTOMDRAW&>(mutable_header));
        case LVN_COLUMNCLICK:
            // The open editor belongs to a cell that is about to move.
            if (IsWindowVisible(editor_)) end_edit(true);
            if (on_header_click_) on_header_click_(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return 0;
        case LVN_GETINFOTIPW:
            fill_info_tip(reinterpret_cast<NMLVGETINFOTIPW&>(mutable_header));
            return 0;
        default:
            return 0;
    }
}

// A row that a run started now would fail is drawn in red, selected or not.
LRESULT FileTableView::draw_row(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
        if (state_.batch.mark(static_cast<std::size_t>(row)).failing()) {
            draw.clrText = kMarkColour;
            if ((draw.nmcd.uItemState & CDIS_SELECTED) || ListView_GetItemState(table_, row, LVIS_SELECTED)) {
                // The list view would paint the selection's own colours over ours.
                draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
                draw.clrTextBk = kMarkedSelectionColour;
            }
            return CDRF_NEWFONT;
        }
    }
    return CDRF_DODEFAULT;
}

void FileTableView::fill_info_tip(NMLVGETINFOTIPW& tip) const {
    if (tip.iItem < 0) return;
    const std::string mark = mark_text(state_.batch.mark(static_cast<std::size_t>(tip.iItem)));
    if (!mark.empty()) platform::win32::copy_to_list_view(mark, tip.pszText, tip.cchTextMax);
}

void FileTableView::fill_display_text(NMLVDISPINFOW& info) const {
    if (!(info.item.mask & LVIF_TEXT)) return;
    const auto row = static_cast<std::size_t>(info.item.iItem);
    const std::string text = info.item.iSubItem == filelist::Batch::kResult ? result_text(state_.batch.result(row))
                                                                           : state_.batch.cell(row, info.item.iSubItem);
    platform::win32::copy_to_list_view(text, info.item.pszText, info.item.cchTextMax);
}

std::optional<std::size_t> FileTableView::current_row() const {
    int row = ListView_GetNextItem(table_, -1, LVNI_SELECTED);
    if (row < 0) return std::nullopt;
    return static_cast<std::size_t>(row);
}

std::vector<int> FileTableView::column_widths() const {
    std::vector<int> widths;
    for (int i = 0; i < Batch::kColumnCount; ++i) widths.push_back(ListView_GetColumnWidth(table_, i));
    return widths;
}

filelist::TableView FileTableView::table_view(const std::vector<int>& widths) const {
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_POS;
    filelist::TableView view;
    view.column_widths = widths;
    view.scroll_x = GetScrollInfo(table_, SB_HORZ, &scroll) ? scroll.nPos : 0;
    view.table_x = table_x_;
    view.font_points = platform::points_of_design_pixels(kTableFont.pixel_height);
    view.dpi = dpi_;
    view.current_row = current_row();
    return view;
}

void FileTableView::begin_edit_at_pointer() {
    ShowWindow(editor_, SW_HIDE);
    std::vector<int> widths = column_widths();
    if (auto placement = cell_edit_.begin(table_view(widths), pointer_x_)) show_editor(*placement);
}

void FileTableView::begin_edit_from_keyboard() {
    ShowWindow(editor_, SW_HIDE);
    std::vector<int> widths = column_widths();
    auto placement = cell_edit_.begin_in_column(table_view(widths), Batch::kNewName);
    if (!placement) return;
    show_editor(*placement);
    SetFocus(editor_);
    SendMessageW(editor_, EM_SETSEL, 0, -1);
}

void FileTableView::show_editor(const filelist::CellEditor& placement) {
    // The editor keeps its own line below the table; only x, width and height follow the cell.
    RECT rect{};
    GetWindowRect(editor_, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(editor_), reinterpret_cast<POINT*>(&rect), 2);
    MoveWindow(editor_, placement.x, rect.top, placement.width, placement.height, TRUE);
    SendMessageW(editor_, EM_SETREADONLY, placement.read_only, 0);
    platform::win32::set_window_text(editor_, placement.text);
    ShowWindow(editor_, SW_SHOW);
    platform::process_pending_events();
}

void FileTableView::on_editor_changed() {
    if (!IsWindowVisible(editor_) || putting_back_) return;
    if (state_.busy()) {
        // A name typed while a run renames files is not the name the run
        // uses: the editor keeps showing the cell as it is.
        if (auto row = current_row()) {
            putting_back_ = true;
            platform::win32::set_window_text(editor_, state_.batch.cell(*row, cell_edit_.edit_column()));
            putting_back_ = false;
        }
        return;
    }
    const int column = cell_edit_.edit_column();
    cell_edit_.commit(current_row(), platform::win32::window_text(editor_));
    // A new name or extension changes the row's target.
    if ((column == Batch::kNewName || column == Batch::kExtension) && on_cells_edited_) on_cells_edited_();
}

void FileTableView::end_edit(bool keep) {
    ShowWindow(editor_, SW_HIDE);
    if (cell_edit_.end(keep) && on_cells_edited_) on_cells_edited_();
    SetFocus(table_);
}

bool FileTableView::on_key(const platform::win32::KeyPress& key) {
    if (key.focus == editor_) {
        // In the editor Ctrl+Z undoes typing, as in any edit box.
        if (key.key == VK_RETURN || key.key == VK_ESCAPE) {
            end_edit(key.key == VK_RETURN);
            return true;
        }
        return false;
    }
    if (key.focus == table_ && (key.key == VK_F2 || key.key == VK_RETURN)) {
        begin_edit_from_keyboard();
        return true;
    }
    // The menu key and Shift+F10 open the table's menu, as a right click does.
    if (key.focus == table_ && (key.key == VK_APPS || (key.key == VK_F10 && key.shift))) {
        SendMessageW(GetParent(table_), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(table_), MAKELPARAM(-1, -1));
        return true;
    }
    return false;
}

POINT FileTableView::keyboard_menu_point() const {
    RECT rect{};
    GetWindowRect(table_, &rect);
    const int inset = platform::win32::scale_to_dpi(8, dpi_);
    return POINT{rect.left + inset, rect.top + inset};
}

void FileTableView::rows_replaced(std::size_t row_count) {
    // New rows are in the order they were chosen in.
    show_sort_arrow(-1, false);
    changed_first_ = 1;
    changed_last_ = 0;
    ListView_SetItemCountEx(table_, static_cast<int>(row_count), 0);
    InvalidateRect(table_, nullptr, TRUE);
}

// Changes only mark their rows; the rows in view are repainted once when the
// events are next processed, however many changed (100,000 names at once).
// While a long loop renames or names row after row, a repaint comes at most
// every so often: under Wine each costs about as much as a rename.
void FileTableView::row_changed(std::size_t row) {
    if (changed_first_ > changed_last_) {
        changed_first_ = changed_last_ = row;
    } else {
        changed_first_ = std::min(changed_first_, row);
        changed_last_ = std::max(changed_last_, row);
    }
    if (redraw_asked_) return;
    if (state_.busy() && std::chrono::steady_clock::now() - last_redraw_ < kLongLoopRedrawInterval) return;
    redraw_asked_ = true;
    if (ask_redraw_) ask_redraw_();
}

void FileTableView::redraw_changed_rows() {
    redraw_asked_ = false;
    last_redraw_ = std::chrono::steady_clock::now();
    if (changed_first_ > changed_last_) return;
    const std::size_t top = static_cast<std::size_t>(std::max(ListView_GetTopIndex(table_), 0));
    const std::size_t bottom = top + static_cast<std::size_t>(std::max(ListView_GetCountPerPage(table_), 0));
    const std::size_t first = std::max(changed_first_, top), last = std::min(changed_last_, bottom);
    changed_first_ = 1;
    changed_last_ = 0;
    if (first <= last) ListView_RedrawItems(table_, static_cast<int>(first), static_cast<int>(last));
}

void FileTableView::marks_changed() { InvalidateRect(table_, nullptr, FALSE); }

// The selected rows and the focus follow their files to their new places.
void FileTableView::rows_reordered(const std::vector<std::size_t>& moved_from) {
    if (IsWindowVisible(editor_)) {
        ShowWindow(editor_, SW_HIDE);
        cell_edit_.end(true);
    }
    const int selected_count = ListView_GetSelectedCount(table_);
    const int focused = ListView_GetNextItem(table_, -1, LVNI_FOCUSED);
    // Under Wine each selection call walks the list: none is made when
    // nothing needs to move (a table of 100,000 rows, no row selected).
    if (selected_count > 0 || focused >= 0) {
        std::vector<std::size_t> moved_to(moved_from.size());
        for (std::size_t k = 0; k < moved_from.size(); ++k) moved_to[moved_from[k]] = k;
        if (selected_count > 0 && static_cast<std::size_t>(selected_count) < moved_from.size()) {
            std::vector<int> selected;
            for (int row = ListView_GetNextItem(table_, -1, LVNI_SELECTED); row >= 0;
                 row = ListView_GetNextItem(table_, row, LVNI_SELECTED)) {
                selected.push_back(row);
            }
            ListView_SetItemState(table_, -1, 0, LVIS_SELECTED);
            for (int row : selected) {
                ListView_SetItemState(table_, static_cast<int>(moved_to[row]), LVIS_SELECTED, LVIS_SELECTED);
            }
        }
        if (focused >= 0 && static_cast<std::size_t>(focused) < moved_to.size()) {
            const int now = static_cast<int>(moved_to[focused]);
            ListView_SetItemState(table_, now, LVIS_FOCUSED, LVIS_FOCUSED);
            ListView_EnsureVisible(table_, now, FALSE);
        }
    }
    changed_first_ = 1;
    changed_last_ = 0;
    InvalidateRect(table_, nullptr, FALSE);
}

void FileTableView::show_sort_arrow(int column, bool descending) {
    HWND header = ListView_GetHeader(table_);
    for (int i = 0; i < Batch::kColumnCount; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!Header_GetItem(header, i, &item)) continue;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column) item.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
        Header_SetItem(header, i, &item);
    }
}

}  // namespace app
