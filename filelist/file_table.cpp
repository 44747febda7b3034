#include "filelist/file_table.h"

#include <algorithm>
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

const std::string& FileTable::warning(std::size_t row) const {
    return row < warnings_.size() ? warnings_[row] : kNoText;
}

void FileTable::set_warnings(std::vector<std::string> warnings) {
    if (warnings.empty() && warnings_.empty()) return;
    warnings_ = std::move(warnings);
    warnings_.resize(std::min(warnings_.size(), rows_.size()));
    if (observer_) observer_->warnings_changed();
}

void FileTable::replace_rows(std::vector<Row> rows) {
    rows_ = std::move(rows);
    warnings_.clear();
    ++generation_;
    if (observer_) observer_->rows_replaced(rows_.size());
}

}  // namespace filelist
