#pragma once

#include "filelist/batch.h"

#include <cstddef>
#include <string>
#include <vector>

namespace renaming {

// What a rename run works on, copied when it starts, so that nothing done in
// the windows while it runs changes which files it renames or what to.
struct RenameBatch {
    std::string directory;                // ends in the path separator
    std::vector<std::string> old_names;   // current names, with extension
    std::vector<std::string> new_names;   // new base names, without extension
    std::vector<std::string> extensions;  // as the 后缀名 cells show them
};

// The first count rows of the batch (all of them when it holds fewer).
RenameBatch take_rename_batch(const filelist::Batch& batch, std::size_t count);

enum class RenameAction {
    NoChange,  // the target is the current path: nothing to do
    Refused,   // the target is no plain file name in the directory: never tried
    Rename,    // ask the file system
};

struct RenameStep {
    std::string old_path;
    std::string target_path;
    RenameAction action = RenameAction::Refused;
};

// One step per row of the batch, in row order. A row whose target name (new
// name + extension) is its current name needs no change. Otherwise a row is
// refused when its new name is empty, when the target name is not a plain
// file name, or when the current name could reach outside the directory.
std::vector<RenameStep> plan_renames(const RenameBatch& batch);

}  // namespace renaming
