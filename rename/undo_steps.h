#pragma once

#include "filelist/row_outcome.h"
#include "rename/directory_snapshot.h"
#include "rename/journal_format.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace renaming {

// Renames the steps given back, in the order given (the reverse of the order
// they were made in): each only when the very file the step renamed is under
// its new name and its old name is free; nothing is ever replaced. The disk
// is listed once and kept up to date as files move. A step whose very file
// is back under its old name already (an undo cut short before it wrote so)
// counts as undone. done hears of each step's outcome as it comes (Undone,
// or UndoFailed with why; and again of one the final check turns into a
// failure); the undo stops early when it answers false.
using UndoProgress = std::function<bool(std::size_t step, const filelist::RowOutcome& outcome)>;
std::vector<filelist::RowOutcome> undo_steps(const std::string& directory, const std::vector<JournalStep>& steps,
                                             const std::vector<std::size_t>& order, const UndoProgress& done);

}  // namespace renaming
