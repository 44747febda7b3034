#include "filelist/table_sort.h"

#include <algorithm>

namespace filelist {

namespace {

bool is_sortable_column(int column) { return column >= Batch::kOriginalName && column <= Batch::kDirectory; }

}  // namespace

int TableSort::sorted_column(const Batch& batch) const { return generation_ == batch.generation() ? column_ : -1; }

// The rows in the natural order of a column's texts; equal texts keep their order.
std::vector<std::size_t> TableSort::name_order(const Batch& batch, int column) {
    keys_.clear();
    for (std::size_t row = 0; row < batch.row_count(); ++row) {
        if (column == Batch::kOriginalName) {
            keys_.push_back(batch.file_names()[row]);
        } else {
            keys_.push_back(batch.cell(row, column));
        }
    }
    const std::vector<std::uint32_t>& indexes = sorter_.order(keys_);
    return std::vector<std::size_t>(indexes.begin(), indexes.end());
}

bool TableSort::sort_by_column(AppState& state, int column) {
    Batch& batch = state.batch;
    if (state.busy() || batch.empty() || !is_sortable_column(column)) return false;
    const bool descending = sorted_column(batch) == column && !descending_;
    std::vector<std::size_t> order = name_order(batch, column);
    if (descending) {
        // Reversed, with rows of the same text still in their present order.
        std::reverse(order.begin(), order.end());
        auto same_text = [&](std::size_t a, std::size_t b) {
            return column == Batch::kOriginalName ? batch.file_names()[a] == batch.file_names()[b]
                                                  : batch.cell(a, column) == batch.cell(b, column);
        };
        for (auto run = order.begin(); run != order.end();) {
            auto end = std::find_if_not(run, order.end(), [&](std::size_t r) { return same_text(r, *run); });
            std::reverse(run, end);
            run = end;
        }
    }
    batch.reorder(order);
    column_ = column;
    descending_ = descending;
    generation_ = batch.generation();
    return true;
}

bool TableSort::sort_by_capture_time(AppState& state, const std::vector<std::string>& times) {
    Batch& batch = state.batch;
    if (state.busy() || batch.empty() || times.size() != batch.row_count()) return false;
    std::vector<std::size_t> order = name_order(batch, Batch::kOriginalName);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (times[a].empty() != times[b].empty()) return times[b].empty();
        return times[a] < times[b];
    });
    batch.reorder(order);
    column_ = -1;
    descending_ = false;
    generation_ = batch.generation();
    return true;
}

}  // namespace filelist
