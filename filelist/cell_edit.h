#pragma once

#include "filelist/app_state.h"
#include "filelist/file_table.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace filelist {

// The column strictly under a point of the table's content (the pointer's
// client x plus the horizontal scroll): left < x < left + width. Column 0 and
// the boundaries themselves are never hit; column is -1 then.
struct ColumnHit {
    int column = -1;
    int left = 0;   // left edge of the column in content pixels
    int width = 0;
};
ColumnHit hit_test_column(std::span<const int> column_widths, int content_x);

// Pointer moved over the table: remembers its x (client pixels) for the hit
// test of the next row activation. y plays no part.
inline void track_pointer(AppState& state, int x, int /*y*/) { state.pointer_x = x; }

// What the table shows at the moment a row is activated.
struct TableView {
    std::span<const int> column_widths;
    int scroll_x = 0;                      // horizontal scroll, in pixels
    int table_x = 0;                       // table's left edge in the window's client area
    int font_points = 12;                  // size of the table's font
    int dpi = 96;                          // the display's scale, 96 for 100 %
    std::optional<std::size_t> current_row;
};

// Where the in-place editor goes and what it shows.
struct CellEditor {
    int x = 0;       // in the window's client area; y stays at the editor's design position
    int width = 0;
    int height = 0;
    std::string text;
    bool read_only = false;  // 原名称 and 目录: the run never uses them, so they can be copied, not changed
};

// Where the editor goes over a column that was hit, scaled to the display:
// just right of the column's left edge and the table's border, as wide as
// the column, one and a third of the font's point size high plus one (17
// pixels for 12 points at 96 DPI). The text is left empty.
CellEditor editor_placement(const TableView& view, const ColumnHit& hit);

// Row activated: hit-tests state.pointer_x, sets state.edit_column to the
// column hit (or -1), and tells where to show the editor over columns 原名称 to 目录. Nothing
// is shown for 序, 处理结果, a boundary, or when no row is current.
std::optional<CellEditor> begin_cell_edit(AppState& state, const FileTable& table, const TableView& view);

// The same for a column chosen without the pointer (F2 or Enter on a row):
// the editor goes where a row activation over that column puts it.
std::optional<CellEditor> begin_cell_edit_in_column(AppState& state, const FileTable& table, const TableView& view,
                                                    int column);

// Editor text changed: copies it into the current row's cell of the column
// being edited, 新名称 or 后缀名; an edited 新名称 is also the row's new name,
// the one the run gives the file. Does nothing without a current row, for a
// read-only column, or without an edited column.
void commit_cell_edit(AppState& state, FileTable& table, std::optional<std::size_t> current_row, std::string text);

}  // namespace filelist
