#include "filelist/cell_edit.h"

#include <utility>

namespace filelist {

ColumnHit hit_test_column(std::span<const int> column_widths, int content_x) {
    int left = 0;
    for (std::size_t i = 1; i < column_widths.size(); ++i) {
        left += column_widths[i - 1];
        int width = column_widths[i];
        if (content_x > left && content_x < left + width) return {static_cast<int>(i), left, width};
    }
    return {};
}

namespace {

// A length designed at 96 DPI, at dpi, rounded to the nearest pixel.
int at_dpi(int design_pixels, int dpi) { return (design_pixels * dpi + 48) / 96; }

}  // namespace

CellEditor editor_placement(const TableView& view, const ColumnHit& hit) {
    CellEditor editor;
    editor.x = hit.left - view.scroll_x + view.table_x + at_dpi(2, view.dpi);
    editor.width = hit.width;
    editor.height = at_dpi(view.font_points * 4 / 3 + 1, view.dpi);
    return editor;
}

std::optional<CellEditor> begin_cell_edit(AppState& state, const FileTable& table, const TableView& view) {
    ColumnHit hit = hit_test_column(view.column_widths, state.pointer_x + view.scroll_x);
    state.edit_column = hit.column;
    if (hit.column < FileTable::kOriginalName || hit.column > FileTable::kDirectory) return std::nullopt;
    if (!view.current_row || *view.current_row >= table.row_count()) return std::nullopt;

    CellEditor editor = editor_placement(view, hit);
    editor.text = table.cell(*view.current_row, hit.column);
    return editor;
}

void commit_cell_edit(const AppState& state, FileTable& table, std::optional<std::size_t> current_row,
                      std::string text) {
    if (!current_row) return;
    if (state.edit_column < FileTable::kOriginalName || state.edit_column > FileTable::kDirectory) return;
    table.set_cell(*current_row, state.edit_column, std::move(text));
}

}  // namespace filelist
