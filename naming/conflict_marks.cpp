#include "naming/conflict_marks.h"

#include "naming/rename_conflicts.h"
#include "naming/rename_plan.h"
#include "platform/directory_search.h"

namespace naming {

void ConflictMarks::take_listing(const filelist::MainModel& model) {
    listing_.clear();
    platform::list_entries(model.state.base_directory, [&](std::string_view name) { listing_.emplace_back(name); });
}

void ConflictMarks::mark(filelist::MainModel& model) const {
    RenameBatch batch = take_rename_batch(model.state, model.table, model.state.file_names.size());
    std::vector<RowConflict> conflicts = find_conflicts(batch, plan_renames(batch), listing_);
    std::vector<std::string> warnings(model.table.row_count());
    for (std::size_t row = 0; row < conflicts.size() && row < warnings.size(); ++row) {
        warnings[row] = conflict_text(conflicts[row]);
    }
    model.table.set_warnings(std::move(warnings));
}

void ConflictMarks::clear(filelist::MainModel& model) { model.table.set_warnings({}); }

}  // namespace naming
