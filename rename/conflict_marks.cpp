#include "rename/conflict_marks.h"

#include "platform/directory_search.h"
#include "rename/rename_conflicts.h"
#include "rename/rename_order.h"
#include "rename/rename_plan.h"

#include <algorithm>
#include <optional>

namespace renaming {

void ConflictMarks::take_listing(const filelist::Batch& batch) {
    names_.clear();
    directory_ = batch.base_directory();
    generation_ = batch.generation();
    listed_ = true;
    platform::list_entries(directory_, [&](std::string_view name) { names_.emplace_back(name); });
}

void ConflictMarks::mark(filelist::AppState& state) {
    filelist::Batch& batch = state.batch;
    if (!listed_ || generation_ != batch.generation() || directory_ != batch.base_directory()) take_listing(batch);
    const auto& names = batch.new_names();
    if (state.rule_confirmed != 1 && std::all_of(names.begin(), names.end(), [](const auto& n) { return n.empty(); })) {
        batch.clear_marks();  // nothing a run would try
        return;
    }
    RenameBatch rows = take_rename_batch(batch, batch.row_count());
    const std::vector<RenameStep> steps = plan_renames(rows);
    std::vector<RowConflict> conflicts = find_conflicts(rows, steps, names_);
    // A row held up only by another row of the batch: would the dependency
    // order get it through?
    std::optional<RenameOrder> order;
    if (std::any_of(conflicts.begin(), conflicts.end(),
                    [](const RowConflict& c) { return c.kind == ConflictKind::HeldByLaterRow; })) {
        order = order_renames(rows, steps, std::vector<bool>(steps.size(), true), names_);
    }
    std::vector<filelist::RowMark> marks(conflicts.size());
    for (std::size_t row = 0; row < conflicts.size(); ++row) {
        const bool unnamed = rows.new_names[row].empty();
        if (unnamed && state.rule_confirmed != 1) continue;
        marks[row].conflict = conflicts[row];
        marks[row].dependency_order_resolves = order && conflicts[row].kind == ConflictKind::HeldByLaterRow &&
                                               order->failing[row].kind == ConflictKind::None;
    }
    batch.set_marks(std::move(marks));
}

}  // namespace renaming
