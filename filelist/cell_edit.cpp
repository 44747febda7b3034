#include "filelist/cell_edit.h"

#include "platform/display_scale.h"

#include <algorithm>
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

ColumnHit column_at(std::span<const int> column_widths, int column) {
    ColumnHit hit;
    if (column <= 0 || static_cast<std::size_t>(column) >= column_widths.size()) return hit;
    hit.column = column;
    for (int i = 0; i < column; ++i) hit.left += column_widths[static_cast<std::size_t>(i)];
    hit.width = column_widths[static_cast<std::size_t>(column)];
    return hit;
}

CellEditor editor_placement(const TableView& view, const ColumnHit& hit) {
    CellEditor editor;
    editor.x = hit.left - view.scroll_x + view.table_x + platform::scale_to_dpi(2, view.dpi);
    editor.width = hit.width;
    editor.height = platform::scale_to_dpi(view.font_points * 4 / 3 + 1, view.dpi);
    return editor;
}

namespace {

// The run reads a row's new name and extension; its old name and directory
// come from the chosen files, whatever the table shows.
bool is_editable_column(int column) { return column == Batch::kNewName || column == Batch::kExtension; }

}  // namespace

std::optional<CellEditor> CellEdit::begin(const TableView& view, int pointer_client_x) {
    return open(view, hit_test_column(view.column_widths, pointer_client_x + view.scroll_x));
}

std::optional<CellEditor> CellEdit::begin_in_column(const TableView& view, int column) {
    return open(view, column_at(view.column_widths, column));
}

std::optional<CellEditor> CellEdit::open(const TableView& view, const ColumnHit& hit) {
    // A new opening starts a new edit: what Esc puts back is only what this
    // opening changes.
    edited_.clear();
    edited_generation_ = batch_.generation();
    edit_column_ = hit.column;
    if (hit.column < Batch::kOriginalName || hit.column > Batch::kDirectory) return std::nullopt;
    if (!view.current_row || *view.current_row >= batch_.row_count()) return std::nullopt;

    CellEditor editor = editor_placement(view, hit);
    editor.text = batch_.cell(*view.current_row, hit.column);
    editor.read_only = !is_editable_column(hit.column);
    return editor;
}

void CellEdit::forget_edits_of_other_rows() {
    if (edited_generation_ != batch_.generation()) edited_.clear();
    edited_generation_ = batch_.generation();
}

void CellEdit::commit(std::optional<std::size_t> current_row, std::string text) {
    forget_edits_of_other_rows();
    if (!current_row || *current_row >= batch_.row_count() || !is_editable_column(edit_column_)) return;
    const std::size_t row = *current_row;
    const std::uint32_t id = batch_.row_id(row);
    bool seen = std::any_of(edited_.begin(), edited_.end(),
                            [&](const EditedCell& e) { return e.row_id == id && e.column == edit_column_; });
    if (!seen) edited_.push_back({id, edit_column_, batch_.cell(row, edit_column_)});
    if (edit_column_ == Batch::kNewName) {
        batch_.set_new_name(row, std::move(text));
    } else {
        batch_.set_extension(row, std::move(text));
    }
}

bool CellEdit::end(bool keep) {
    forget_edits_of_other_rows();
    std::vector<EditedCell> edited = std::exchange(edited_, {});
    if (keep || edited.empty()) return false;
    for (auto it = edited.rbegin(); it != edited.rend(); ++it) {
        const std::optional<std::size_t> row = batch_.row_of(it->row_id);
        if (!row) continue;
        if (it->column == Batch::kNewName) {
            batch_.set_new_name(*row, std::move(it->before));
        } else {
            batch_.set_extension(*row, std::move(it->before));
        }
    }
    return true;
}

}  // namespace filelist
