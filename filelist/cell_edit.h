#pragma once

#include "filelist/batch.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace filelist {

// The column strictly under a point of the table's content (the pointer's
// client x plus the horizontal scroll): left < x < left + width. Column 0 and
// the boundaries themselves are never hit; column is -1 then.
struct ColumnHit {
    int column = -1;
    int left = 0;  // left edge of the column in content pixels
    int width = 0;
};
ColumnHit hit_test_column(std::span<const int> column_widths, int content_x);

// A column chosen without the pointer (F2 or Enter on a row), as if hit.
ColumnHit column_at(std::span<const int> column_widths, int column);

// What the table shows at the moment a row is activated.
struct TableView {
    std::span<const int> column_widths;
    int scroll_x = 0;      // horizontal scroll, in pixels
    int table_x = 0;       // table's left edge in the window's client area
    int font_points = 12;  // size of the table's font
    int dpi = 96;          // the display's scale, 96 for 100 %
    std::optional<std::size_t> current_row;
};

// Where the in-place editor goes and what it shows.
struct CellEditor {
    int x = 0;  // in the window's client area; y stays at the editor's design position
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

// The in-place editor of the main table, as the batch sees it: which column
// is being edited, and what each cell it changed held before, so that Esc can
// put them back. A new set of rows forgets every pending revert: they belong
// to files no longer shown.
class CellEdit {
public:
    explicit CellEdit(Batch& batch) : batch_(batch) {}

    // The column being edited: 1 to 4, or -1 for none (0 before any edit).
    int edit_column() const { return edit_column_; }

    // Row activation with the pointer at pointer_client_x (the table's client pixels): hit-tests
    // it and tells where to show the editor over columns 原名称 to 目录.
    // Nothing is shown for 序, 处理结果, a boundary, or without a current row.
    std::optional<CellEditor> begin(const TableView& view, int pointer_client_x);
    // The same for a column chosen from the keyboard.
    std::optional<CellEditor> begin_in_column(const TableView& view, int column);

    // Editor text changed: written into the current row's cell of the edited
    // column, 新名称 (the row's new name, the one the run gives the file) or
    // 后缀名. Does nothing without a current row or for a read-only column.
    void commit(std::optional<std::size_t> current_row, std::string text);

    // Enter keeps the edits; Esc puts every cell the editor changed back as it
    // was. True when cells were put back.
    bool end(bool keep);

private:
    std::optional<CellEditor> open(const TableView& view, const ColumnHit& hit);
    void forget_edits_of_other_rows();

    struct EditedCell {
        std::uint32_t row_id;  // the row's file, wherever a sort has put it
        int column;
        std::string before;
    };
    Batch& batch_;
    int edit_column_ = 0;
    std::vector<EditedCell> edited_;
    std::uint64_t edited_generation_ = 0;  // the rows the reverts belong to
};

}  // namespace filelist
