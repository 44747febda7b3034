#pragma once

#include "filelist/app_state.h"
#include "text/natural_order.h"

#include <cstdint>
#include <string>
#include <vector>

namespace filelist {

// Sorting the main table: by a column's text in the order the picker lists
// names (case ignored, runs of digits by value), or by capture time. Rows
// move whole (Batch::reorder); rows that tie keep their order. Nothing is
// sorted while a long loop runs.
class TableSort {
public:
    // A click on a column's header: 原名称, 新名称, 后缀名 or 目录 sorts by it,
    // a second click on the same column reverses the order. False when
    // ignored (another column, no rows, a loop running).
    bool sort_by_column(AppState& state, int column);

    // Rows by their capture time ("YYYYMMDD HHMMSS", one per row), oldest
    // first; rows without one (an empty text) after them, in name order.
    bool sort_by_capture_time(AppState& state, const std::vector<std::string>& times);

    // The column the rows are sorted by now, or -1 (not sorted by a column,
    // or the rows have been replaced since); and whether it is the reverse.
    int sorted_column(const Batch& batch) const;
    bool descending() const { return descending_; }

private:
    std::vector<std::size_t> name_order(const Batch& batch, int column);

    int column_ = -1;
    bool descending_ = false;
    std::uint64_t generation_ = 0;
    text::NameList keys_;
    text::NaturalSorter sorter_;
};

}  // namespace filelist
