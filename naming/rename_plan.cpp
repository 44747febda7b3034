#include "naming/rename_plan.h"
#include "naming/plain_file_name.h"

#include <algorithm>

namespace naming {

namespace {

// The current name comes from a directory listing; on a system that allows
// any byte in names it can still hold something the other system reads as a
// separator. Such a file is left alone rather than looked for elsewhere.
bool stays_in_directory(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

}  // namespace

RenameBatch take_rename_batch(const filelist::AppState& state, const filelist::FileTable& table, std::size_t count) {
    std::size_t rows = std::min({count, state.file_names.size(), state.new_names.size(), table.row_count()});
    RenameBatch batch;
    batch.directory = state.base_directory;
    batch.old_names.assign(state.file_names.begin(), state.file_names.begin() + static_cast<std::ptrdiff_t>(rows));
    batch.new_names.assign(state.new_names.begin(), state.new_names.begin() + static_cast<std::ptrdiff_t>(rows));
    batch.extensions.reserve(rows);
    for (std::size_t row = 0; row < rows; ++row)
        batch.extensions.push_back(table.cell(row, filelist::FileTable::kExtension));
    return batch;
}

std::vector<RenameStep> plan_renames(const RenameBatch& batch) {
    std::vector<RenameStep> steps(batch.old_names.size());
    for (std::size_t row = 0; row < steps.size(); ++row) {
        const std::string& old_name = batch.old_names[row];
        std::string target_name = batch.new_names[row] + batch.extensions[row];
        RenameStep& step = steps[row];
        step.old_path = batch.directory + old_name;
        step.target_path = batch.directory + target_name;
        if (batch.new_names[row].empty() || !is_plain_file_name(target_name) || !stays_in_directory(old_name)) {
            step.action = RenameAction::Refused;
        } else if (target_name == old_name) {
            step.action = RenameAction::NoChange;
        } else {
            step.action = RenameAction::Rename;
        }
    }
    return steps;
}

}  // namespace naming
