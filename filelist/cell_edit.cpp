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

// The run reads a row's new name and extension; its old name and directory
// come from the chosen files, whatever the table shows.
bool is_editable_column(int column) { return column == FileTable::kNewName || column == FileTable::kExtension; }

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

namespace {

std::optional<CellEditor> open_editor(AppState& state, const FileTable& table, const TableView& view,
                                      const ColumnHit& hit) {
    state.edit_column = hit.column;
    if (hit.column < FileTable::kOriginalName || hit.column > FileTable::kDirectory) return std::nullopt;
    if (!view.current_row || *view.current_row >= table.row_count()) return std::nullopt;

    CellEditor editor = editor_placement(view, hit);
    editor.text = table.cell(*view.current_row, hit.column);
    editor.read_only = !is_editable_column(hit.column);
    return editor;
}

}  // namespace

std::optional<CellEditor> begin_cell_edit(AppState& state, const FileTable& table, const TableView& view) {
    return open_editor(state, table, view, hit_test_column(view.column_widths, state.pointer_x + view.scroll_x));
}

std::optional<CellEditor> begin_cell_edit_in_column(AppState& state, const FileTable& table, const TableView& view,
                                                    int column) {
    ColumnHit hit;
    if (column > 0 && static_cast<std::size_t>(column) < view.column_widths.size()) {
        hit.column = column;
        for (int i = 0; i < column; ++i) hit.left += view.column_widths[static_cast<std::size_t>(i)];
        hit.width = view.column_widths[static_cast<std::size_t>(column)];
    }
    return open_editor(state, table, view, hit);
}

void commit_cell_edit(AppState& state, FileTable& table, std::optional<std::size_t> current_row, std::string text) {
    if (!current_row || !is_editable_column(state.edit_column)) return;
    if (state.edit_column == FileTable::kNewName && *current_row < state.new_names.size() &&
        *current_row < table.row_count()) {
        state.new_names[*current_row] = text;
    }
    table.set_cell(*current_row, state.edit_column, std::move(text));
}

}  // namespace filelist
