#pragma once

#include "filelist/app_state.h"
#include "filelist/cell_edit.h"
#include "platform/win32/window_base.h"
#include "platform/win32/window_layout.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace app {

// The font of the file table: 宋体 at 16 pixels (12 points).
inline constexpr platform::win32::FontStyle kTableFont{L"宋体", 16};

// The main window's file table (超级列表框1), an owner-data list view that
// shows the batch, and its in-place editor (编辑框1). It only displays: every
// cell is read from the batch, and an edit goes through the portable cell
// editor. Changes are repainted once per round of window events, paced while
// a long loop runs.
class FileTableView : private filelist::Batch::Observer {
public:
    // ask_redraw asks for redraw_changed_rows when the window's events are
    // next processed; on_cells_edited hears of every new name or extension
    // typed or put back; on_header_click of a click on a column's header.
    FileTableView(filelist::AppState& state, std::function<void()> ask_redraw, std::function<void()> on_cells_edited,
                  std::function<void(int column)> on_header_click);
    ~FileTableView();
    FileTableView(const FileTableView&) = delete;
    FileTableView& operator=(const FileTableView&) = delete;

    // Binds the view to the window's list view and editor, made from its
    // layout at dpi; table_x is the table's left edge in the window.
    void attach(HWND table, HWND editor, int dpi, int table_x);
    // The window was laid out again at another DPI.
    void lay_out(int dpi, int table_x);

    LRESULT on_notify(const NMHDR& header);
    // 编辑框1's text changed.
    void on_editor_changed();
    // A key before its control sees it: Enter and Esc in the editor, F2 and
    // Enter on a row. True when taken.
    bool on_key(const platform::win32::KeyPress& key);

    // Repaints the changed rows in view, once for all changes since the last time.
    void redraw_changed_rows();

    // The header's sort arrow: up on column when ascending, down when
    // descending; none at all for column -1.
    void show_sort_arrow(int column, bool descending);

    // Where the menu key opens the table's menu, on the screen.
    POINT keyboard_menu_point() const;

private:
    // Batch::Observer
    void rows_replaced(std::size_t row_count) override;
    void row_changed(std::size_t row) override;
    void marks_changed() override;
    void rows_reordered(const std::vector<std::size_t>& moved_from) override;

    static LRESULT CALLBACK table_proc(HWND table, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                       DWORD_PTR self);
    filelist::TableView table_view(const std::vector<int>& widths) const;
    std::vector<int> column_widths() const;
    std::optional<std::size_t> current_row() const;
    void begin_edit_at_pointer();
    void begin_edit_from_keyboard();
    void show_editor(const filelist::CellEditor& placement);
    void end_edit(bool keep);
    void place_open_editor();
    LRESULT draw_row(NMLVCUSTOMDRAW& draw) const;
    void fill_info_tip(NMLVGETINFOTIPW& tip) const;
    void fill_display_text(NMLVDISPINFOW& info) const;

    filelist::AppState& state_;
    filelist::CellEdit cell_edit_;
    std::function<void()> ask_redraw_;
    std::function<void()> on_cells_edited_;
    std::function<void(int)> on_header_click_;
    HWND table_ = nullptr;
    HWND editor_ = nullptr;
    int dpi_ = platform::win32::kDesignDpi;  // the DPI the column widths were last set for
    int table_x_ = 0;
    int pointer_x_ = 0;  // last pointer x over the table, in its client pixels
    // Rows changed since the table was last repainted, first and last; none when first > last.
    std::size_t changed_first_ = 1, changed_last_ = 0;
    bool redraw_asked_ = false;
    bool putting_back_ = false;  // the editor's text is being set back to its cell
    std::chrono::steady_clock::time_point last_redraw_{};
};

}  // namespace app
