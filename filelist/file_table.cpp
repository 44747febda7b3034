#include "filelist/file_table.h"

#include <utility>

namespace filelist {

namespace {
const std::string kNoText;
}

const std::string& FileTable::cell(std::size_t row, int column) const {
    if (row >= rows_.size() || column < 0 || column >= kColumnCount) return kNoText;
    return rows_[row][static_cast<std::size_t>(column)];
}

bool FileTable::set_cell(std::size_t row, int column, std::string text) {
    if (row >= rows_.size() || column < 0 || column >= kColumnCount) return false;
    rows_[row][static_cast<std::size_t>(column)] = std::move(text);
    if (observer_) observer_->row_changed(row);
    return true;
}

void FileTable::replace_rows(std::vector<Row> rows) {
    rows_ = std::move(rows);
    ++generation_;
    if (observer_) observer_->rows_replaced(rows_.size());
}

}  // namespace filelist
