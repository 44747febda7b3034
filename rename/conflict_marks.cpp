#include "rename/conflict_marks.h"

#include "platform/directory_search.h"
#include "rename/rename_conflicts.h"
#include "rename/rename_plan.h"

namespace renaming {

void ConflictMarks::take_listing(const filelist::Batch& batch) {
    listing_.clear();
    platform::list_entries(batch.base_directory(), [&](std::string_view name) { listing_.emplace_back(name); });
}

void ConflictMarks::mark(filelist::Batch& batch) const {
    RenameBatch rows = take_rename_batch(batch, batch.row_count());
    std::vector<RowConflict> conflicts = find_conflicts(rows, plan_renames(rows), listing_);
    std::vector<std::string> marks(conflicts.size());
    for (std::size_t row = 0; row < conflicts.size(); ++row) marks[row] = conflict_text(conflicts[row]);
    batch.set_marks(std::move(marks));
}

}  // namespace renaming
