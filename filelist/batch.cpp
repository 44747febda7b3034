#include "filelist/batch.h"
#include "filelist/split_name.h"

#include <algorithm>
#include <utility>

namespace filelist {

namespace {
const std::string kNoText;
}  // namespace

const std::string& Batch::extension(std::size_t row) const { return row < extensions_.size() ? extensions_[row] : kNoText; }
RowOutcome Batch::result(std::size_t row) const { return row < results_.size() ? results_[row] : RowOutcome{}; }
RowMark Batch::mark(std::size_t row) const { return row < marks_.size() ? marks_[row] : RowMark{}; }

std::string Batch::cell(std::size_t row, int column) const {
    if (row >= row_count()) return {};
    switch (column) {
        case kNumber:
            return std::to_string(row + 1);
        case kOriginalName:
            return split_name(file_names_[row]).base;
        case kNewName:
            return new_names_[row];
        case kExtension:
            return extensions_[row];
        case kDirectory:
            return base_directory_;
        default:
            return {};
    }
}

void Batch::fill_list(std::string base_directory, std::vector<std::string> file_names) {
    base_directory_ = std::move(base_directory);
    file_names_ = std::move(file_names);
    const std::size_t n = file_names_.size();
    new_names_.assign(n, std::string());
    results_.assign(n, RowOutcome{});
    marks_.clear();
    extensions_.clear();
    extensions_.reserve(n);
    for (const std::string& name : file_names_) extensions_.push_back(split_name(name).extension);
    row_ids_.resize(n);
    for (std::size_t k = 0; k < n; ++k) row_ids_[k] = static_cast<std::uint32_t>(k);
    row_of_id_ = row_ids_;
    ++generation_;
    for (Observer* observer : observers_) observer->rows_replaced(n);
}

void Batch::clear() { fill_list(base_directory_, {}); }

bool Batch::set_new_name(std::size_t row, std::string name) {
    if (row >= row_count()) return false;
    new_names_[row] = std::move(name);
    tell_row_changed(row);
    return true;
}

bool Batch::set_extension(std::size_t row, std::string extension) {
    if (row >= row_count()) return false;
    extensions_[row] = std::move(extension);
    tell_row_changed(row);
    return true;
}

bool Batch::set_result(std::size_t row, RowOutcome result) {
    if (row >= row_count()) return false;
    results_[row] = result;
    tell_row_changed(row);
    return true;
}

namespace {
// Moves values into the new order.
template <typename T>
void move_into_order(std::vector<T>& values, const std::vector<std::size_t>& order) {
    if (values.empty()) return;
    // A column of empty cells (no new names or results yet) stays as it is.
    if (std::all_of(values.begin(), values.end(), [](const T& v) { return v == T{}; })) return;
    std::vector<T> ordered;
    ordered.reserve(values.size());
    for (std::size_t from : order) ordered.push_back(std::move(values[from]));
    values.swap(ordered);
}
}  // namespace

bool Batch::reorder(const std::vector<std::size_t>& order) {
    const std::size_t n = row_count();
    if (order.size() != n) return false;
    std::vector<bool> seen(n, false);
    for (std::size_t from : order) {
        if (from >= n || seen[from]) return false;
        seen[from] = true;
    }
    move_into_order(file_names_, order);
    move_into_order(new_names_, order);
    move_into_order(extensions_, order);
    move_into_order(results_, order);
    move_into_order(marks_, order);
    move_into_order(row_ids_, order);
    for (std::size_t k = 0; k < n; ++k) row_of_id_[row_ids_[k]] = static_cast<std::uint32_t>(k);
    for (Observer* observer : observers_) observer->rows_reordered(order);
    return true;
}

std::optional<std::size_t> Batch::row_of(std::uint32_t id) const {
    if (id >= row_of_id_.size()) return std::nullopt;
    return row_of_id_[id];
}

void Batch::set_marks(std::vector<RowMark> marks) {
    bool none = std::all_of(marks.begin(), marks.end(), [](const RowMark& m) { return !m.failing(); });
    if (none && marks_.empty()) return;
    if (none) {
        marks_.clear();
    } else {
        marks_ = std::move(marks);
        marks_.resize(row_count());
    }
    for (Observer* observer : observers_) observer->marks_changed();
}

void Batch::add_observer(Observer* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Batch::remove_observer(Observer* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Batch::tell_row_changed(std::size_t row) {
    for (Observer* observer : observers_) observer->row_changed(row);
}

}  // namespace filelist
