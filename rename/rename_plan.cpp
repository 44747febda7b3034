#include "rename/rename_plan.h"
#include "rename/plain_file_name.h"

#include <algorithm>

namespace renaming {

namespace {

// The current name comes from a directory listing; on a system that allows
// any byte in names it can still hold something the other system reads as a
// separator. Such a file is left alone rather than looked for elsewhere.
bool stays_in_directory(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

}  // namespace

RenameBatch take_rename_batch(const filelist::Batch& rows, std::size_t count) {
    const std::size_t n = std::min(count, rows.row_count());
    const auto first_n = [n](const std::vector<std::string>& list) {
        return std::vector<std::string>(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(n));
    };
    RenameBatch batch;
    batch.directory = rows.base_directory();
    batch.old_names = first_n(rows.file_names());
    batch.new_names = first_n(rows.new_names());
    batch.extensions.reserve(n);
    for (std::size_t row = 0; row < n; ++row) batch.extensions.push_back(rows.extension(row));
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
        // A name left as it is needs nothing, even an empty base name (".jpg").
        if (target_name == old_name && stays_in_directory(old_name)) {
            step.action = RenameAction::NoChange;
        } else if (batch.new_names[row].empty() || !is_plain_file_name(target_name) || !stays_in_directory(old_name)) {
            step.action = RenameAction::Refused;
        } else {
            step.action = RenameAction::Rename;
        }
    }
    return steps;
}

}  // namespace renaming
