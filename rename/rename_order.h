#pragma once

#include "rename/rename_conflicts.h"
#include "rename/rename_plan.h"

#include <cstddef>
#include <string>
#include <vector>

namespace renaming {

// One rename of a run in dependency order.
struct OrderedRename {
    std::size_t row;
    std::string from;  // names in the batch's directory
    std::string to;
    bool to_temporary = false;
    std::size_t cycle = 0;  // 0, or the cycle it breaks (counted from 1): its files go back together
};

struct RenameOrder {
    std::vector<OrderedRename> renames;  // in the order to make them
    // Why each row fails without a try (None for the rows renamed).
    std::vector<RowConflict> failing;
};

// The renames of a batch in an order that frees each target before it is
// taken: a row whose target is the current name of another row's file goes
// after that row, so a shift needs no temporary name; a cycle (a swap, or
// A→B→C→A) is broken by moving one of its files first to a temporary name
// that exists nowhere in the directory listing nor among the batch's names.
// Rows fail, as in table order, whose target a file outside the batch holds,
// that want a target an earlier row of the table wants too, whose name is
// refused, or whose file is gone; so do the rows that would need the name
// of a file that stays. Only the rows marked movable are renamed (a row whose
// old name holds a directory is not). Names compare as Windows compares them.
RenameOrder order_renames(const RenameBatch& batch, const std::vector<RenameStep>& steps,
                          const std::vector<bool>& movable, const std::vector<std::string>& directory_listing);

}  // namespace renaming
