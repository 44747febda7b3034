#pragma once

#include "rename/directory_snapshot.h"
#include "rename/journal_format.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace renaming {

// Why a rename could not be undone.
enum class UndoResult {
    Undone,
    NotThatFile,   // a directory, or another file, is under the new name now
    Missing,       // nothing is under the new name
    OldNameTaken,  // something has taken the old name meanwhile; it is never replaced
    RenameFailed,  // the file system refused
};

// The reason as the history shows it after 撤销失败; empty for Undone.
std::string undo_failure_text(UndoResult result);

// Renames the steps given back, in the order given (the reverse of the order
// they were made in): each only when the very file the step renamed is under
// its new name and its old name is free; nothing is ever replaced. The disk
// is listed once and kept up to date as files move. done hears of each
// step's result as it comes (and again of one the final check turns into a
// failure); the undo stops early when it answers false.
using UndoProgress = std::function<bool(std::size_t step, UndoResult result)>;
std::vector<UndoResult> undo_steps(const std::string& directory, const std::vector<JournalStep>& steps,
                                   const std::vector<std::size_t>& order, const UndoProgress& done);

}  // namespace renaming
